#include "list_columns.h"

#include <cstdio>

#include "local_time.h"

namespace {

struct NamedResolution {
    unsigned width, height;
    const char* name;
};

constexpr NamedResolution kResolutions[] = {
    {2048, 1600, "QXGA"}, {2048, 1536, "QXGA"}, {1920, 1080, "1080P HD"}, {1600, 1200, "UXGA"},
    {1280, 1024, "SXGA"}, {1280, 720, "720P"},  {1152, 870, "MAC"},       {1024, 768, "XGA"},
    {800, 600, "SVGA"},   {720, 480, "480P"},   {640, 480, "VGA"},        {320, 240, "CIF"},
};

template <typename... Args> std::string Format(const char* format, Args... args) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, format, args...);
    return n < 0 ? std::string()
                 : std::string(text, std::min<size_t>(static_cast<size_t>(n), sizeof text - 1));
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string GroupIdText(int group) {
    return Format("G%d", group);
}

std::string FileIdText(int group, int position) {
    return Format("G%d-%d", group, position);
}

// Five characters, not bytes: a UTF-8 character is never cut in half. A stray
// continuation byte without its lead byte counts as one character.
std::string FileNameColumnText(const std::string& fileName) {
    size_t at = 0;
    for (int characters = 0; characters < 5; ++characters) {
        if (at >= fileName.size()) return {};
        const unsigned char lead = static_cast<unsigned char>(fileName[at++]);
        if (lead >= 0xC0)
            while (at < fileName.size() && IsContinuationByte(fileName[at]))
                ++at;
    }
    return fileName.substr(at);
}

std::string TimeOfDayText(int64_t time) {
    return FormatLocalTime(time, "%H:%M:%S");
}

std::string EndTimeText(int64_t start, uint32_t durationMs) {
    return FormatLocalTime(start + durationMs / 1000, "%H:%M:%S");
}

std::string MegabytesText(uint64_t bytes) {
    return Format(" %lld MB", static_cast<long long>(bytes >> 20));
}

std::string GroupStartText(int64_t time) {
    return FormatLocalTime(time, "%Y-%m-%d %H:%M:%S");
}

std::string GroupLengthText(int64_t lengthMs) {
    return Format(" %lld s ", static_cast<long long>(lengthMs / 1000));
}

std::string ResolutionName(unsigned width, unsigned height) {
    for (const NamedResolution& r : kResolutions)
        if (r.width == width && r.height == height) return r.name;
    if (width != 0 && height != 0) return Format("%ux%u", width, height);
    return {};
}
