// Reads files the ways the tests of the slow card need, and prints what the card counted and how
// long the reads took:  reads=N bytes=N seeks=N ms=N [fixes=N]
//   slow_card_reader seq FILE          the whole file with read() in 1 MB steps
//   slow_card_reader random FILE K     K reads of 4 KB spread over the file (pread)
//   slow_card_reader track FILE        the recording's telemetry (counts of the track read only)
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "parser_factory.h"
#include "recording_telemetry.h"

namespace {
struct Counts {
    uint64_t reads = 0, bytes = 0, seeks = 0;
};
Counts Now() {
    using CountsFn = void (*)(uint64_t*, uint64_t*, uint64_t*, uint64_t*);
    Counts c;
    if (auto fn = reinterpret_cast<CountsFn>(dlsym(RTLD_DEFAULT, "veltrix_slow_card_counts")))
        fn(&c.reads, &c.bytes, &c.seeks, nullptr);
    return c;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string mode = argv[1];
    const char* file = argv[2];
    size_t fixes = 0;
    const Counts before = mode == "track" ? Counts{} : Now();
    auto start = std::chrono::steady_clock::now();
    Counts from = before;
    if (mode == "seq" || mode == "random") {
        const int fd = ::open(file, O_RDONLY);
        if (fd < 0) return 3;
        std::vector<char> buffer(1 << 20);
        if (mode == "seq") {
            while (::read(fd, buffer.data(), buffer.size()) > 0) {
            }
        } else {
            const long k = argc > 3 ? std::atol(argv[3]) : 10;
            const off_t size = ::lseek(fd, 0, SEEK_END);
            for (long i = 0; i < k; ++i)
                if (::pread(fd, buffer.data(), 4096, (size / k) * i) < 0) return 4;
        }
        ::close(fd);
    } else if (mode == "track") {
        MediaInfo info;
        const auto parser = CreateVideoParser(file);
        if (!parser) return 5;
        parser->SetMediaInfo(&info);
        if (parser->Parse(file) != 0) return 6;
        from = Now();
        start = std::chrono::steady_clock::now();
        RecordingTelemetry telemetry;
        if (LoadRecordingTelemetry(file, info, telemetry) != TelemetryLoad::kLoaded) return 7;
        fixes = telemetry.Fixes().size();
    } else {
        return 2;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const Counts after = Now();
    std::printf("reads=%llu bytes=%llu seeks=%llu ms=%.1f fixes=%zu\n",
                static_cast<unsigned long long>(after.reads - from.reads),
                static_cast<unsigned long long>(after.bytes - from.bytes),
                static_cast<unsigned long long>(after.seeks - from.seeks), ms, fixes);
    return 0;
}
