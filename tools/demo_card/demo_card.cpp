#include "demo_card.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <future>

#include "fixture_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int64_t kFirstTrip = 1717243200; // 2024-06-01 12:00:00 UTC
const char* const kFrontFolder = "Movie";

struct Trip {
    TelemetryLayout layout;
    int firstCorner; // where on the loop the car sets off
    int segments;
    int64_t start;
    int rearDelay; // the rear camera starts this many seconds later
    bool locked;   // the first front recording is write-protected (an event recording)
};

const Trip kTrips[] = {
    {kLayoutVideMeta, 0, 3, kFirstTrip, 0, false},         // car with vehicle bus data
    {kLayoutBlocks, 2, 2, kFirstTrip + 2 * 3600, 1, true}, // GPS and G-sensor blocks
    {kLayoutGpsBox, 3, 2, kFirstTrip + 4 * 3600, 0, false},
    {kLayoutTailBoxes, 1, 1, kFirstTrip + 5 * 3600 + 1800, 0, false},
};

std::vector<std::array<double, 2>> LoopFrom(int corner) {
    auto loop = fixtures::BerlinMitteLoop();
    std::rotate(loop.begin(), loop.begin() + corner % static_cast<int>(loop.size()), loop.end());
    return loop;
}

fs::path MakeCameraClip(const DemoCardOptions& options, const std::string& camera, int64_t start,
                        const std::string& pattern) {
    fixtures::ClipSpec clipSpec;
    clipSpec.width = options.width;
    clipSpec.height = options.height;
    clipSpec.seconds = options.segmentSeconds;
    clipSpec.fps = 10;
    clipSpec.caption = camera;
    clipSpec.clockStart = start;
    clipSpec.pattern = pattern;
    return fixtures::MakeClip(clipSpec);
}

DemoFile WriteOne(const fs::path& path, TelemetryLayout layout, fixtures::Telemetry telemetry, int64_t start,
                  const fs::path& clip, bool rear, int seconds) {
    telemetry.startTime = start;
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove(path, ec);
    fixtures::WriteRecording(path, layout, telemetry, {}, clip);
    return {path, layout, rear, start, seconds};
}

} // namespace

std::string RecordingName(int64_t startTime, int number, bool rear) {
    const std::time_t t = static_cast<std::time_t>(startTime);
    std::tm tm{};
    localtime_r(&t, &tm);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s.MP4", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, number % 100,
                  rear ? "_b" : "");
    return name;
}

std::string RearFolderName(const std::string& frontFolder) {
    if (frontFolder.empty()) return "_b";
    return frontFolder.substr(0, frontFolder.size() - 1) + "_b" + frontFolder.back();
}

std::vector<DemoFile> WriteDemoCard(const fs::path& dir, std::ostream& log, const DemoCardOptions& options) {
    const int seconds = options.segmentSeconds;
    const fs::path front = dir / kFrontFolder, rear = dir / RearFolderName(kFrontFolder);
    fs::create_directories(front);
    fs::create_directories(rear);
    std::vector<DemoFile> files;
    int number = 0;
    for (size_t t = 0; t < std::size(kTrips); ++t) {
        const Trip& trip = kTrips[t];
        for (int s = 0; s < trip.segments; ++s, ++number) {
            fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(trip.layout, seconds);
            drive.waypoints = LoopFrom(trip.firstCorner);
            drive.offsetSeconds = s * seconds;
            drive.driveStart = trip.start;
            drive.seed = static_cast<unsigned>(t + 1);
            const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
            const int64_t start = telemetry.startTime, rearStart = start + trip.rearDelay;
            // The two cameras' clips are encoded side by side.
            auto rearClip =
                std::async(std::launch::async, MakeCameraClip, options, "REAR", rearStart, "testsrc");
            const fs::path frontClip = MakeCameraClip(options, "FRONT", start, "testsrc2");
            const fs::path frontPath = front / RecordingName(start, number, false);
            files.push_back(WriteOne(frontPath, trip.layout, telemetry, start, frontClip, false, seconds));
            files.push_back(WriteOne(rear / RecordingName(rearStart, number, true), trip.layout, telemetry,
                                     rearStart, rearClip.get(), true, seconds));
            if (trip.locked && s == 0)
                fs::permissions(frontPath,
                                fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                fs::perm_options::remove);
            for (size_t k = files.size() - 2; k < files.size(); ++k)
                log << files[k].path.string() << "  layout " << files[k].layout << "  " << seconds << " s\n";
        }
    }
    return files;
}
