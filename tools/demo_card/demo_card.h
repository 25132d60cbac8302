// The demo memory card: trips through Berlin Mitte recorded by a front and a rear camera, each trip
// by a camera of another telemetry layout.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "records.h"

struct DemoFile {
    std::filesystem::path path;
    TelemetryLayout layout = kLayoutNone;
    bool rear = false;
    int64_t startTime = 0;
    int seconds = 0;
};

// "%04d_%02d_%02d_%02d%02d%02d_%02d" of the local start time, "_b" before the extension for the rear file.
std::string RecordingName(int64_t startTime, int number, bool rear);
// The rear camera's folder: "_b" before the last character of the front folder's name.
std::string RearFolderName(const std::string& frontFolder);

struct DemoCardOptions {
    int segmentSeconds = 30;
    int width = 640;
    int height = 360;
};

// Writes every recording of the card under `dir` (front files in "Movie", rear files in its rear folder).
std::vector<DemoFile> WriteDemoCard(const std::filesystem::path& dir, std::ostream& log,
                                    const DemoCardOptions& options = {});
