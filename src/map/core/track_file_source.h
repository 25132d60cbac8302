// What the track files (GPX, CSV) are written from: one recording's telemetry as loaded, with the
// rates that place its records in time. A trip is a list of these in driving order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "records.h"

struct RecordingTelemetry;

struct TrackFileRecording {
    std::string fileName;                 // as the file system spells it (any bytes); written as valid UTF-8
    int64_t startTime = 0;                // seconds since 1970, local wall clock
    TelemetryLayout layout = kLayoutNone; // layout 0: the fixes are the file's raw NMEA block
    std::span<const GpsFix> fixes;
    std::span<const GSensorSample> gsensor;
    std::span<const VehicleSample> vehicles;
    double gpsRate = 1;           // fixes per second (fix i lies i / gpsRate s after the start)
    uint32_t gsensorRate = 0;     // samples per second; 0: the samples have no time
    uint8_t gsensorFullScale = 0; // in G, 0 counts as 8
    uint32_t vehicleRate = 0;     // vehicle samples per second; 0: none are placed
};

// The recording at `path` as the window loaded it; the spans point into `telemetry`, which must
// outlive the result.
TrackFileRecording TrackFileRecordingOf(const std::filesystem::path& path, const MediaInfo& info,
                                        const RecordingTelemetry& telemetry);

// The name of a track file beside the KML export's: "<stem>_%Y_%m_%d_%H-%M-%S" of the recording (the
// first of a trip) and `extension` (".GPX", ".CSV").
std::string TrackFileName(const std::string& recordingFileName, int64_t startTime,
                          std::string_view extension);

// `text` into `path`: written under a temporary name in the same folder and renamed over `path`
// once complete, so a failed write leaves no file and keeps an existing one as it was.
// Empty on success, else the reason in words.
std::string SaveTrackFile(const std::filesystem::path& path, std::string_view text);
