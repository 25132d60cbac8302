// What the overlay of a clip is made from: the recording's start time and its GPS and G-sensor
// series with their rates, taken from the viewer's own readers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "records.h"

struct RecordingTelemetry;

struct ClipTelemetry {
    int64_t startTime = 0;                 // seconds since 1970; 0: the readers did not find it
    TelemetryLayout layout = kLayoutNone;  // layout 0: fixes in NMEA form
    std::vector<GpsFix> fixes;             // fix i lies i / gpsRate seconds after the start
    double gpsRate = 1.0;                  // fixes per second
    std::vector<GSensorSample> gsensor;    // sample j lies j / gsensorRate seconds after the start
    double gsensorRate = 0.0;              // samples per second; 0: no sample has a time
    uint8_t gsensorFullScale = 8;          // G of a full-scale reading
};

// The series of `telemetry` (moved out) with the rates and start time of `info`. The G-sensor
// rate is the recording's own, else the samples spread over its duration.
ClipTelemetry MakeClipTelemetry(const MediaInfo& info, RecordingTelemetry&& telemetry);

// A recording examined by its reader, as the catalog does.
struct ExaminedRecording {
    std::filesystem::path path;
    MediaInfo info;
};
// Empty, with `error` in words, when no reader accepts the file.
std::optional<ExaminedRecording> ExamineRecording(const std::filesystem::path& path, std::string& error);

// The telemetry of an examined recording; a recording without telemetry (or whose telemetry
// cannot be read) gives its start time and empty series, which still make cues of date and time.
ClipTelemetry LoadClipTelemetry(ExaminedRecording& recording);
