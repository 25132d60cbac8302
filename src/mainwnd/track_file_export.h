// The track files of the window's export commands: GPX, CSV and SRT of the open recording (or of
// each recording of a trip, in driving order), named like the KML export of the same recording and
// written into a folder of their own beside it. Reads and writes files: call it off the UI thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "records.h"

enum class TrackFileKind { kGpx, kCsv, kSrt };

// A recording as the catalog describes it; the telemetry is read again from its file.
struct TrackFileSource {
    std::filesystem::path path;
    MediaInfo info;
};

struct TrackFileOutcome {
    enum class Status { kWritten, kExists, kFailed };
    Status status = Status::kFailed;
    std::filesystem::path path; // kWritten, kExists: the file
    std::string message;        // kFailed: what went wrong, in words
};

// The documents folder's "Halvorn Veltrix/GPX" (CSV, SRT); empty without a documents folder.
std::filesystem::path TrackFileFolder(const std::filesystem::path& documents, TrackFileKind kind);
// ".GPX", ".CSV", ".SRT".
const char* TrackFileExtension(TrackFileKind kind);

// Writes the file for `sources` into `folder` (created when missing). An existing file is kept
// (kExists) unless `replace`: the user agreed to replace it. SRT: one cue per second of each
// recording, the later recordings of a trip following the earlier ones' durations.
TrackFileOutcome ExportTrackFile(TrackFileKind kind, const std::vector<TrackFileSource>& sources,
                                 const std::filesystem::path& folder, bool replace);
