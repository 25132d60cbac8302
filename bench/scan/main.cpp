// bench_scan [--card DIR] [--keep] [--tool-files N] [--warm-runs N]
//
// Writes a synthetic card of 1,000 recordings (500 front/rear pairs; fronts in "Movie/", rears in
// "Movie_b/"; layouts 0 to 4 in turn; sparse files of 50 to 500 MB) with the fixture writer, then
// times the catalog's folder scan (ScanSource: walk, name grammar, one reader per file, sort,
// grouping, rows) cold (page cache dropped, when the kernel allows it) and warm, and the same
// files read by `ffprobe -show_format -show_streams` (one process per file, as a viewer built on
// it would run) and `exiftool -fast` (one process for the whole card). Prints ms per file and
// the tools' time as a multiple of the scan's.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "local_time.h"
#include "recording_catalog.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPairs = 500;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Name(int64_t start, int number, const char* tail) {
    const LocalDateTime t = TimeToLocalWallClock(start);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, number % 100, tail);
    return name;
}

std::vector<fs::path> WriteCard(const fs::path& card) {
    const fs::path clip = fixtures::SampleClip();
    std::vector<fs::path> files;
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    fs::create_directories(card / "Movie");
    fs::create_directories(card / "Movie_b");
    const int64_t first = LocalWallClockToTime(2024, 6, 1, 8, 0, 0);
    for (int i = 0; i < kPairs; ++i) {
        const TelemetryLayout layout = static_cast<TelemetryLayout>(i % 5);
        fixtures::Telemetry t = telemetry;
        t.startTime = first + 180 * i;
        fixtures::WriteOptions options;
        options.sparsePadding = (50ull + (i * 37) % 451) << 20; // 50..500 MB, mostly holes
        files.push_back(
            fixtures::WriteRecording(card / "Movie" / Name(t.startTime, i, ".MP4"), layout, t, options, clip)
                .path);
        t.startTime += i % 3; // the rear camera starts up to two seconds later
        files.push_back(fixtures::WriteRecording(card / "Movie_b" / Name(t.startTime, i, "_b.MP4"), layout, t,
                                                 options, clip)
                            .path);
    }
    return files;
}

bool DropPageCache() {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ScanFigures {
    double ms = 0;
    size_t entries = 0, groups = 0;
};

ScanFigures TimeScan(const fs::path& card) {
    CRecordingCatalog catalog;
    const auto start = Clock::now();
    catalog.ScanSource(card, "");
    return {MsSince(start), catalog.Entries().size(), catalog.GroupRows().size()};
}

// Runs `command` once per file of `files` (every `step`-th), ms per file.
double TimePerFileTool(const std::string& command, const std::vector<fs::path>& files, size_t step,
                       size_t& measured) {
    measured = 0;
    const auto start = Clock::now();
    for (size_t i = 0; i < files.size(); i += step, ++measured)
        if (std::system((command + " '" + files[i].string() + "' > /dev/null 2>&1").c_str()) != 0)
            std::fprintf(stderr, "failed: %s on %s\n", command.c_str(), files[i].c_str());
    return measured ? MsSince(start) / static_cast<double>(measured) : 0;
}

double TimeWholeCardTool(const std::string& command, const fs::path& card, size_t files) {
    const auto start = Clock::now();
    if (std::system((command + " '" + card.string() + "' > /dev/null 2>&1").c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return MsSince(start) / static_cast<double>(files);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // figures appear as they are measured
    fs::path card = fs::temp_directory_path() / "veltrix_bench_scan_card";
    bool keep = false;
    size_t toolFiles = 1000;
    int warmRuns = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--card" && i + 1 < argc)
            card = argv[++i];
        else if (arg == "--keep")
            keep = true;
        else if (arg == "--tool-files" && i + 1 < argc)
            toolFiles = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--warm-runs" && i + 1 < argc)
            warmRuns = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr,
                         "usage: bench_scan [--card DIR] [--keep] [--tool-files N] [--warm-runs N]\n");
            return 2;
        }
    }
    fs::remove_all(card);
    auto start = Clock::now();
    const std::vector<fs::path> files = WriteCard(card);
    const double n = static_cast<double>(files.size());
    std::printf("card: %zu recordings in %s (written in %.1f s)\n", files.size(), card.c_str(),
                MsSince(start) / 1000);

    const bool cold = DropPageCache();
    const ScanFigures coldScan = TimeScan(card);
    std::printf("scan %s: %.1f ms, %.3f ms per file (%zu entries, %zu groups)\n",
                cold ? "cold" : "first (cache NOT dropped)", coldScan.ms, coldScan.ms / n, coldScan.entries,
                coldScan.groups);
    std::vector<double> warm;
    for (int run = 0; run < warmRuns; ++run)
        warm.push_back(TimeScan(card).ms);
    const double warmMs = Median(warm) / n;
    std::printf("scan warm: median of %d runs %.1f ms, %.3f ms per file\n", warmRuns, Median(warm), warmMs);

    const size_t step = std::max<size_t>(1, files.size() / toolFiles);
    size_t measured = 0;
    const double ffprobeMs =
        TimePerFileTool("ffprobe -v error -show_format -show_streams", files, step, measured);
    std::printf(
        "ffprobe -show_format -show_streams (warm, one process per file, %zu files): %.3f ms per file, "
        "%.1fx the warm scan\n",
        measured, ffprobeMs, ffprobeMs / warmMs);
    const double exifMs = TimeWholeCardTool("exiftool -fast -json -q -r", card, files.size());
    std::printf("exiftool -fast -r (warm, one process for the card): %.3f ms per file, %.1fx the warm scan\n",
                exifMs, exifMs / warmMs);
    if (DropPageCache()) {
        const double coldExif = TimeWholeCardTool("exiftool -fast -json -q -r", card, files.size());
        std::printf("exiftool -fast -r (cold): %.3f ms per file, %.1fx the cold scan\n", coldExif,
                    coldExif / (coldScan.ms / n));
        DropPageCache();
        size_t coldMeasured = 0;
        const double coldProbe =
            TimePerFileTool("ffprobe -v error -show_format -show_streams", files, step, coldMeasured);
        std::printf("ffprobe (cold, %zu files): %.3f ms per file, %.1fx the cold scan\n", coldMeasured,
                    coldProbe, coldProbe / (coldScan.ms / n));
    }
    if (!keep) fs::remove_all(card);
    return 0;
}
