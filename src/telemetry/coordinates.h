// Conversions between the coordinate forms stored by the camera and decimal degrees.
#pragma once

#include <cstdint>
#include <optional>

#include "records.h"

// Degrees + minutes / 100 (22.325 for 22 degrees 32.5 minutes) to decimal degrees: the integer
// part (truncated toward zero) plus the fractional part * 100 / 60. The one conversion of this form:
// every reader, the probe and the map go through it. NaN stays NaN; nothing overflows.
double DegreesMinutesToDegrees(double value);

// NMEA form (degrees * 100 + minutes, e.g. 2232.5) to decimal degrees.
inline double NmeaToDegrees(double nmea) {
    return DegreesMinutesToDegrees(nmea / 100.0);
}

// A raw layout-0 coordinate for display; empty when either converted value is 200 or more
// (the camera's mark for an unusable fix).
struct LatLon {
    double latitude;
    double longitude;
};
std::optional<LatLon> RawFixToDegrees(const GpsFix& raw);

// Sign-magnitude units of 1/3600000 degree; bit 31 set gives a positive value.
double SignMagnitudeToDegrees(uint32_t value);
constexpr uint32_t kNoVehiclePosition = 0xFFFFFFFFu;

// Acceleration of one G-sensor word in G: the low byte as signed 8-bit, times full scale / 128.
double GSensorAxisToG(int16_t word, uint8_t fullScale);
