// bench_parse [--files N] [--rounds N] [--track-runs N] [--probe-runs N] [--dir DIR] [--keep]
//
// 1. Writes N recordings (default 1,000; layouts 0 to 4 in turn; a 60 s H.264 clip; sparse files of
//    50 to 500 MB) and times COrvex3gpParser::Parse per file (a fresh reader per file, as the
//    catalog does), median over all calls of all rounds; then `ffprobe -show_format -show_streams`
//    on the same files (one process per file, output discarded).
// 2. Writes a one-hour layout-2 recording (a one-hour clip, 18,000 records, 500 MB sparse) and times
//    ReadLayout2Track on it, beside ffprobe on the same file.
// Figures are medians of wall-clock times, and of CPU times (the reading thread; ffprobe's process),
// which a busy machine disturbs less. The files stay in the page cache between runs.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "mp4_reader.h"
#include "track_reader.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Settings {
    int files = 1000;
    int rounds = 5;
    int trackRuns = 21;
    int probeRuns = 5;
    fs::path dir;
    bool keep = false;
};

double Micros(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * v.size()))];
}

double ThreadCpuMicros() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

struct Timing {
    double wall = -1; // microseconds; negative when the run failed
    double cpu = -1;  // user + system
};

// One ffprobe run: wall time and the child's CPU time.
Timing TimeFfprobe(const fs::path& file) {
    const std::string path = file.string();
    const char* argv[] = {"ffprobe", "-v", "error", "-show_format", "-show_streams", path.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    int status = 0;
    rusage usage{};
    const int rc = posix_spawnp(&pid, "ffprobe", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0 || wait4(pid, &status, 0, &usage) < 0) return {};
    Timing t;
    t.wall = Micros(start);
    t.cpu = usage.ru_utime.tv_sec * 1e6 + usage.ru_utime.tv_usec + usage.ru_stime.tv_sec * 1e6 +
            usage.ru_stime.tv_usec;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    return t;
}

struct ParseResult {
    int status;
    MediaInfo info;
};

ParseResult ParseOnce(const fs::path& file) {
    ParseResult r;
    COrvex3gpParser parser;
    parser.SetMediaInfo(&r.info);
    r.status = parser.Parse(file);
    return r;
}

std::vector<fs::path> WriteMixedCard(const fs::path& dir, int count) {
    std::printf("writing %d recordings of mixed layouts ...\n", count);
    std::fflush(stdout);
    const fs::path clip = fixtures::SampleClip(320, 240, 60);
    fixtures::Telemetry telemetry[5];
    for (TelemetryLayout layout = 0; layout < 5; ++layout)
        telemetry[layout] = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, 60));
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i) {
        const TelemetryLayout layout = static_cast<TelemetryLayout>(i % 5);
        fixtures::Telemetry& t = telemetry[layout];
        t.startTime = 1717243200 + 60 * i;
        fixtures::WriteOptions options;
        const uint64_t size = (50ull + (static_cast<uint64_t>(i) * 7919) % 451) << 20; // 50..500 MB
        options.sparsePadding = size;
        char name[64];
        std::snprintf(name, sizeof name, "rec_%04d_layout%u.MP4", i, layout);
        files.push_back(fixtures::WriteRecording(dir / name, layout, t, options, clip).path);
    }
    return files;
}

void BenchParse(const Settings& s, const std::vector<fs::path>& files) {
    int accepted[6] = {}, total[6] = {};
    uint64_t bytes = 0;
    for (const fs::path& f : files) { // the first pass also warms the page cache
        const ParseResult r = ParseOnce(f);
        const TelemetryLayout layout = r.status == 0 ? r.info.m_uLayout : 5;
        if (r.status == 0 && layout < 5) ++accepted[layout];
        ++total[std::min<TelemetryLayout>(layout, 5)];
        bytes += fs::file_size(f);
    }
    std::vector<double> times, cpuTimes;
    for (int round = 0; round < s.rounds; ++round) {
        for (const fs::path& f : files) {
            const double cpuStart = ThreadCpuMicros();
            const auto start = Clock::now();
            const ParseResult r = ParseOnce(f); // rejected files are timed as well
            times.push_back(Micros(start));
            cpuTimes.push_back(ThreadCpuMicros() - cpuStart);
            (void)r;
        }
    }
    std::vector<double> probe, probeCpu;
    int probeFailed = 0;
    for (const fs::path& f : files) {
        const Timing t = TimeFfprobe(f);
        if (t.wall < 0) {
            ++probeFailed;
            continue;
        }
        probe.push_back(t.wall);
        probeCpu.push_back(t.cpu);
    }
    const double parse = Median(times), tool = Median(probe);
    const double parseCpu = Median(cpuTimes), toolCpu = Median(probeCpu);
    std::printf("\nParse: %zu recordings, layouts 0-4 in turn, %.1f GB apparent (sparse, 50-500 MB each), "
                "page cache warm\n",
                files.size(), bytes / 1e9);
    std::printf("  accepted by layout: 0:%d 1:%d 2:%d 3:%d 4:%d  rejected: %d\n", accepted[0], accepted[1],
                accepted[2], accepted[3], accepted[4],
                static_cast<int>(files.size()) - accepted[0] - accepted[1] - accepted[2] - accepted[3] -
                    accepted[4]);
    std::printf("  COrvex3gpParser::Parse            median %9.1f us  p90 %9.1f us  (%zu calls)\n", parse,
                Percentile(times, 0.9), times.size());
    std::printf("  ffprobe -show_format -show_streams median %9.1f us  p90 %9.1f us  (%zu runs, %d failed)\n",
                tool, Percentile(probe, 0.9), probe.size(), probeFailed);
    std::printf("  ratio ffprobe / Parse: %.0fx wall\n", parse > 0 ? tool / parse : 0.0);
    std::printf("  CPU time (user+system): Parse median %.1f us, ffprobe median %.1f us, ratio %.0fx\n",
                parseCpu, toolCpu, parseCpu > 0 ? toolCpu / parseCpu : 0.0);
}

void BenchTrack(const Settings& s, const fs::path& dir) {
    std::printf("\nwriting a one-hour layout-2 recording ...\n");
    std::fflush(stdout);
    fixtures::ClipSpec clipSpec;
    clipSpec.width = 160;
    clipSpec.height = 96;
    clipSpec.seconds = 3600;
    clipSpec.fps = 10;
    const fs::path clip = fixtures::MakeClip(clipSpec);
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(2, 3600));
    fixtures::WriteOptions options;
    options.sparsePadding = 500ull << 20;
    const fs::path file =
        fixtures::WriteRecording(dir / "hour_layout2.MP4", 2, telemetry, options, clip).path;

    const ParseResult parsed = ParseOnce(file);
    if (parsed.status != 0 || parsed.info.m_uLayout != 2) {
        std::printf("  the one-hour file was not accepted as layout 2 (status %d, layout %u)\n",
                    parsed.status, parsed.info.m_uLayout);
        return;
    }
    std::vector<double> times, cpuTimes;
    size_t fixes = 0, samples = 0, vehicles = 0;
    for (int run = 0; run < s.trackRuns; ++run) {
        std::vector<GpsFix> track;
        std::vector<GSensorSample> gsensor;
        std::vector<VehicleSample> vehicle;
        const double cpuStart = ThreadCpuMicros();
        const auto start = Clock::now();
        ReadLayout2Track(file, parsed.info.m_Chunks2, track, gsensor, vehicle);
        times.push_back(Micros(start) / 1000);
        cpuTimes.push_back((ThreadCpuMicros() - cpuStart) / 1000);
        fixes = track.size();
        samples = gsensor.size();
        vehicles = vehicle.size();
    }
    std::vector<double> probe, probeCpu;
    for (int run = 0; run < s.probeRuns; ++run) {
        const Timing t = TimeFfprobe(file);
        if (t.wall < 0) continue;
        probe.push_back(t.wall / 1000);
        probeCpu.push_back(t.cpu / 1000);
    }
    const double track = Median(times), tool = Median(probe);
    const double trackCpu = Median(cpuTimes), toolCpu = Median(probeCpu);
    std::printf("Track: one-hour layout-2 recording, %zu chunks, %.0f MB apparent, %u s movie\n",
                parsed.info.m_Chunks2.size(), fs::file_size(file) / 1e6, parsed.info.m_uDurationMs / 1000);
    std::printf("  ReadLayout2Track                   median %8.2f ms  (%d runs; %zu fixes, %zu samples, %zu "
                "vehicle samples)\n",
                track, s.trackRuns, fixes, samples, vehicles);
    std::printf("  ffprobe -show_format -show_streams median %8.2f ms  (%zu runs)\n", tool, probe.size());
    std::printf("  ratio ffprobe / ReadLayout2Track: %.1fx wall\n", track > 0 ? tool / track : 0.0);
    std::printf(
        "  CPU time (user+system): ReadLayout2Track median %.2f ms, ffprobe median %.2f ms, ratio %.1fx\n",
        trackCpu, toolCpu, trackCpu > 0 ? toolCpu / trackCpu : 0.0);
}

bool ReadSettings(int argc, char** argv, Settings& s) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--files" && hasValue)
            s.files = std::max(5, std::atoi(argv[++i]));
        else if (a == "--rounds" && hasValue)
            s.rounds = std::max(1, std::atoi(argv[++i]));
        else if (a == "--track-runs" && hasValue)
            s.trackRuns = std::max(1, std::atoi(argv[++i]));
        else if (a == "--probe-runs" && hasValue)
            s.probeRuns = std::max(1, std::atoi(argv[++i]));
        else if (a == "--dir" && hasValue)
            s.dir = argv[++i];
        else if (a == "--keep")
            s.keep = true;
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Settings s;
    if (!ReadSettings(argc, argv, s)) {
        std::fprintf(stderr, "usage: bench_parse [--files N] [--rounds N] [--track-runs N] [--probe-runs N] "
                             "[--dir DIR] [--keep]\n");
        return 2;
    }
    const bool ownDir = s.dir.empty();
    if (ownDir) s.dir = fixtures::ScratchDir("bench_parse");
    fs::create_directories(s.dir);
    try {
        BenchParse(s, WriteMixedCard(s.dir, s.files));
        BenchTrack(s, s.dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_parse: %s\n", e.what());
        return 1;
    }
    if (s.keep && ownDir) setenv("VELTRIX_KEEP_FIXTURES", "1", 1);
    if (!s.keep && !ownDir) {
        for (const auto& entry : fs::directory_iterator(s.dir))
            if (entry.path().extension() == ".MP4") fs::remove(entry.path());
    }
    return 0;
}
