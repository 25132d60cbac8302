// A card written by the fixture writer: two front/rear pairs in two groups, a rear recording
// without its front file and a file named like a recording that is no movie.
#pragma once

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "fixture_writer.h"

namespace scan_test {

namespace fs = std::filesystem;

inline std::string RecordingName(int64_t start, int sequence, const char* tail) {
    const time_t time = static_cast<time_t>(start);
    std::tm wall{};
    localtime_r(&time, &wall);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s", wall.tm_year + 1900,
                  wall.tm_mon + 1, wall.tm_mday, wall.tm_hour, wall.tm_min, wall.tm_sec, sequence, tail);
    return name;
}

struct FixtureCard {
    static constexpr int64_t kStart = 1717243200; // 2024-06-01 14:00:00 in Berlin

    explicit FixtureCard(const std::string& name) : root(fixtures::ScratchDir("playback_" + name)) {}

    void WriteRecording(const std::string& relative, int64_t start) {
        fixtures::DriveSpec drive;
        drive.seconds = 3;
        drive.driveStart = start;
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        telemetry.startTime = start;
        fs::create_directories((root / relative).parent_path());
        fixtures::WriteRecording(root / relative, 0, telemetry, {}, fixtures::SampleClip());
    }

    // Entries after sorting: 0 front / 1 rear (group 0), 2 front / 3 rear (group 1), 4 rear alone (group 2).
    void WriteStandardCard() {
        for (int pair = 0; pair < 2; ++pair) {
            const int64_t start = kStart + 600 * pair;
            WriteRecording("Movie/" + RecordingName(start, pair, ".MP4"), start);
            WriteRecording("Movi_be/" + RecordingName(start, pair, "_b.MP4"), start);
        }
        WriteRecording("Movi_be/" + RecordingName(kStart + 1200, 2, "_b.MP4"), kStart + 1200);
        std::ofstream(root / "Movie" / RecordingName(kStart + 1800, 3, ".MP4")) << "not a movie";
    }

    fs::path root;
};

} // namespace scan_test
