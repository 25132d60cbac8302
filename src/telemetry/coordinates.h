// Conversions between the coordinate forms stored by the camera and decimal degrees.
#pragma once

#include <cstdint>
#include <optional>

#include "records.h"

// NMEA form (degrees * 100 + minutes) to decimal degrees.
double NmeaToDegrees(double nmea);

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
