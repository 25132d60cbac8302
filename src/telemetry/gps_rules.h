// Conversions of the camera's record fields into GpsFix values.
#pragma once

#include <cstdint>
#include <optional>

#include "records.h"

// Rational NMEA coordinate numerator / denominator -> decimal degrees. The quotient is taken
// in single precision as the camera's software does. Empty for a zero denominator.
std::optional<double> RationalToDegrees(int32_t numerator, int32_t denominator);

// Speed in knots as numerator / denominator -> km/h as stored in GpsFix (minus 4, floored at 0).
// A zero denominator gives 0.
uint16_t RationalKnotsToKmh(int32_t numerator, int32_t denominator);

// Where the fields of one GPS part lie inside a record (offsets from the record start).
struct GpsPartLayout {
    uint32_t valid, hour, minute, second, latitude, longitude, speed, day, month, year, heading;
};
constexpr GpsPartLayout kLayout1GpsPart{32, 16, 20, 24, 36, 44, 52, 68, 72, 76, 80};
constexpr GpsPartLayout GpsPartAt(uint32_t base) {
    return {base,      base + 4,  base + 8,  base + 12, base + 20, base + 28,
            base + 36, base + 52, base + 56, base + 60, base + 64};
}

// The fix of a GPS part; all zero when the part is not valid or a coordinate cannot be formed.
GpsFix FixFromGpsPart(const uint8_t* record, const GpsPartLayout& at);

// The fix of a layout-2 vehicle sample that carries its own position.
GpsFix FixFromVehicleSample(const VehicleSample& sample);
