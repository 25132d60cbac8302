// How a GPS speed is shown: the speed label of the window, the clip overlay and the subtitle
// exports all go through these, so a clip says what the label said at the same moment.
#pragma once

#include <cstdint>
#include <string>

// "%3d" of the speed in the unit: km/h as given, MPH as (km/h x 10) / 16 truncated.
std::string SpeedDigits(uint16_t speedKmh, bool kmh);
// "Km/h" or "MPH".
std::string SpeedUnitName(bool kmh);
// The digits without their padding, a space and the unit: "47 Km/h".
std::string SpeedReading(uint16_t speedKmh, bool kmh);
