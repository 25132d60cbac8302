#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "box_bytes.h"
#include "coordinates.h"
#include "gps_rules.h"

using namespace boxes;

TEST(GpsRules, RationalCoordinateUsesSinglePrecisionQuotient) {
    EXPECT_NEAR(*RationalToDegrees(2232500, 1000), 22.541667, 1e-6);
    EXPECT_NEAR(*RationalToDegrees(-11400000, 10000), -(11 + 40.0 / 60), 1e-6);
    // 1/3 in single precision differs from the double quotient.
    const double third = *RationalToDegrees(1, 3);
    EXPECT_NEAR(third, static_cast<double>(1.0f / 3.0f) / 60, 1e-15);
    EXPECT_GT(std::fabs(third - 1.0 / 3.0 / 60), 1e-12);
    EXPECT_FALSE(RationalToDegrees(2232500, 0).has_value());
}

TEST(GpsRules, NmeaDoubleSurvivesAnyValue) {
    EXPECT_NEAR(NmeaToDegrees(5230.5), 52 + 30.5 / 60, 1e-9);
    EXPECT_TRUE(std::isnan(NmeaToDegrees(std::nan(""))));
    EXPECT_FALSE(std::isfinite(NmeaToDegrees(HUGE_VAL)));
    EXPECT_TRUE(std::isfinite(NmeaToDegrees(1e300)));
}

TEST(GpsRules, SpeedFromKnots) {
    EXPECT_EQ(RationalKnotsToKmh(10, 1), 14) << "18.52 km/h truncated, minus 4";
    EXPECT_EQ(RationalKnotsToKmh(2000, 1000), 0) << "3 km/h is below 4";
    EXPECT_EQ(RationalKnotsToKmh(5, 2), 0);
    EXPECT_EQ(RationalKnotsToKmh(27, 1), 46);
    EXPECT_EQ(RationalKnotsToKmh(10, 0), 0) << "zero denominator";
    EXPECT_EQ(RationalKnotsToKmh(-10, 1), static_cast<uint16_t>(-18 - 4))
        << "low 16 bits of a negative speed";
}

namespace {
Bytes GpsPart(uint8_t valid, int32_t latN, int32_t latD, int32_t lonN, int32_t lonD) {
    Bytes p = std::string(1, static_cast<char>(valid)) + Zeros(3) + LE32(14) + LE32(30) + LE32(59) +
              Zeros(4) + LE32(latN) + LE32(latD) + LE32(lonN) + LE32(lonD) + LE32(10) + LE32(1) + Zeros(8) +
              LE32(7) + LE32(6) + LE32(0x118) + "\x2D" + Zeros(7);
    return p;
}
} // namespace

TEST(GpsRules, FixFromGpsPart) {
    const Bytes part = GpsPart(3, 5230500, 1000, 1324000, 1000);
    ASSERT_EQ(part.size(), 72u);
    const GpsFix fix = FixFromGpsPart(reinterpret_cast<const uint8_t*>(part.data()), GpsPartAt(0));
    EXPECT_NEAR(fix.latitude, 52.508333, 1e-6);
    EXPECT_NEAR(fix.longitude, 13.4, 1e-6);
    EXPECT_EQ(fix.speed, 14);
    EXPECT_EQ(fix.year, 0x18) << "low byte of the year field";
    EXPECT_EQ(fix.month, 6);
    EXPECT_EQ(fix.day, 7);
    EXPECT_EQ(fix.hour, 14);
    EXPECT_EQ(fix.second, 59);
    EXPECT_EQ(fix.heading, 0x2D);
    EXPECT_EQ(fix.flags, 3) << "the valid byte itself";
}

TEST(GpsRules, InvalidOrUnusablePartGivesAllZeroFix) {
    GpsFix zero;
    std::memset(&zero, 0, sizeof zero);
    for (const Bytes& part : {GpsPart(0, 5230500, 1000, 1324000, 1000), GpsPart(1, 5230500, 0, 1324000, 1000),
                              GpsPart(1, 5230500, 1000, 1324000, 0)}) {
        const GpsFix fix = FixFromGpsPart(reinterpret_cast<const uint8_t*>(part.data()), GpsPartAt(0));
        EXPECT_EQ(std::memcmp(&fix, &zero, sizeof fix), 0);
    }
}

TEST(GpsRules, VehicleSamplePosition) {
    VehicleSample s;
    std::memset(&s, 0, sizeof s);
    s.latitude = 0x80000000u | 81000000u;
    s.longitude = 81000000u;
    s.speed = 62 * 50 + 61;
    s.year = 2024;
    s.month = 6;
    const GpsFix north = FixFromVehicleSample(s);
    EXPECT_DOUBLE_EQ(north.latitude, 22.5);
    EXPECT_DOUBLE_EQ(north.longitude, -22.5) << "bit 31 clear: west";
    EXPECT_EQ(north.speed, 50);
    EXPECT_EQ(north.year, 24);
    EXPECT_EQ(north.flags, 1);
    s.latitude = 81000000u;
    EXPECT_DOUBLE_EQ(FixFromVehicleSample(s).latitude, -22.5) << "south";
}
