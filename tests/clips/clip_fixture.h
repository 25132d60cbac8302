// A front and rear recording pair (layout 2, ten seconds, the rear starting a second later) made
// once per test program with the fixture writer, and what ffprobe and ffmpeg read from a clip.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "fixture_writer.h"

struct RecordingPair {
    std::filesystem::path front, rear;
    fixtures::Telemetry telemetry; // the front's
};
const RecordingPair& FixturePair();

// Standard output of a shell command line and its exit status.
struct CommandRun {
    int status = -1;
    std::string out;
};
CommandRun RunCommand(const std::string& command);

// "codec_type:codec_name" of each stream, and the duration in seconds.
std::vector<std::string> StreamsOf(const std::filesystem::path& clip);
double DurationOf(const std::filesystem::path& clip);
std::string PictureSizeOf(const std::filesystem::path& clip); // "320x120" of the first video stream
// The first subtitle track as SRT text, lines ended by "\n".
std::string SubtitlesOf(const std::filesystem::path& clip);

// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);

// A stand-in "ffmpeg" in `folder` that writes "partial" into its last argument and then sleeps.
std::filesystem::path SlowFakeFfmpeg(const std::filesystem::path& folder);
