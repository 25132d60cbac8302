// COrvex3gpParser::Parse on any bytes.
#include "fuzz_input_file.h"
#include "mp4_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MediaInfo info;
    FileStatus status;
    COrvex3gpParser parser;
    parser.SetMediaInfo(&info);
    parser.SetFileStatus(&status);
    const int rc = parser.Parse(WriteFuzzInput(data, size));
    // Whatever was accepted must describe this file.
    if (rc == 0 && (info.m_ullFileSize != size || info.m_wWidth == 0 || info.m_uDurationMs == 0))
        __builtin_trap();
    if (info.m_Chunks1.size() + info.m_Chunks2.size() + info.m_Chunks4.size() > size / 4)
        __builtin_trap(); // a chunk list can never hold more entries than the file has table bytes
    return 0;
}
