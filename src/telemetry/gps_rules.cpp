#include "gps_rules.h"

#include <cmath>
#include <cstring>

#include "bounded_file.h"
#include "coordinates.h"

namespace {
constexpr double kKnotsToKmh = 1.852;
constexpr uint16_t kSpeedUnitsPerKmh = 62;

uint8_t LowByte(const uint8_t* record, uint32_t offset) {
    return record[offset];
}
int32_t LoadLE32s(const uint8_t* p) {
    return static_cast<int32_t>(LoadLE32(p));
}
} // namespace

std::optional<double> RationalToDegrees(int32_t numerator, int32_t denominator) {
    if (denominator == 0) return std::nullopt;
    const float quotient = static_cast<float>(numerator) / static_cast<float>(denominator);
    return NmeaToDegrees(static_cast<double>(quotient));
}

uint16_t RationalKnotsToKmh(int32_t numerator, int32_t denominator) {
    if (denominator == 0) return 0;
    const float knots = static_cast<float>(numerator) / static_cast<float>(denominator);
    // |knots| <= 2^31, so the product fits a 64-bit integer.
    const auto whole = static_cast<int64_t>(static_cast<double>(knots) * kKnotsToKmh);
    const auto s = static_cast<uint16_t>(static_cast<uint64_t>(whole) & 0xFFFFu);
    return s > 4 ? static_cast<uint16_t>(s - 4) : 0;
}

GpsFix FixFromGpsPart(const uint8_t* record, const GpsPartLayout& at) {
    GpsFix fix;
    std::memset(&fix, 0, sizeof fix);
    const uint8_t valid = record[at.valid];
    if (valid == 0) return fix;
    const auto lat = RationalToDegrees(LoadLE32s(record + at.latitude), LoadLE32s(record + at.latitude + 4));
    const auto lon =
        RationalToDegrees(LoadLE32s(record + at.longitude), LoadLE32s(record + at.longitude + 4));
    if (!lat || !lon) return fix; // a zero denominator leaves no position: the slot stays an invalid fix
    fix.latitude = *lat;
    fix.longitude = *lon;
    fix.speed = RationalKnotsToKmh(LoadLE32s(record + at.speed), LoadLE32s(record + at.speed + 4));
    fix.year = LowByte(record, at.year);
    fix.month = LowByte(record, at.month);
    fix.day = LowByte(record, at.day);
    fix.hour = LowByte(record, at.hour);
    fix.minute = LowByte(record, at.minute);
    fix.second = LowByte(record, at.second);
    fix.heading = record[at.heading];
    fix.flags = valid;
    return fix;
}

GpsFix FixFromVehicleSample(const VehicleSample& sample) {
    GpsFix fix;
    std::memset(&fix, 0, sizeof fix);
    fix.latitude = SignMagnitudeToDegrees(sample.latitude);
    fix.longitude = SignMagnitudeToDegrees(sample.longitude);
    fix.speed = static_cast<uint16_t>(sample.speed / kSpeedUnitsPerKmh);
    fix.year = static_cast<uint8_t>(sample.year - 2000);
    fix.month = sample.month;
    fix.day = sample.day;
    fix.hour = sample.hour;
    fix.minute = sample.minute;
    fix.second = sample.second;
    fix.flags = 1;
    return fix;
}
