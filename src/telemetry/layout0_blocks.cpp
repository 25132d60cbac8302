#include "layout0_blocks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bounded_file.h"
#include "local_time.h"

namespace {
constexpr int kIditFirstYear = 1900;
// Offsets of the date bytes in a raw fix: year since 2000, month, day, hour, minute, second.
constexpr size_t kRawFixDate = 22;
} // namespace

bool PlausibleDateTime(int year, int month, int day, int hour, int minute, int second) {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59 && year >= 0;
}

uint32_t ClipBlockSize(const BoundedFile& file, uint64_t offset, uint64_t size) {
    return static_cast<uint32_t>(std::min<uint64_t>({size, file.Remaining(offset), UINT32_MAX}));
}

std::optional<int64_t> GpsBlockStartTime(BoundedFile& file, uint64_t offset, uint32_t size,
                                         uint8_t rateByte) {
    const uint32_t rate = rateByte == 0 ? 1 : rateByte;
    const uint32_t records = size / kRawFixSize;
    for (uint32_t i = 0; i < records; ++i) {
        uint8_t date[6];
        file.ReadAt(offset + uint64_t{i} * kRawFixSize + kRawFixDate, date, sizeof date);
        const int year = date[0], month = date[1], day = date[2], hour = date[3], minute = date[4],
                  second = date[5];
        if (year == 0 || !PlausibleDateTime(year, month, day, hour, minute, second)) continue;
        const auto t = TryLocalWallClockToTime(year + 2000, month, day, hour, minute, second);
        if (!t) continue; // a time the C library cannot represent names no start
        return *t - static_cast<int64_t>(i / rate);
    }
    return std::nullopt;
}

std::optional<int64_t> IditStartTime(const char* text, size_t length) {
    char buffer[kIditTextMax + 1] = {};
    std::memcpy(buffer, text, std::min(length, kIditTextMax));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const int fields =
        std::sscanf(buffer, "%04d-%02d-%02d %02d:%02d:%02d", &year, &month, &day, &hour, &minute, &second);
    if (fields != 6 || year < kIditFirstYear || !PlausibleDateTime(year, month, day, hour, minute, second))
        return std::nullopt;
    return TryLocalWallClockToTime(year, month, day, hour, minute, second);
}
