// `veltrix-probe --trips DIR` on a card of real recordings, against figures computed here from the
// fixes the fixture writer was given.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "local_time.h"
#include "program_run.h"

namespace fs = std::filesystem;

namespace {

std::string Name(int64_t start, int number, bool rear) {
    const LocalDateTime t = TimeToLocalWallClock(start);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s.MP4", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, number, rear ? "_b" : "");
    return name;
}

// Layout 0 on a 3 s clip: one fix a second, stored as doubles, so the fixes come back exactly.
std::vector<GpsFix> Write(const fs::path& root, int64_t start, int number, bool rear, int offset) {
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutBlocks, 3);
    drive.offsetSeconds = offset;
    fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    telemetry.startTime = start;
    if (rear) // the rear camera's fixes lie elsewhere: they must not count while the front exists
        for (GpsFix& fix : telemetry.fixes)
            fix.latitude += 0.2;
    const fs::path path = root / (rear ? "Movi_be" : "Movie") / Name(start, number, rear);
    fs::create_directories(path.parent_path());
    fixtures::WriteRecording(path, kLayoutBlocks, telemetry, {}, fixtures::SampleClip());
    return telemetry.fixes;
}

double Km(const GpsFix& a, const GpsFix& b) {
    const double r = M_PI / 180.0;
    const double h = std::pow(std::sin((b.latitude - a.latitude) * r / 2), 2) +
                     std::cos(a.latitude * r) * std::cos(b.latitude * r) *
                         std::pow(std::sin((b.longitude - a.longitude) * r / 2), 2);
    return 2 * 6371.0088 * std::atan2(std::sqrt(h), std::sqrt(1 - h));
}

std::string Fixed3(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

// The expected JSON of one trip whose route is `route` (fixes in order).
std::string TripJson(int64_t start, int64_t lengthMs, const std::vector<std::string>& names,
                     const std::vector<GpsFix>& route) {
    double km = 0;
    int top = 0;
    for (size_t i = 0; i < route.size(); ++i) {
        if (i) km += Km(route[i - 1], route[i]);
        top = std::max<int>(top, route[i].speed);
    }
    std::string json = "{\"start\":" + std::to_string(start) +
                       ",\"end\":" + std::to_string(start + lengthMs / 1000) + ",\"start_local\":\"" +
                       FormatLocalTime(start, "%Y-%m-%d %H:%M:%S") + "\",\"end_local\":\"" +
                       FormatLocalTime(start + lengthMs / 1000, "%Y-%m-%d %H:%M:%S") +
                       "\",\"length_s\":" + Fixed3(lengthMs / 1000.0) + ",\"recordings\":[";
    for (size_t i = 0; i < names.size(); ++i)
        json += (i ? ",\"" : "\"") + names[i] + "\"";
    json += "],\"distance_km\":" + Fixed3(km) + ",\"top_speed_kmh\":" + std::to_string(top) +
            ",\"average_speed_kmh\":" + Fixed3(km / (lengthMs / 3600000.0)) + "}";
    return json;
}

} // namespace

TEST(ProbeTrips, TripsOfACardWithTheirFigures) {
    const fs::path root = fixtures::ScratchDir("probe_trips");
    const int64_t t0 = LocalWallClockToTime(2024, 6, 1, 9, 30, 0);
    // Trip 1: three recordings, the second with its rear file only; trip 2 after a 10 s gap.
    const auto f1 = Write(root, t0, 1, false, 0);
    Write(root, t0 + 1, 1, true, 0);
    const auto r2 = Write(root, t0 + 3, 2, true, 3);
    const auto f3 = Write(root, t0 + 6, 3, false, 6);
    const auto f4 = Write(root, t0 + 19, 4, false, 19);

    std::vector<GpsFix> route1 = f1;
    route1.insert(route1.end(), r2.begin(), r2.end());
    route1.insert(route1.end(), f3.begin(), f3.end());
    const std::string expected =
        "{\"trips\":[" +
        TripJson(t0, 9000,
                 {Name(t0, 1, false), Name(t0 + 1, 1, true), Name(t0 + 3, 2, true), Name(t0 + 6, 3, false)},
                 route1) +
        "," + TripJson(t0 + 19, 3000, {Name(t0 + 19, 4, false)}, f4) + "]}\n";

    const ProgramRun run = RunProgram(std::string(VELTRIX_PROBE_EXE) + " --trips '" + root.string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);

    const ProgramRun missing =
        RunProgram(std::string(VELTRIX_PROBE_EXE) + " --trips '" + (root / "no such folder").string() + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "{\"trips\":[]}\n");
    EXPECT_EQ(RunProgram(std::string(VELTRIX_PROBE_EXE) + " --trips 2>/dev/null").status, 2);
}
