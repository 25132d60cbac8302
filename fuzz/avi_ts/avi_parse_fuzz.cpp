// COrvexAviParser::Parse on any bytes.
#include "avi_reader.h"
#include "fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MediaInfo info;
    FileStatus status;
    COrvexAviParser parser;
    parser.SetMediaInfo(&info);
    parser.SetFileStatus(&status);
    const int rc = parser.Parse(WriteFuzzInput(data, size));
    if (rc == 0 && (info.m_ullFileSize != size || info.m_wWidth == 0 || info.m_uDurationMs == 0))
        __builtin_trap();
    // The blocks handed to the track loading lie inside the file.
    if (info.m_ullGpsOffset + info.m_uGpsSize > size && info.m_uGpsSize != 0) __builtin_trap();
    if (info.m_ullGsensorOffset + info.m_uGsensorSize > size && info.m_uGsensorSize != 0) __builtin_trap();
    return 0;
}
