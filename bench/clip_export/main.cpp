// What a clip export costs: a minute of 1080p front and rear camera (made here with ffmpeg at a
// dash camera's bit rate, wrapped with a minute of telemetry by the fixture writer), exported
// side by side and front only with the overlay burned in, and as the quick cut without
// re-encoding. Prints wall-clock seconds per minute of clip (median of --runs) and the CPU time
// ffmpeg used.
//   build/bench/clip_export/bench_clip_export [--seconds N] [--runs N] [--dir DIR] [--keep]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "clip_export_job.h"
#include "clip_preparation.h"
#include "fixture_writer.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {
struct Options {
    int seconds = 60;
    int runs = 3;
    fs::path dir;
    bool keep = false;
};

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seconds" && hasValue) o.seconds = std::max(2, std::atoi(argv[++i]));
        else if (arg == "--runs" && hasValue) o.runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--dir" && hasValue) o.dir = argv[++i];
        else if (arg == "--keep") o.keep = true;
        else return false;
    }
    return true;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A 1080p 30 fps H.264 camera picture with grain, at 12 Mbit/s and a key frame a second.
fs::path MakeCameraSource(const fs::path& dir, const std::string& name, const std::string& pattern, int seconds) {
    const fs::path out = dir / (name + "_source.mp4");
    if (fs::exists(out)) return out;
    const int status = fixtures::RunProgram(
        {"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
         pattern + "=size=1920x1080:rate=30:duration=" + std::to_string(seconds), "-vf", "noise=alls=5:allf=t",
         "-c:v", "libx264", "-preset", "ultrafast", "-b:v", "12M", "-maxrate", "12M", "-bufsize", "12M", "-g", "30",
         "-pix_fmt", "yuv420p", out.string()});
    if (status != 0) {
        std::fprintf(stderr, "bench_clip_export: ffmpeg could not make %s\n", out.c_str());
        std::exit(1);
    }
    return out;
}

struct Case {
    const char* name;
    ClipLayout layout;
    ClipPicture picture;
};

struct Figures {
    double wallMedian = 0, wallMin = 0, cpuMedian = 0;
};

Figures Measure(const Case& c, const fs::path& front, const fs::path& rear, const fs::path& dir, const Options& o) {
    std::vector<double> wall, cpu;
    for (int run = 0; run < o.runs; ++run) {
        ClipChoice choice{front, rear, 0, o.seconds * 1000LL, c.layout, c.picture, dir / "clip.mp4"};
        std::string error;
        std::optional<ClipRequest> request = PrepareClipRequest(choice, error);
        if (!request) {
            std::fprintf(stderr, "bench_clip_export: %s\n", error.c_str());
            std::exit(1);
        }
        const double cpuBefore = ChildCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const ClipExportResult result = ClipExportJob(std::move(*request)).Run();
        wall.push_back(Seconds(std::chrono::steady_clock::now() - start));
        cpu.push_back(ChildCpuSeconds() - cpuBefore);
        if (result.status != ClipExportStatus::kDone) {
            std::fprintf(stderr, "bench_clip_export: %s: %s\n", c.name, result.message.c_str());
            std::exit(1);
        }
        fs::remove(dir / "clip.mp4");
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], wall.front(), cpu[cpu.size() / 2]};
}
} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: bench_clip_export [--seconds N] [--runs N] [--dir DIR] [--keep]\n");
        return 2;
    }
    const bool ownDir = o.dir.empty();
    if (ownDir) o.dir = fixtures::ScratchDir("bench_clip_export");
    fs::create_directories(o.dir);

    const auto madeAt = std::chrono::steady_clock::now();
    const fs::path frontSource = MakeCameraSource(o.dir, "front", "testsrc2", o.seconds);
    const fs::path rearSource = MakeCameraSource(o.dir, "rear", "testsrc", o.seconds);
    const fixtures::Telemetry telemetry =
        fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, o.seconds));
    const fs::path front = o.dir / "2024_06_01_120000_01.MP4", rear = o.dir / "2024_06_01_120000_01_b.MP4";
    fixtures::WriteRecording(front, kLayoutVideMeta, telemetry, {}, frontSource);
    fixtures::WriteRecording(rear, kLayoutVideMeta, telemetry, {}, rearSource);
    std::printf("sources: %d s of 1920x1080 30 fps front and rear, %.1f MB each (made in %.1f s)\n", o.seconds,
                double(fs::file_size(front)) / 1e6, Seconds(std::chrono::steady_clock::now() - madeAt));

    const Case cases[] = {
        {"side by side, overlay", ClipLayout::kSideBySide, ClipPicture::kOverlay},
        {"front only, overlay", ClipLayout::kFrontOnly, ClipPicture::kOverlay},
        {"picture in picture, overlay", ClipLayout::kPictureInPicture, ClipPicture::kOverlay},
        {"quick cut (copy), both cameras", ClipLayout::kSideBySide, ClipPicture::kCopy},
    };
    std::printf("%-32s %12s %12s %14s %12s\n", "export", "median s", "fastest s", "s per minute", "ffmpeg CPU s");
    for (const Case& c : cases) {
        const Figures f = Measure(c, front, rear, o.dir, o);
        std::printf("%-32s %12.2f %12.2f %14.2f %12.2f\n", c.name, f.wallMedian, f.wallMin,
                    f.wallMedian * 60.0 / o.seconds, f.cpuMedian);
        std::fflush(stdout);
    }
    std::printf("(median of %d runs; faster than real time means under 60 s per minute)\n", o.runs);
    if (ownDir && !o.keep) fs::remove_all(o.dir);
    return 0;
}
