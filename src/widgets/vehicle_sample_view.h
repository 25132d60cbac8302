// How one vehicle sample becomes the texts and states of the vehicle gauges, and which sample
// stands for a playback time. The rules are plain functions; FillVehicleGauges applies them all.
#pragma once

#include "records.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

class CPropertyText;
class CPropertySteeringAngle;
class CPropertyTurnSignal;

// The text of every unavailable value.
QString InvalidDataText();

// Turn-light memory of the main window between samples.
struct TurnLightsState {
    int m_nLastTurnLights = 0; // turn-lights byte of the previous sample
    int m_nTurnBlink = 0;      // 0..3: lit for two samples, dark for two
};
// The turn gauge state for the next sample: -1 unavailable, 0 dark, 1 left, 2 right, 3 both.
int NextTurnSignalState(uint8_t turnLights, TurnLightsState& memory);

struct SteeringReading {
    int value = 0; // percent 0..100, -1 unavailable
    int right = 0; // 1 turned right
};
SteeringReading SteeringFromByte(uint8_t steeringAngle);

// Looks up a user-interface text by string id (LoadLangString, or a fixed language in tests).
using LangLookup = std::string (*)(unsigned id);

QString AcceleratorText(uint16_t accelerator);
QString BrakeText(uint8_t brake, LangLookup lookup);
QString EngineSpeedText(uint16_t engineSpeed);
QString PercentText(uint8_t percent); // power and torque
QString GearText(uint8_t gear);
QString VehicleSpeedText(uint16_t speed);
QString EngineTemperatureText(uint8_t temperature); // water and oil
QString OutsideTemperatureText(uint8_t temperature);
QString DateTimeText(const VehicleSample& sample);

// The gauges of the bottom row; a null pointer is skipped.
struct VehicleGauges {
    CPropertyText* accelerator = nullptr;        // 1200
    CPropertyText* brake = nullptr;              // 1201
    CPropertySteeringAngle* steering = nullptr;  // 1202
    CPropertyText* engineSpeed = nullptr;        // 1203
    CPropertyText* power = nullptr;              // 1204
    CPropertyText* torque = nullptr;             // 1205
    CPropertyText* gear = nullptr;               // 1206
    CPropertyText* oilTemperature = nullptr;     // 1207
    CPropertyText* waterTemperature = nullptr;   // 1208
    CPropertyText* speed = nullptr;              // 1209
    CPropertyText* dateTime = nullptr;           // 1210
    CPropertyText* outsideTemperature = nullptr; // 1211
    CPropertyTurnSignal* turnLights = nullptr;   // 1061
};

// Shows one sample in every gauge (the steering gauge keeps its text) and repaints them.
void FillVehicleGauges(const VehicleSample& sample, const VehicleGauges& gauges, TurnLightsState& memory,
                       LangLookup lookup);
// The same in the current user-interface language.
void FillVehicleGauges(const VehicleSample& sample, const VehicleGauges& gauges, TurnLightsState& memory);

// The sample shown at `timeMs` out of `sampleCount` samples recorded at `vehicleRate` per
// second: the sample of that moment, the next one once a third of the step has passed, never
// past the last one. A negative time counts as 0; rates above 1000 have no rounding step.
// 0 when there are no samples (the caller shows nothing then).
size_t VehicleSampleIndexAt(int64_t timeMs, uint32_t vehicleRate, size_t sampleCount);
