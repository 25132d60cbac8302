#include <gtest/gtest.h>

#include "coordinates.h"

TEST(Coordinates, NmeaFormToDecimalDegrees) {
    EXPECT_NEAR(NmeaToDegrees(2232.5), 22.541667, 1e-6);
    EXPECT_NEAR(NmeaToDegrees(2232.45), 22.540833, 1e-6);
    EXPECT_NEAR(NmeaToDegrees(-2232.5), -22.541667, 1e-6);
    EXPECT_DOUBLE_EQ(NmeaToDegrees(0.0), 0.0);
}

TEST(Coordinates, DegreesAndMinutesFormToDecimalDegrees) {
    // The form the map takes: degrees + minutes / 100.
    EXPECT_NEAR(DegreesMinutesToDegrees(22.325), 22.541667, 1e-6);
    EXPECT_NEAR(DegreesMinutesToDegrees(-13.1530), -(13 + 15.3 / 60), 1e-9);
    EXPECT_DOUBLE_EQ(DegreesMinutesToDegrees(52.0), 52.0);
    // NMEA values go through the same conversion after the division by 100.
    for (double nmea : {5230.5, 1315.0, -2232.45, 17959.999})
        EXPECT_DOUBLE_EQ(NmeaToDegrees(nmea), DegreesMinutesToDegrees(nmea / 100.0)) << nmea;
}

TEST(Coordinates, RawFixOf200DegreesOrMoreIsUnusable) {
    GpsFix fix{};
    fix.latitude = 2232.5;
    fix.longitude = 11403.0;
    ASSERT_TRUE(RawFixToDegrees(fix).has_value());
    EXPECT_NEAR(RawFixToDegrees(fix)->longitude, 114.05, 1e-9);
    fix.longitude = 20000.0; // 200 degrees
    EXPECT_FALSE(RawFixToDegrees(fix).has_value());
    fix.longitude = 19959.99;
    EXPECT_TRUE(RawFixToDegrees(fix).has_value());
}

TEST(Coordinates, SignMagnitudeBit31GivesTheSign) {
    EXPECT_DOUBLE_EQ(SignMagnitudeToDegrees(0x80000000u | 81000000u), 22.5);
    EXPECT_DOUBLE_EQ(SignMagnitudeToDegrees(81000000u), -22.5);
    EXPECT_DOUBLE_EQ(SignMagnitudeToDegrees(0x80000000u), 0.0);
}

TEST(Coordinates, GSensorUsesLowByteAndFullScale) {
    EXPECT_DOUBLE_EQ(GSensorAxisToG(64, 0), 4.0); // scale 0 reads as 8
    EXPECT_DOUBLE_EQ(GSensorAxisToG(64, 2), 1.0);
    EXPECT_DOUBLE_EQ(GSensorAxisToG(0x01C0, 2), -1.0); // high byte ignored, 0xC0 = -64
    EXPECT_DOUBLE_EQ(GSensorAxisToG(-128, 8), -8.0);
}
