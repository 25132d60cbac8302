#include "fuzz_input_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "mp4_reader.h"

namespace {
constexpr size_t kSweepChunks = 64;

int InputFd() {
    static const int fd = [] {
        const int created = memfd_create("veltrix-fuzz-input", MFD_CLOEXEC);
        if (created < 0) std::abort();
        return created;
    }();
    return fd;
}
} // namespace

const std::filesystem::path& WriteFuzzInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path path = "/proc/self/fd/" + std::to_string(InputFd());
    const int fd = InputFd();
    if (ftruncate(fd, 0) != 0) std::abort();
    size_t written = 0;
    while (written < size) {
        const ssize_t n = pwrite(fd, data + written, size - written, static_cast<off_t>(written));
        if (n <= 0) std::abort();
        written += static_cast<size_t>(n);
    }
    return path;
}

std::vector<ChunkRef> FuzzChunks(const std::filesystem::path& path, size_t fileSize, TelemetryLayout layout,
                                 size_t recordSize) {
    MediaInfo info;
    COrvex3gpParser parser;
    parser.SetMediaInfo(&info);
    parser.Parse(path);
    std::vector<ChunkRef> chunks = layout == kLayoutJtdMeta    ? info.m_Chunks1
                                   : layout == kLayoutVideMeta ? info.m_Chunks2
                                                               : info.m_Chunks4;
    auto add = [&](uint64_t offset) { chunks.push_back({static_cast<int32_t>(chunks.size()), offset}); };
    for (size_t i = 0; i < kSweepChunks && i * recordSize < fileSize; ++i)
        add(i * recordSize);
    for (uint64_t back :
         {uint64_t{recordSize} + 1, uint64_t{recordSize}, uint64_t{recordSize} - 1, uint64_t{1}})
        if (back <= fileSize) add(fileSize - back);
    add(fileSize);
    add(~uint64_t{0});
    return chunks;
}
