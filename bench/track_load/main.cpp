// What opening a one-hour recording costs on the telemetry side: LoadTrack (one read of the file
// and the page scripts of the whole track), UpdateAtTime at every 250 ms of the hour, and the KML
// export, for each layout. Wall-clock medians of `runs` repetitions (default 7).
//   build/bench/track_load/bench_track_load [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "fixture_writer.h"
#include "kml_export.h"
#include "parser_factory.h"
#include "track_plot.h"

namespace {

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

RecordingEntry WriteHour(const std::filesystem::path& dir, TelemetryLayout layout) {
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(layout, 3600);
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    RecordingEntry entry;
    entry.m_strFolder = dir.string() + "/";
    entry.m_strFileName = "2024_06_01_12000" + std::to_string(layout) + "_01.MP4";
    const auto path = dir / entry.m_strFileName;
    fixtures::WriteRecording(path, layout, telemetry);
    const auto parser = CreateVideoParser(path);
    parser->SetMediaInfo(&entry.m_MediaInfo);
    if (parser->Parse(path) != 0) std::fprintf(stderr, "layout %u: not accepted\n", layout);
    return entry;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const auto dir = fixtures::ScratchDir("bench_track_load");
    std::printf("layout  fixes  scripts  LoadTrack ms  UpdateAtTime us/call  KML ms  KML bytes\n");
    for (TelemetryLayout layout : {0u, 1u, 2u, 3u, 4u}) {
        if (layout == kLayoutTailBoxes) continue; // the tail boxes hold seconds, not an hour
        std::vector<RecordingEntry> catalog{WriteHour(dir, layout)};
        CTrackPlot plot;
        LoadTrackResult load;
        const double loadMs = MedianMs(runs, [&] { load = plot.LoadTrack(0, catalog); });

        UpdateAtTimeStatics statics;
        const int64_t steps = 3600 * 4;
        const double updateMs = MedianMs(runs, [&] {
            for (int64_t t = 0; t < steps * 250; t += 250)
                plot.UpdateAtTime(t, true, true, catalog, statics);
        });

        const RecordingTelemetry* telemetry = plot.CurrentTelemetry(catalog);
        const size_t fixes = telemetry ? telemetry->Fixes().size() : 0;
        std::optional<std::filesystem::path> kml;
        const double kmlMs = MedianMs(runs, [&] {
            kml = WriteKmlExport(dir, {catalog[0].m_strFileName, "", catalog[0].m_MediaInfo.m_llStartTime},
                                 telemetry->layout, telemetry->Fixes());
        });
        std::printf("%6u  %5zu  %7lld  %12.1f  %20.2f  %6.1f  %9llu\n", layout, fixes,
                    static_cast<long long>(load.scripts.size()), loadMs, updateMs * 1000.0 / steps, kmlMs,
                    kml ? static_cast<unsigned long long>(std::filesystem::file_size(*kml)) : 0ull);
    }
    return 0;
}
