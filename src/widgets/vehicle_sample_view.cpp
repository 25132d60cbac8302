#include "vehicle_sample_view.h"

#include "language.h"
#include "property_controls.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint8_t kByteUnavailable = 255;
constexpr uint16_t kWordUnavailable = 65535;
constexpr unsigned kAutoBrakeTextId = 1096;
constexpr unsigned kOnAutoBrakeTextId = 1097;

QString Degrees(int value) {
    return QStringLiteral("%1\u00B0C").arg(value);
}

void SetValue(CPropertyText* gauge, const QString& text) {
    if (!gauge) return;
    gauge->m_strValue = text;
    gauge->Refresh();
}

} // namespace

QString InvalidDataText() {
    return QStringLiteral("Invalid Data");
}

int NextTurnSignalState(uint8_t turnLights, TurnLightsState& memory) {
    if (turnLights != memory.m_nLastTurnLights) memory.m_nTurnBlink = 0;
    int state = 0;
    if (turnLights == kByteUnavailable) {
        memory.m_nTurnBlink = 0;
        state = -1;
    } else if (turnLights >= 1 && turnLights <= 3) {
        state = memory.m_nTurnBlink >= 2 ? 0 : turnLights;
        memory.m_nTurnBlink = (memory.m_nTurnBlink + 1) % 4;
    } else {
        memory.m_nTurnBlink = 0;
    }
    memory.m_nLastTurnLights = turnLights;
    return state;
}

SteeringReading SteeringFromByte(uint8_t v) {
    if (v == kByteUnavailable) return {-1, 0};
    if (v > 128) return {std::min(2 * v - 256, 100), 0};
    if (v < 128) return {std::min(2 * (128 - v), 100), 1};
    return {0, 0};
}

QString AcceleratorText(uint16_t accelerator) {
    if (accelerator == kWordUnavailable) return InvalidDataText();
    if (accelerator < 4096) return QString();
    const float percent = static_cast<float>(accelerator - 4096) * 0.25f / 10.0f;
    return QStringLiteral("%1%").arg(static_cast<int>(percent));
}

QString BrakeText(uint8_t brake, LangLookup lookup) {
    if (brake == kByteUnavailable) return InvalidDataText();
    if (brake == 0) return QStringLiteral("OFF");
    if (brake <= 7) return QStringLiteral("ON");
    return QString::fromStdString(lookup(brake == 8 ? kAutoBrakeTextId : kOnAutoBrakeTextId));
}

QString EngineSpeedText(uint16_t engineSpeed) {
    return engineSpeed == kWordUnavailable ? InvalidDataText() : QStringLiteral("%1 RPM").arg(engineSpeed);
}

QString PercentText(uint8_t percent) {
    return percent == kByteUnavailable ? InvalidDataText() : QStringLiteral("%1%").arg(percent);
}

QString GearText(uint8_t gear) {
    switch (gear) {
    case 1:
        return QStringLiteral("N");
    case 2:
        return QStringLiteral("R");
    case 3:
        return QStringLiteral("P");
    case 16:
        return QStringLiteral("D");
    default:
        break;
    }
    if (gear >= 5 && gear <= 14) return QStringLiteral("M%1").arg(gear - 4);
    return InvalidDataText();
}

QString VehicleSpeedText(uint16_t speed) {
    return speed == kWordUnavailable ? InvalidDataText() : QStringLiteral("%1 KM/H").arg(speed / 62);
}

QString EngineTemperatureText(uint8_t temperature) {
    if (temperature == kByteUnavailable || temperature < 48) return InvalidDataText();
    return Degrees(temperature - 48);
}

QString OutsideTemperatureText(uint8_t temperature) {
    if (temperature == kByteUnavailable || temperature < 80) return InvalidDataText();
    return Degrees((temperature - 80) / 2);
}

QString DateTimeText(const VehicleSample& sample) {
    if (sample.month == kByteUnavailable) return InvalidDataText();
    const int year = sample.year; // packed field: read it once by value
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", year, sample.month, sample.day, sample.hour,
                             sample.minute, sample.second);
}

void FillVehicleGauges(const VehicleSample& sample, const VehicleGauges& gauges, TurnLightsState& memory,
                       LangLookup lookup) {
    const int turnState = NextTurnSignalState(sample.turnLights, memory);
    if (gauges.turnLights) {
        gauges.turnLights->m_nState = turnState;
        gauges.turnLights->Refresh();
    }
    SetValue(gauges.accelerator, AcceleratorText(sample.accelerator));
    SetValue(gauges.brake, BrakeText(sample.brake, lookup));
    if (gauges.steering) {
        const SteeringReading steering = SteeringFromByte(sample.steeringAngle);
        gauges.steering->m_nValue = steering.value;
        gauges.steering->m_bRight = steering.right;
        gauges.steering->Refresh();
    }
    SetValue(gauges.engineSpeed, EngineSpeedText(sample.engineSpeed));
    SetValue(gauges.power, PercentText(sample.power));
    SetValue(gauges.torque, PercentText(sample.torque));
    SetValue(gauges.gear, GearText(sample.gear));
    SetValue(gauges.speed, VehicleSpeedText(sample.speed));
    SetValue(gauges.oilTemperature, EngineTemperatureText(sample.oilTemperature));
    SetValue(gauges.waterTemperature, EngineTemperatureText(sample.waterTemperature));
    SetValue(gauges.outsideTemperature, OutsideTemperatureText(sample.outsideTemperature));
    SetValue(gauges.dateTime, DateTimeText(sample));
}

void FillVehicleGauges(const VehicleSample& sample, const VehicleGauges& gauges, TurnLightsState& memory) {
    FillVehicleGauges(sample, gauges, memory, &LoadLangString);
}

size_t VehicleSampleIndexAt(int64_t timeMs, uint32_t vehicleRate, size_t sampleCount) {
    if (sampleCount == 0) return 0;
    const int64_t t = timeMs < 0 ? 0 : timeMs;
    // In floating point: rate x time overflows 64 bits for absurd rates.
    double k = std::floor(static_cast<double>(vehicleRate) * static_cast<double>(t) / 1000.0);
    if (vehicleRate > 0) {
        const int64_t step = 1000 / vehicleRate; // 0 above 1000 per second: nothing to round
        if (step > 0 && static_cast<double>(t % step) > 1000.0 / vehicleRate / 3.0) k += 1;
    }
    const double last = static_cast<double>(sampleCount - 1);
    return k >= last ? sampleCount - 1 : static_cast<size_t>(k);
}
