#include "bench_card.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "fixture_writer.h"

namespace fs = std::filesystem;

namespace bench {
namespace {

std::string Name(int64_t start, int number, const char* tail) {
    const time_t time = static_cast<time_t>(start);
    std::tm t{};
    localtime_r(&time, &t);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, number % 100, tail);
    return name;
}

} // namespace

void WriteCard(const fs::path& card, const char* rearFolder) {
    const fs::path clip = fixtures::SampleClip();
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    fs::create_directories(card / "Movie");
    fs::create_directories(card / rearFolder);
    std::tm first{};
    first.tm_year = 2024 - 1900;
    first.tm_mon = 5;
    first.tm_mday = 1;
    first.tm_hour = 8;
    first.tm_isdst = -1;
    const int64_t start = std::mktime(&first);
    for (int i = 0; i < kCardPairs; ++i) {
        fixtures::Telemetry t = telemetry;
        t.startTime = start + 180 * i;
        fixtures::WriteOptions options;
        options.sparsePadding = (50ull + (i * 37) % 451) << 20;
        const TelemetryLayout layout = static_cast<TelemetryLayout>(i % 5);
        fixtures::WriteRecording(card / "Movie" / Name(t.startTime, i, ".MP4"), layout, t, options, clip);
        t.startTime += i % 3;
        fixtures::WriteRecording(card / rearFolder / Name(t.startTime, i, "_b.MP4"), layout, t, options,
                                 clip);
    }
}

bool ParseCardOptions(int argc, char** argv, const char* program, CardOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--card" && i + 1 < argc) {
            options.card = argv[++i];
            options.given = true;
        } else if (arg == "--keep")
            options.keep = true;
        else if (arg == "--runs" && i + 1 < argc)
            options.runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [--card DIR] [--keep] [--runs N]\n", program);
            return false;
        }
    }
    return true;
}

void EnsureCard(const CardOptions& options, const char* rearFolder) {
    if (options.given && fs::is_directory(options.card)) return;
    fs::remove_all(options.card);
    const auto writing = std::chrono::steady_clock::now();
    WriteCard(options.card, rearFolder);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - writing);
    std::printf("card: %d recordings written to %s in %.1f s\n", 2 * kCardPairs, options.card.c_str(),
                ms.count() / 1000.0);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
