#include "coordinates.h"

#include <cmath>

double DegreesMinutesToDegrees(double value) {
    const double degrees = std::trunc(value);
    return degrees + (value - degrees) * 100.0 / 60.0;
}

std::optional<LatLon> RawFixToDegrees(const GpsFix& raw) {
    const LatLon converted{NmeaToDegrees(raw.latitude), NmeaToDegrees(raw.longitude)};
    if (!(converted.latitude < 200.0) || !(converted.longitude < 200.0)) return std::nullopt;
    return converted;
}

double SignMagnitudeToDegrees(uint32_t value) {
    const double magnitude = static_cast<double>(value & 0x7FFFFFFFu) / 3600000.0;
    return (value & 0x80000000u) ? magnitude : -magnitude;
}

double GSensorAxisToG(int16_t word, uint8_t fullScale) {
    const int lowByte = static_cast<int8_t>(static_cast<uint16_t>(word) & 0xFF);
    const int scale = fullScale == 0 ? 8 : fullScale;
    return lowByte * scale / 128.0;
}
