// Catalog probe of a 1 GB transport stream: how many bytes the probe reads, beside ffprobe.
//   bench_ts_probe [--size-mb N] [--runs N] [--keep]
// The file is a real recording from the fixture writer at its head and, after a hole, the same
// recording again with its time stamps moved one hour on, so that both readers find the length at
// the end. "Bytes read" is measured twice: the packets the probe's walk visits, and the pages of the
// file that the page cache holds after a probe that started with the file evicted (mincore), which
// counts what the kernel really read, read-ahead included. ffprobe gets the same page count.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "container_remux.h"
#include "fixture_writer.h"
#include "ts_reader.h"
#include "ts_writer.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kPacket = 188;
constexpr int64_t kShift = 3600 * 90000LL; // one hour of 90 kHz ticks

void AddToTimeStamp(uint8_t* p, int64_t delta) {
    int64_t v = int64_t(p[0] >> 1 & 7) << 30 | int64_t(p[1]) << 22 | int64_t(p[2] >> 1) << 15 |
                int64_t(p[3]) << 7 | int64_t(p[4] >> 1);
    v = (v + delta) & ((int64_t(1) << 33) - 1);
    p[0] = uint8_t((p[0] & 0xF1) | ((v >> 29) & 0x0E));
    p[1] = uint8_t(v >> 22);
    p[2] = uint8_t(((v >> 14) & 0xFE) | 1);
    p[3] = uint8_t(v >> 7);
    p[4] = uint8_t(((v << 1) & 0xFE) | 1);
}

// Moves PCR, PTS and DTS of every packet by `delta` ticks.
void ShiftTimes(std::vector<uint8_t>& ts, int64_t delta) {
    for (size_t pos = 0; pos + kPacket <= ts.size(); pos += kPacket) {
        uint8_t* p = &ts[pos];
        size_t start = 4;
        if (p[3] & 0x20) {
            if (p[4] > 0 && (p[5] & 0x10)) { // PCR: 33-bit base, 6 reserved bits, 9-bit extension
                uint8_t* c = p + 6;
                int64_t base = int64_t(c[0]) << 25 | int64_t(c[1]) << 17 | int64_t(c[2]) << 9 |
                               int64_t(c[3]) << 1 | c[4] >> 7;
                base = (base + delta) & ((int64_t(1) << 33) - 1);
                c[0] = uint8_t(base >> 25), c[1] = uint8_t(base >> 17), c[2] = uint8_t(base >> 9);
                c[3] = uint8_t(base >> 1), c[4] = uint8_t((c[4] & 0x7F) | (base & 1) << 7);
            }
            start = 5 + p[4];
        }
        if (!(p[1] & 0x40) || start + 14 > kPacket) continue;
        uint8_t* pes = p + start;
        if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1) continue;
        const int flags = pes[7] >> 6;
        if (flags & 2) AddToTimeStamp(pes + 9, delta);
        if (flags == 3 && start + 19 <= kPacket) AddToTimeStamp(pes + 14, delta);
    }
}

void Evict(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    fdatasync(fd);
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
}

// Bytes of the file held in the page cache.
uint64_t ResidentBytes(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat st {};
    fstat(fd, &st);
    void* view = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    const long page = sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident((size_t(st.st_size) + page - 1) / page);
    mincore(view, size_t(st.st_size), resident.data());
    munmap(view, size_t(st.st_size));
    return uint64_t(std::count_if(resident.begin(), resident.end(), [](unsigned char c) { return c & 1; })) *
           uint64_t(page);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Run {
    double ms = 0;
    uint64_t resident = 0;
};

template <typename Probe> Run Measure(const fs::path& path, Probe probe, bool cold) {
    if (cold) Evict(path);
    const auto t0 = Clock::now();
    probe();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    return {ms, cold ? ResidentBytes(path) : 0};
}

double FfprobeDuration(const fs::path& path) {
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    double d = 0;
    if (pipe && std::fscanf(pipe, "%lf", &d) != 1) d = 0;
    if (pipe) pclose(pipe);
    return d;
}

} // namespace

int main(int argc, char** argv) {
    uint64_t sizeMb = 1024;
    int runs = 5;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--size-mb" && i + 1 < argc)
            sizeMb = std::stoull(argv[++i]);
        else if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--keep")
            keep = true;
    }

    fixtures::ClipSpec clipSpec;
    clipSpec.width = 1280;
    clipSpec.height = 720;
    clipSpec.seconds = 60;
    clipSpec.fps = 30;
    const fs::path clip = fixtures::MakeClip(clipSpec);
    fixtures::DriveSpec drive;
    drive.seconds = 60;
    drive.fixRate = 5;
    drive.gsensorRate = 5;
    const fs::path dir = fixtures::ScratchDir("bench-ts-probe");
    const auto written =
        fixtures::WriteTsRecording(dir / "head.TS", fixtures::SimulateDrive(drive), {}, clip);
    std::vector<uint8_t> head = fixtures::ReadWholeFile(written.path);
    std::vector<uint8_t> tail = head;
    ShiftTimes(tail, kShift);

    // head, a hole of whole packets, tail: `sizeMb` in all.
    const fs::path big = dir / "LONG0001.TS";
    const uint64_t total = sizeMb * 1024 * 1024 / kPacket * kPacket;
    if (total < head.size() + tail.size()) {
        std::fprintf(stderr, "--size-mb too small for the recording (%zu bytes)\n", head.size() * 2);
        return 2;
    }
    const uint64_t tailAt = total - tail.size();
    {
        const int fd = open(big.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
        if (pwrite(fd, head.data(), head.size(), 0) != ssize_t(head.size()) ||
            pwrite(fd, tail.data(), tail.size(), off_t(tailAt)) != ssize_t(tail.size())) {
            std::perror("write");
            return 1;
        }
        close(fd);
    }
    std::printf("file: %s, %.1f MB (%llu packets); recording %zu bytes at each end, 1280x720 30 fps H.264\n",
                big.c_str(), double(total) / 1048576.0, (unsigned long long)(total / kPacket), head.size());

    MediaInfo info;
    COrvexTsParser parser;
    parser.SetMediaInfo(&info);
    std::vector<double> oursCold, oursWarm, ffCold;
    uint64_t oursResident = 0, ffResident = 0;
    int rc = 0;
    for (int i = 0; i < runs; ++i) {
        Run r = Measure(
            big, [&] { rc = parser.ProbeTransportStream(big, false); }, true);
        oursCold.push_back(r.ms);
        oursResident = std::max(oursResident, r.resident);
        oursWarm.push_back(Measure(
                               big, [&] { parser.ProbeTransportStream(big, false); }, false)
                               .ms);
        r = Measure(
            big,
            [&] {
                const std::string command =
                    "ffprobe -v error -show_format -show_streams '" + big.string() + "' >/dev/null";
                if (std::system(command.c_str()) != 0) std::fprintf(stderr, "ffprobe failed\n");
            },
            true);
        ffCold.push_back(r.ms);
        ffResident = std::max(ffResident, r.resident);
    }
    const uint64_t walked = parser.PacketsVisited() * kPacket;
    std::printf("probe result %d: %ux%u, %u ms (ffprobe: %.3f s)\n", rc, info.m_wWidth, info.m_wHeight,
                info.m_uDurationMs, FfprobeDuration(big));
    std::printf("catalog probe walk: %llu packets = %llu bytes (%.4f%% of the file)\n",
                (unsigned long long)parser.PacketsVisited(), (unsigned long long)walked,
                100.0 * double(walked) / double(total));
    std::printf("read from disk, cold (page cache after the run, max of %d):\n", runs);
    std::printf("  COrvexTsParser catalog probe  %10llu bytes\n", (unsigned long long)oursResident);
    std::printf("  ffprobe -show_format -show_streams %5llu bytes\n", (unsigned long long)ffResident);
    std::printf("  ratio ours / ffprobe          %10.3f\n", double(oursResident) / double(ffResident));
    std::printf(
        "time, median of %d: ours cold %.2f ms, warm %.2f ms; ffprobe cold %.1f ms (process included)\n",
        runs, Median(oursCold), Median(oursWarm), Median(ffCold));
    if (!keep) fs::remove(big);
    return rc == 0 ? 0 : 1;
}
