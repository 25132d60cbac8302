// What showing a two-hour trip of 60 two-minute recordings costs: reading the fixes of every
// recording, building the route, its figures, and the page scripts of the whole route (joined into
// engine calls as the map browser sends them); then one step of the car at every 250 ms of the trip.
// Wall-clock medians of `--runs` repetitions (default 7).
//   build/bench/trip_route/bench_trip_route [--runs N] [--layout L] [--recordings N] [--seconds S] [--keep]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "local_time.h"
#include "recording_catalog.h"
#include "script_batch.h"
#include "trip_map_scripts.h"
#include "trip_route.h"
#include "trip_summary.h"
#include "trips.h"

namespace fs = std::filesystem;

namespace {

struct Options {
    int runs = 7;
    TelemetryLayout layout = kLayoutVideMeta;
    int recordings = 60;
    int seconds = 120;
    bool keep = false;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--runs")
            o.runs = std::max(1, next());
        else if (arg == "--layout")
            o.layout = static_cast<TelemetryLayout>(std::clamp(next(), 0, 4));
        else if (arg == "--recordings")
            o.recordings = std::max(1, next());
        else if (arg == "--seconds")
            o.seconds = std::max(1, next());
        else if (arg == "--keep")
            o.keep = true;
    }
    return o;
}

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Back-to-back recordings of one continuous drive, as a camera cuts it.
void WriteTrip(const fs::path& dir, const Options& o) {
    fixtures::ClipSpec clip;
    clip.width = 160;
    clip.height = 96;
    clip.seconds = o.seconds;
    clip.fps = 10;
    const fs::path clipPath = fixtures::MakeClip(clip);
    fs::create_directories(dir / "Movie");
    for (int i = 0; i < o.recordings; ++i) {
        fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(o.layout, o.seconds);
        drive.offsetSeconds = i * o.seconds;
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        const LocalDateTime t = TimeToLocalWallClock(telemetry.startTime);
        char name[64];
        std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d.MP4", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, i % 100);
        fixtures::WriteRecording(dir / "Movie" / name, o.layout, telemetry, {}, clipPath);
    }
}

// Asks the kernel to drop the cached pages of every file of the trip; false when it refused.
bool EvictFiles(const CTrip& trip, const CRecordingCatalog& catalog) {
    bool all = true;
    for (const TripRecording& r : trip.Recordings()) {
        const int fd = ::open(catalog.EntryPath(r.entry).c_str(), O_RDONLY);
        if (fd < 0) {
            all = false;
            continue;
        }
        all = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0 && all;
        ::close(fd);
    }
    return all;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = ParseOptions(argc, argv);
    const fs::path dir = fixtures::ScratchDir("bench_trip_route");
    std::printf("writing %d recordings of %d s, layout %u ...\n", o.recordings, o.seconds, o.layout);
    WriteTrip(dir, o);

    CRecordingCatalog catalog;
    const double scanMs = MedianMs(1, [&] { catalog.ScanSource(dir, ""); });
    const std::vector<CTrip> trips = BuildTrips(catalog);
    if (trips.size() != 1) {
        std::fprintf(stderr, "expected one trip, found %zu\n", trips.size());
        return 1;
    }
    const CTrip& trip = trips[0];

    std::vector<RecordingFixes> fixes;
    const double readMs = MedianMs(o.runs, [&] { fixes = *LoadTripFixes(trip, catalog.Entries()); });
    bool evicted = true;
    std::vector<double> coldMs;
    for (int i = 0; i < o.runs; ++i) {
        evicted = EvictFiles(trip, catalog) && evicted;
        coldMs.push_back(MedianMs(1, [&] { LoadTripFixes(trip, catalog.Entries()); }));
    }
    std::sort(coldMs.begin(), coldMs.end());
    std::vector<RoutePoint> route;
    const double buildMs = MedianMs(o.runs, [&] { route = BuildTripRoute(trip, fixes); });
    TripSummary summary;
    const double summaryMs = MedianMs(o.runs, [&] { summary = SummarizeTrip(trip, route); });
    QStringList scripts;
    QStringList calls;
    const double scriptsMs = MedianMs(o.runs, [&] {
        CTripMapFollower follower;
        scripts = follower.Start(route, 0).scripts;
        calls = JoinScripts(scripts);
    });
    const double allMs = MedianMs(o.runs, [&] {
        const auto r = LoadTripRoute(trip, catalog.Entries());
        SummarizeTrip(trip, *r);
        CTripMapFollower follower;
        JoinScripts(follower.Start(*r, 0).scripts);
    });

    CTripMapFollower follower;
    follower.Start(route, 0);
    const int64_t steps = trip.LengthMs() / 250;
    const double followMs = MedianMs(o.runs, [&] {
        for (int64_t k = 0; k <= steps; ++k)
            follower.MoveTo(k * 250);
        follower.MoveTo(0);
    });

    std::printf("trip: %zu recordings, %.1f min, %zu route points, %.3f km, top %u km/h, average %.1f km/h\n",
                trip.Recordings().size(), trip.LengthMs() / 60000.0, route.size(), summary.distanceKm,
                summary.topSpeedKmh, summary.averageSpeedKmh);
    std::printf("catalog scan (once)                 %8.1f ms\n", scanMs);
    std::printf("read the fixes of every recording   %8.1f ms\n", readMs);
    std::printf("the same, files evicted first       %8.1f ms%s\n", coldMs[coldMs.size() / 2],
                evicted ? "" : "  (the kernel refused to evict: NOT cold)");
    std::printf("build the route                     %8.2f ms\n", buildMs);
    std::printf("figures (distance, speeds)          %8.2f ms\n", summaryMs);
    std::printf("route scripts + engine calls        %8.1f ms  (%lld scripts in %lld calls)\n", scriptsMs,
                static_cast<long long>(scripts.size()), static_cast<long long>(calls.size()));
    std::printf("all of it, end to end (goal 300)    %8.1f ms\n", allMs);
    std::printf("car step every 250 ms of the trip   %8.3f us a call\n", followMs * 1000.0 / (steps + 2));
    if (!o.keep) fs::remove_all(dir);
    return 0;
}
