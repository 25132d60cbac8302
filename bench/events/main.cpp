// What finding the G-force events of a one-hour recording costs: DetectGForceEvents on the G-sensor
// series of a simulated hour's drive at the cameras' rates (5 and 10 samples a second) and at 50 a
// second, and on hours at 10 a second with strong readings every 2 or 3 seconds (many short runs,
// impacts and merges). Wall-clock and thread CPU medians of
// `runs` repetitions (default 21).
//   build/bench/events/bench_events [runs]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "gforce_events.h"

namespace {

struct Timing {
    double wallMs;
    double cpuMs;
};

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Timing Median(int runs, const std::function<void()>& work) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        work();
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(ThreadCpuMs() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

std::vector<GSensorSample> DriveHour(int rate) {
    fixtures::DriveSpec drive;
    drive.seconds = 3600;
    drive.fixRate = 1;
    drive.gsensorRate = rate;
    return fixtures::SimulateDrive(drive).gsensor;
}

// Every `every` seconds three readings of 0.6 G, one of 1.3 G and a missing one; at full scale 8 a
// word step is 1/16 G. Every 2 s the events all merge into one, every 3 s they stay apart.
std::vector<GSensorSample> BusyHour(int rate, size_t every) {
    std::vector<GSensorSample> samples(size_t(3600) * rate, GSensorSample{0, 0, 16});
    for (size_t second = 0; second < 3600; second += every) {
        const size_t i = second * rate;
        samples[i] = samples[i + 1] = samples[i + 2] = {10, 0, 16};
        samples[i + 3] = {21, 0, 16};
        samples[i + 4] = {128, 0, 16}; // a missing reading
    }
    return samples;
}

void Report(const char* name, int rate, const std::vector<GSensorSample>& samples, int runs) {
    std::vector<GForceEvent> events;
    const Timing t = Median(runs, [&] { events = DetectGForceEvents(samples, rate, 8); });
    std::printf("%-22s %5d  %8zu  %7zu  %9.3f  %8.3f\n", name, rate, samples.size(), events.size(), t.wallMs,
                t.cpuMs);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::printf("one hour of G-sensor samples, median of %d runs (goal: at most 10 ms)\n", runs);
    std::printf("%-22s %5s  %8s  %7s  %9s  %8s\n", "series", "rate", "samples", "events", "wall ms",
                "cpu ms");
    for (int rate : {5, 10, 50})
        Report("simulated drive", rate, DriveHour(rate), runs);
    Report("strong every 2 s", 10, BusyHour(10, 2), runs);
    Report("strong every 3 s", 10, BusyHour(10, 3), runs);
    return 0;
}
