// Loading telemetry from a slow card (30 MB/s, 1-3 ms per seek, simulated by the slow card library
// preloaded into a child run of this program, which counts the reads):
//   1. one-hour layout 1, 2 and 4 recordings: the records read one by one (as the readers did)
//      against in blocks (as they do now); also a layout-2 table spread through the media every
//      256 KB, as a camera interleaves it with the video;
//   2. a large .TS opened twice: before, each opening walked it and then read every record again;
//      now the walk keeps the records it reads, and the second opening is served by the cache.
//   3. a 200 MB copy from the card with the copy job: time, and the longest wait between progress reports.
//   build/bench/telemetry_load/bench_telemetry_load [--ts-mb N] [--mbps N] [--runs N] [--dir DIR] [--copy-only]
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "copy_job.h"
#include "fixture_writer.h"
#include "parser_factory.h"
#include "telemetry_cache.h"
#include "track_reader.h"
#include "ts_reader.h"
#include "ts_writer.h"

namespace fs = std::filesystem;

namespace {

struct Counts {
    unsigned long long reads = 0, bytes = 0;
};
Counts CardCounts() {
    using Fn = void (*)(uint64_t*, uint64_t*, uint64_t*, uint64_t*);
    uint64_t reads = 0, bytes = 0;
    if (auto fn = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "veltrix_slow_card_counts"))) fn(&reads, &bytes, nullptr, nullptr);
    return {reads, bytes};
}

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

MediaInfo Parsed(const fs::path& path) {
    MediaInfo info;
    const auto parser = CreateVideoParser(path);
    parser->SetMediaInfo(&info);
    if (parser->Parse(path) != 0) std::fprintf(stderr, "%s: not accepted\n", path.c_str());
    return info;
}

const std::vector<ChunkRef>& ChunksOf(const MediaInfo& info) {
    return info.m_uLayout == kLayoutJtdMeta ? info.m_Chunks1 : info.m_uLayout == kLayoutVideMeta ? info.m_Chunks2 : info.m_Chunks4;
}

// The readers' previous way: one bounded read per record.
size_t OneByOne(const fs::path& path, TelemetryLayout layout, const std::vector<ChunkRef>& chunks) {
    BoundedFile file;
    if (!file.Open(path)) return 0;
    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
    std::vector<uint8_t> record(layout == kLayoutJtdMeta ? kLayout1RecordBytes
                                : layout == kLayoutVideMeta ? kLayout2RecordBytes
                                                            : kLayout4ChunkBytes);
    for (const ChunkRef& chunk : chunks) {
        if (!file.TryReadAt(chunk.offset, record.data(), record.size())) continue;
        if (layout == kLayoutJtdMeta) AppendLayout1Record(record.data(), track, gsensor);
        if (layout == kLayoutVideMeta) AppendLayout2Record(record.data(), track, gsensor, vehicles);
        if (layout == kLayoutGpsBox) AppendLayout4Chunk(record.data(), track, gsensor);
    }
    return track.size();
}

size_t InBlocks(const fs::path& path, TelemetryLayout layout, const std::vector<ChunkRef>& chunks) {
    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
    if (layout == kLayoutJtdMeta) ReadLayout1Track(path, chunks, track, gsensor);
    if (layout == kLayoutVideMeta) ReadLayout2Track(path, chunks, track, gsensor, vehicles);
    if (layout == kLayoutGpsBox) ReadLayout4Track(path, chunks, track, gsensor);
    return track.size();
}

// A layout-2 table spread through a sparse file, one record every `stride` bytes.
std::vector<ChunkRef> SpreadTable(const fs::path& path, size_t records, uint64_t stride) {
    const fixtures::Telemetry t = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, int(records / 5)));
    const auto encoded = fixtures::Layout2Records(t);
    std::ofstream out(path, std::ios::binary);
    std::vector<ChunkRef> chunks;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const uint64_t at = i * stride;
        out.seekp(static_cast<std::streamoff>(at));
        out.write(reinterpret_cast<const char*>(encoded[i].data()), static_cast<std::streamsize>(encoded[i].size()));
        chunks.push_back({static_cast<int32_t>(i), at});
    }
    out.seekp(static_cast<std::streamoff>(encoded.size() * stride));
    out.put(0);
    return chunks;
}

// --- child runs (on the slow card) ---

int Child(int argc, char** argv) {
    const std::string what = argv[2];
    const fs::path path = argv[3];
    const std::string mode = argc > 4 ? argv[4] : "";
    size_t fixes = 0;
    Counts before;
    auto start = std::chrono::steady_clock::now();
    if (what == "track" || what == "spread") {
        MediaInfo info;
        std::vector<ChunkRef> chunks;
        if (what == "track") {
            info = Parsed(path);
            chunks = ChunksOf(info);
        } else {
            info.m_uLayout = kLayoutVideMeta;
            const uint64_t stride = std::strtoull(argv[5], nullptr, 10);
            const size_t count = std::strtoull(argv[6], nullptr, 10);
            for (size_t i = 0; i < count; ++i)
                chunks.push_back({static_cast<int32_t>(i), i * stride});
        }
        before = CardCounts();
        start = std::chrono::steady_clock::now();
        fixes = mode == "single" ? OneByOne(path, info.m_uLayout, chunks) : InBlocks(path, info.m_uLayout, chunks);
    } else if (what == "copy") {
        // fixes: the longest time between two progress reports in ms (how soon a cancel is heard)
        CCopyJob job({{path, fs::path(mode)}});
        std::atomic<bool> cancel{false};
        before = CardCounts();
        start = std::chrono::steady_clock::now();
        auto last = start;
        double longest = 0;
        job.Run([&](const FileJobProgress&) {
            longest = std::max(longest, Ms(last));
            last = std::chrono::steady_clock::now();
        }, cancel);
        fixes = static_cast<size_t>(longest);
        fs::remove(fs::path(mode));
    } else if (what == "ts") {
        const MediaInfo catalogInfo = Parsed(path);
        CTelemetryCache cache;
        before = CardCounts();
        start = std::chrono::steady_clock::now();
        for (int opening = 0; opening < 2; ++opening) {
            if (mode == "walk-then-read") {
                MediaInfo info = catalogInfo;
                COrvexTsParser parser;
                parser.SetMediaInfo(&info);
                parser.ProbeTransportStream(path, true);
                fixes = OneByOne(path, kLayoutVideMeta, info.m_Chunks2);
            } else if (mode == "walk-each-time") {
                MediaInfo info = catalogInfo; // the opening's copy, as the window made it
                RecordingTelemetry telemetry;
                LoadRecordingTelemetry(path, info, telemetry);
                fixes = telemetry.track.size();
            } else {
                fixes = LoadTelemetryThroughCache(cache, path, catalogInfo)->telemetry.track.size();
            }
        }
    }
    const Counts after = CardCounts();
    std::printf("%llu %llu %.1f %zu\n", after.reads - before.reads, after.bytes - before.bytes, Ms(start), fixes);
    return 0;
}

struct Run {
    unsigned long long reads = 0, bytes = 0;
    double ms = 0;
    size_t fixes = 0;
};

std::string g_self, g_card, g_mbps = "30";

Run OnCard(const std::string& args) {
    const std::string command = "LD_PRELOAD='" VELTRIX_SLOW_CARD_LIBRARY "' VELTRIX_SLOW_CARD_DIR='" + g_card +
                                "' VELTRIX_SLOW_CARD_MBPS=" + g_mbps + " VELTRIX_SLOW_CARD_SEEK_MS=1-3 '" + g_self +
                                "' --child " + args;
    Run r;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        if (std::fscanf(p, "%llu %llu %lf %zu", &r.reads, &r.bytes, &r.ms, &r.fixes) != 4)
            std::fprintf(stderr, "child failed: %s\n", command.c_str());
        ::pclose(p);
    }
    return r;
}

Run Median(int runs, const std::string& args) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i)
        all.push_back(OnCard(args));
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    return all[all.size() / 2];
}

void Print(const char* what, const char* how, const Run& r) {
    std::printf("%-34s %-22s %8llu reads %10.1f MB %10.1f ms %7zu fixes\n", what, how, r.reads, r.bytes / 1e6, r.ms,
                r.fixes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::strcmp(argv[1], "--child") == 0) return Child(argc, argv);
    int runs = 3, tsMb = 2048;
    bool copyOnly = false;
    fs::path dir;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--copy-only")) copyOnly = true;
        else if (hasValue && !std::strcmp(argv[i], "--ts-mb")) tsMb = std::atoi(argv[++i]);
        else if (hasValue && !std::strcmp(argv[i], "--mbps")) g_mbps = argv[++i];
        else if (hasValue && !std::strcmp(argv[i], "--runs")) runs = std::max(1, std::atoi(argv[++i]));
        else if (hasValue && !std::strcmp(argv[i], "--dir")) dir = argv[++i];
    }
    g_self = fs::canonical("/proc/self/exe").string();
    if (dir.empty()) dir = fixtures::ScratchDir("bench_telemetry_load");
    g_card = (dir / "card").string();
    fs::create_directories(dir / "card/DCIM");
    std::printf("card: %s MB/s, 1-3 ms per seek; medians of %d runs\n", g_mbps.c_str(), runs);

    for (TelemetryLayout layout : {kLayoutJtdMeta, kLayoutVideMeta, kLayoutGpsBox}) {
        if (copyOnly) break;
        const fs::path path = dir / "card/DCIM" / ("2024_06_01_12000" + std::to_string(layout) + "_01.MP4");
        if (!fs::exists(path)) {
            fixtures::WriteOptions options;
            options.sparsePadding = 200ull << 20;
            fixtures::WriteRecording(path, layout, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, 3600)), options);
        }
        const std::string name = "layout " + std::to_string(layout) + ", one hour";
        Print(name.c_str(), "record by record", Median(runs, "track '" + path.string() + "' single"));
        Print(name.c_str(), "in blocks", Median(runs, "track '" + path.string() + "' blocks"));
    }
    {
        // A copy from the card: its time, and the longest wait between progress reports (in the
        // fixes column), which bounds how long a cancel waits.
        const fs::path source = dir / "card/DCIM/2024_06_01_140000_01.MP4";
        if (!fs::exists(source)) {
            std::ofstream out(source, std::ios::binary);
            const std::string block(1 << 20, 'v');
            for (int i = 0; i < 200; ++i)
                out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        Print("copy of 200 MB from the card", "copy job (ms max gap)",
              Median(1, "copy '" + source.string() + "' '" + (dir / "copy.MP4").string() + "'"));
    }
    if (!copyOnly) {
        const fs::path path = dir / "card/DCIM/spread.bin";
        const size_t records = 18000;
        const uint64_t stride = 256 << 10;
        if (!fs::exists(path)) SpreadTable(path, records, stride);
        const std::string args = "spread '" + path.string() + "' ";
        Print("layout 2, hour spread every 256 KB", "record by record",
              Median(1, args + "single " + std::to_string(stride) + " " + std::to_string(records)));
        Print("layout 2, hour spread every 256 KB", "in blocks",
              Median(1, args + "blocks " + std::to_string(stride) + " " + std::to_string(records)));
    }
    if (tsMb > 0 && !copyOnly) {
        const fs::path path = dir / "card/DCIM/2024_06_01_130000_01.TS";
        if (!fs::exists(path) || fs::file_size(path) < uint64_t(tsMb) << 20) {
            // A real stream of a minute, padded with null packets to a camera's 2 GB an hour (about
            // 4.5 Mbit/s, one record every 114 KB), repeated until the file is as large as asked.
            const fs::path piece = dir / "piece.TS";
            fixtures::WriteTsRecording(piece, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 60)),
                                       {}, fixtures::MakeClip({640, 360, 60, 25, "", 0, "testsrc2"}));
            std::ifstream in(piece, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::string null(188, '\xFF');
            null[0] = 0x47, null[1] = 0x1F, null[2] = static_cast<char>(0xFF), null[3] = 0x10;
            while (bytes.size() + 188 <= (34u << 20))
                bytes += null;
            std::ofstream out(path, std::ios::binary);
            for (uint64_t written = 0; written < (uint64_t(tsMb) << 20); written += bytes.size())
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        const std::string name = ".TS of " + std::to_string(fs::file_size(path) >> 20) + " MB, opened twice";
        Print(name.c_str(), "before: walk+records x2", Median(1, "ts '" + path.string() + "' walk-then-read"));
        Print(name.c_str(), "walk (records kept) x2", Median(1, "ts '" + path.string() + "' walk-each-time"));
        Print(name.c_str(), "after: one walk, cache", Median(1, "ts '" + path.string() + "' cache"));
    }
    return 0;
}
