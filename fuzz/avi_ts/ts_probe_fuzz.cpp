// COrvexTsParser::ProbeTransportStream on any bytes, in the catalog and the collecting mode; then on
// the input, 3000 null packets and the input again, so that the catalog probe's jump is reached too.
#include <cstring>
#include <vector>

#include "fuzz_input_file.h"
#include "ts_reader.h"

namespace {

void Probe(const std::filesystem::path& path, size_t size) {
    for (const bool collect : {false, true}) {
        MediaInfo info;
        COrvexTsParser parser;
        parser.SetMediaInfo(&info);
        const int rc = parser.ProbeTransportStream(path, collect);
        if (rc == 0 && (info.m_wWidth == 0 || info.m_wHeight == 0 || info.m_uDurationMs == 0 ||
                        info.m_uLayout != kLayoutVideMeta))
            __builtin_trap();
        // At most one record per packet, each inside the file.
        if (info.m_Chunks2.size() > size / 188 || (!collect && !info.m_Chunks2.empty())) __builtin_trap();
        for (const ChunkRef& chunk : info.m_Chunks2)
            if (chunk.offset > size + 2) __builtin_trap();
        if (parser.PacketsVisited() > size / 188) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Probe(WriteFuzzInput(data, size), size);
    if (size < 188) return 0;
    static std::vector<uint8_t> padded;
    const size_t whole = size / 188 * 188;
    padded.assign(data, data + whole);
    uint8_t null[188] = {0x47, 0x1F, 0xFF, 0x10};
    std::memset(null + 4, 0xFF, sizeof null - 4);
    for (int i = 0; i < 3000; ++i)
        padded.insert(padded.end(), null, null + sizeof null);
    padded.insert(padded.end(), data, data + size);
    Probe(WriteFuzzInput(padded.data(), padded.size()), padded.size());
    return 0;
}
