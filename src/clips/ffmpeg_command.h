// The ffmpeg command line of a clip export: inputs cut to the span, the layout as one filter
// graph, the burned-in texts, the subtitle track and the progress report on standard output.
// Plain rules returning values; running the program is clip_export_job's part.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "clip_request.h"

// The files the export writes before ffmpeg runs, and the one ffmpeg writes.
struct ClipWorkFiles {
    std::filesystem::path srt;    // the cues of the subtitle track; empty: no subtitle track
    std::filesystem::path ass;    // the cues to burn in (kOverlay); empty: nothing burned in
    std::filesystem::path output; // the temporary MP4 beside the request's output
};

struct ClipSize {
    int width = 0, height = 0;
};
// The picture of a re-encoded clip: the front's size for "front" and "pip", the rear's for
// "rear", and the front's width by half its height for "side". Always even.
ClipSize ClipPictureSize(const ClipRequest& request);

// How one camera's recording is read for the clip.
struct CameraCut {
    int64_t seekMs = 0;     // where reading starts in the recording
    int64_t leadMs = 0;     // black (re-encoded) or empty (copy) time before its picture starts
    int64_t durationMs = 0; // how much of it is read; 0 or less: it has nothing in the span
};
CameraCut CutOf(const ClipCamera& camera, int64_t fromMs, int64_t toMs);

// Whether the layout shows the front and the rear recording.
bool LayoutUsesFront(ClipLayout layout);
bool LayoutUsesRear(ClipLayout layout);

// The arguments after the program name.
std::vector<std::string> FfmpegClipArguments(const ClipRequest& request, const ClipWorkFiles& files);

// A value inside a filter graph's option: escaped for the option ("\", "'", ":") and then for
// the graph ("\", "'", "[", "]", ",", ";"), so any path survives both parsers.
std::string FilterOptionEscaped(std::string_view value);

// "12.345": milliseconds as the seconds ffmpeg reads, without the locale's decimal comma.
std::string SecondsText(int64_t ms);
