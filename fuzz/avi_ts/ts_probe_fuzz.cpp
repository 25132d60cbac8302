// COrvexTsParser::ProbeTransportStream on any bytes, in the catalog and the collecting mode.
#include "fuzz_input_file.h"
#include "ts_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto& path = WriteFuzzInput(data, size);
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
    return 0;
}
