#include "speed_text.h"

#include <cstdio>

std::string SpeedDigits(uint16_t speedKmh, bool kmh) {
    const int shown = kmh ? speedKmh : (speedKmh * 10) / 16;
    char text[16];
    std::snprintf(text, sizeof text, "%3d", shown);
    return text;
}

std::string SpeedUnitName(bool kmh) {
    return kmh ? "Km/h" : "MPH";
}

std::string SpeedReading(uint16_t speedKmh, bool kmh) {
    std::string digits = SpeedDigits(speedKmh, kmh);
    digits.erase(0, digits.find_first_not_of(' '));
    return digits + ' ' + SpeedUnitName(kmh);
}
