// Vehicle sample rules: every field's text, the steering and turn-light states, the sample chosen
// for a playback time, and the gauges filled from one sample.
#include "vehicle_sample_view.h"

#include "language.h"
#include "property_controls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::string English(unsigned id) {
    return LoadLangStringFor(1033, id);
}
std::string Japanese(unsigned id) {
    return LoadLangStringFor(1041, id);
}

const QString kInvalid = QStringLiteral("Invalid Data");

VehicleSample AllUnavailable() {
    VehicleSample sample;
    std::memset(&sample, 0xFF, sizeof sample);
    return sample;
}

std::vector<int> States(const std::vector<uint8_t>& bytes, TurnLightsState& memory) {
    std::vector<int> states;
    for (uint8_t byte : bytes)
        states.push_back(NextTurnSignalState(byte, memory));
    return states;
}

} // namespace

TEST(VehicleTurnLights, SteadySignalBlinksAndAChangeRestartsLit) {
    TurnLightsState memory;
    EXPECT_EQ(States({1, 1, 1, 1, 1}, memory), std::vector<int>({1, 1, 0, 0, 1}));
    EXPECT_EQ(States({2, 2, 2}, memory), std::vector<int>({2, 2, 0}));
    EXPECT_EQ(States({3}, memory), std::vector<int>({3}));
    EXPECT_EQ(States({255, 3, 0, 7, 1}, memory), std::vector<int>({-1, 3, 0, 0, 1}));
    EXPECT_EQ(memory.m_nLastTurnLights, 1);
    EXPECT_EQ(memory.m_nTurnBlink, 1);
}

TEST(VehicleSteering, ByteToPercentAndSide) {
    EXPECT_EQ(SteeringFromByte(127).value, 2);
    EXPECT_EQ(SteeringFromByte(127).right, 1);
    EXPECT_EQ(SteeringFromByte(78).value, 100);
    EXPECT_EQ(SteeringFromByte(0).value, 100);
    EXPECT_EQ(SteeringFromByte(0).right, 1);
    EXPECT_EQ(SteeringFromByte(178).value, 100);
    EXPECT_EQ(SteeringFromByte(178).right, 0);
    EXPECT_EQ(SteeringFromByte(129).value, 2);
    EXPECT_EQ(SteeringFromByte(128).value, 0);
    EXPECT_EQ(SteeringFromByte(128).right, 0);
    EXPECT_EQ(SteeringFromByte(255).value, -1);
    EXPECT_EQ(SteeringFromByte(255).right, 0);
}

TEST(VehicleTexts, GearAcceleratorAndPercent) {
    EXPECT_EQ(GearText(4), kInvalid);
    EXPECT_EQ(GearText(15), kInvalid);
    EXPECT_EQ(GearText(0), kInvalid);
    EXPECT_EQ(GearText(5), QStringLiteral("M1"));
    EXPECT_EQ(GearText(14), QStringLiteral("M10"));
    EXPECT_EQ(GearText(1), QStringLiteral("N"));
    EXPECT_EQ(GearText(2), QStringLiteral("R"));
    EXPECT_EQ(GearText(3), QStringLiteral("P"));
    EXPECT_EQ(GearText(16), QStringLiteral("D"));

    EXPECT_EQ(AcceleratorText(4095), QString());
    EXPECT_EQ(AcceleratorText(0), QString());
    EXPECT_EQ(AcceleratorText(4096), QStringLiteral("0%"));
    EXPECT_EQ(AcceleratorText(4135), QStringLiteral("0%"));
    EXPECT_EQ(AcceleratorText(4136), QStringLiteral("1%"));
    EXPECT_EQ(AcceleratorText(65534), QStringLiteral("1535%"));
    EXPECT_EQ(AcceleratorText(65535), kInvalid);

    EXPECT_EQ(PercentText(0), QStringLiteral("0%"));
    EXPECT_EQ(PercentText(254), QStringLiteral("254%"));
    EXPECT_EQ(PercentText(255), kInvalid);
    EXPECT_EQ(EngineSpeedText(2500), QStringLiteral("2500 RPM"));
    EXPECT_EQ(EngineSpeedText(65535), kInvalid);
}

TEST(VehicleTexts, SpeedTemperaturesAndDate) {
    EXPECT_EQ(VehicleSpeedText(6200), QStringLiteral("100 KM/H"));
    EXPECT_EQ(VehicleSpeedText(61), QStringLiteral("0 KM/H"));
    EXPECT_EQ(VehicleSpeedText(65535), kInvalid);

    EXPECT_EQ(OutsideTemperatureText(81), QString::fromUtf8("0\xC2\xB0"
                                                            "C"));
    EXPECT_EQ(OutsideTemperatureText(82), QString::fromUtf8("1\xC2\xB0"
                                                            "C"));
    EXPECT_EQ(OutsideTemperatureText(80), QString::fromUtf8("0\xC2\xB0"
                                                            "C"));
    EXPECT_EQ(OutsideTemperatureText(79), kInvalid);
    EXPECT_EQ(OutsideTemperatureText(255), kInvalid);
    EXPECT_EQ(EngineTemperatureText(48), QString::fromUtf8("0\xC2\xB0"
                                                           "C"));
    EXPECT_EQ(EngineTemperatureText(138), QString::fromUtf8("90\xC2\xB0"
                                                            "C"));
    EXPECT_EQ(EngineTemperatureText(47), kInvalid);
    EXPECT_EQ(EngineTemperatureText(255), kInvalid);

    VehicleSample sample = AllUnavailable();
    EXPECT_EQ(DateTimeText(sample), kInvalid);
    sample.year = 2024;
    sample.month = 3;
    sample.day = 7;
    sample.hour = 9;
    sample.minute = 5;
    sample.second = 0;
    EXPECT_EQ(DateTimeText(sample), QStringLiteral("2024/03/07 09:05:00"));
}

TEST(VehicleTexts, BrakeInTheGivenLanguage) {
    EXPECT_EQ(BrakeText(0, English), QStringLiteral("OFF"));
    EXPECT_EQ(BrakeText(1, English), QStringLiteral("ON"));
    EXPECT_EQ(BrakeText(7, English), QStringLiteral("ON"));
    EXPECT_EQ(BrakeText(8, English), QStringLiteral("Auto"));
    EXPECT_EQ(BrakeText(9, English), QStringLiteral("On+Auto"));
    EXPECT_EQ(BrakeText(254, English), QStringLiteral("On+Auto"));
    EXPECT_EQ(BrakeText(255, English), kInvalid);
    EXPECT_EQ(BrakeText(8, Japanese), QString::fromStdString(LoadLangStringFor(1041, 1096)));
    EXPECT_FALSE(BrakeText(8, Japanese).isEmpty());
}

TEST(VehicleSampleChoice, RoundsUpAfterAThirdOfTheStep) {
    // Five samples per second: a step of 200 ms, rounding up past 66.7 ms into it.
    EXPECT_EQ(VehicleSampleIndexAt(0, 5, 100), 0u);
    EXPECT_EQ(VehicleSampleIndexAt(66, 5, 100), 0u);
    EXPECT_EQ(VehicleSampleIndexAt(67, 5, 100), 1u);
    EXPECT_EQ(VehicleSampleIndexAt(200, 5, 100), 1u);
    EXPECT_EQ(VehicleSampleIndexAt(267, 5, 100), 2u);
    EXPECT_EQ(VehicleSampleIndexAt(1000, 1, 100), 1u);
    EXPECT_EQ(VehicleSampleIndexAt(1334, 1, 100), 2u);
    // Never past the last sample.
    EXPECT_EQ(VehicleSampleIndexAt(60000, 5, 100), 99u);
    EXPECT_EQ(VehicleSampleIndexAt(INT64_MAX, 5, 100), 99u);
}

TEST(VehicleSampleChoice, NegativeTimesHighAndZeroRatesStayInRange) {
    EXPECT_EQ(VehicleSampleIndexAt(-1, 5, 100), 0u);
    EXPECT_EQ(VehicleSampleIndexAt(-100000, 5, 100), 0u);
    // Above 1000 per second the step 1000 / rate is 0: no modulo by it, no rounding.
    EXPECT_EQ(VehicleSampleIndexAt(10, 2000, 100), 20u);
    EXPECT_EQ(VehicleSampleIndexAt(10, 4000000000u, 100), 99u);
    EXPECT_EQ(VehicleSampleIndexAt(5000, 0, 100), 0u);
    EXPECT_EQ(VehicleSampleIndexAt(5000, 5, 1), 0u);
    EXPECT_EQ(VehicleSampleIndexAt(5000, 5, 0), 0u);
}

TEST(VehicleGaugesFill, OneSampleReachesEveryGauge) {
    CPropertyText accelerator, brake, engineSpeed, power, torque, gear, oil, water, speed, dateTime, outside;
    CPropertySteeringAngle steering;
    CPropertyTurnSignal turn;
    const VehicleGauges gauges{&accelerator, &brake, &steering, &engineSpeed, &power,   &torque, &gear,
                               &oil,         &water, &speed,    &dateTime,    &outside, &turn};
    VehicleSample sample = AllUnavailable();
    sample.accelerator = 4136;
    sample.brake = 8;
    sample.steeringAngle = 127;
    sample.engineSpeed = 800;
    sample.power = 12;
    sample.gear = 5;
    sample.oilTemperature = 148;
    sample.waterTemperature = 138;
    sample.speed = 6200;
    sample.outsideTemperature = 81;
    sample.turnLights = 1;
    TurnLightsState memory;
    FillVehicleGauges(sample, gauges, memory, English);

    EXPECT_EQ(accelerator.m_strValue, QStringLiteral("1%"));
    EXPECT_EQ(brake.m_strValue, QStringLiteral("Auto"));
    EXPECT_EQ(steering.m_nValue, 2);
    EXPECT_EQ(steering.m_bRight, 1);
    EXPECT_EQ(steering.m_strValue, kInvalid) << "the steering text is left alone";
    EXPECT_EQ(engineSpeed.m_strValue, QStringLiteral("800 RPM"));
    EXPECT_EQ(power.m_strValue, QStringLiteral("12%"));
    EXPECT_EQ(torque.m_strValue, kInvalid);
    EXPECT_EQ(gear.m_strValue, QStringLiteral("M1"));
    EXPECT_EQ(oil.m_strValue, QString::fromUtf8("100\xC2\xB0"
                                                "C"));
    EXPECT_EQ(water.m_strValue, QString::fromUtf8("90\xC2\xB0"
                                                  "C"));
    EXPECT_EQ(speed.m_strValue, QStringLiteral("100 KM/H"));
    EXPECT_EQ(outside.m_strValue, QString::fromUtf8("0\xC2\xB0"
                                                    "C"));
    EXPECT_EQ(dateTime.m_strValue, kInvalid);
    EXPECT_EQ(turn.m_nState, 1);
    EXPECT_EQ(speed.accessibleDescription(), QStringLiteral("100 KM/H"));
    EXPECT_EQ(turn.accessibleDescription(), QStringLiteral("Left"));

    FillVehicleGauges(sample, gauges, memory, English);
    FillVehicleGauges(sample, gauges, memory, English);
    EXPECT_EQ(turn.m_nState, 0) << "third sample of a steady signal is dark";

    // Gauges left out are skipped.
    FillVehicleGauges(AllUnavailable(), VehicleGauges{}, memory, English);
    EXPECT_EQ(memory.m_nLastTurnLights, 255);
}
