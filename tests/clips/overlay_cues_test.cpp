#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "coordinates.h"
#include "local_time.h"
#include "overlay_cues.h"

namespace {
GpsFix Fix(double lat, double lon, uint16_t speed, bool valid = true) {
    GpsFix f;
    std::memset(&f, 0, sizeof f);
    f.latitude = lat;
    f.longitude = lon;
    f.speed = speed;
    f.flags = valid ? 1 : 0;
    return f;
}

// One fix per second (speed = 10 x the second), ten G-sensor samples per second, from
// 2024-05-17 08:00:00 local time (the tests run in Berlin time).
ClipTelemetry Drive(int seconds) {
    ClipTelemetry t;
    t.startTime = LocalWallClockToTime(2024, 5, 17, 8, 0, 0);
    t.layout = kLayoutVideMeta;
    t.gpsRate = 1;
    for (int s = 0; s < seconds; ++s) t.fixes.push_back(Fix(48.139304 + s * 1e-4, 11.579344, uint16_t(10 * s)));
    t.gsensorRate = 10;
    t.gsensorFullScale = 8;
    for (int i = 0; i < seconds * 10; ++i) t.gsensor.push_back({int16_t(i % 13), 0, 0});
    return t;
}
} // namespace

TEST(OverlayCues, OneCuePerRecordingSecondWithTheSecondsTexts) {
    const std::vector<OverlayCue> cues = BuildOverlayCues(Drive(10), 3000, 6000);
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ(cues[0].startMs, 0);
    EXPECT_EQ(cues[0].endMs, 1000);
    EXPECT_EQ(cues[2].endMs, 3000);
    EXPECT_EQ(cues[0].dateTime, "2024/05/17 08:00:03");
    EXPECT_EQ(cues[0].speed, "30 Km/h");
    EXPECT_EQ(cues[0].position, "48.139604N, 11.579344E");
    // Sample 30: x = 4 of 128 at 8 G full scale.
    EXPECT_EQ(cues[0].gforce, "G 0.25");
    EXPECT_EQ(cues[2].dateTime, "2024/05/17 08:00:05");
    EXPECT_EQ(CueLines(cues[0]),
              (std::vector<std::string>{"2024/05/17 08:00:03   30 Km/h", "48.139604N, 11.579344E   G 0.25"}));
}

TEST(OverlayCues, EdgesOnWholeSecondsForAFractionalSpan) {
    const std::vector<OverlayCue> cues = BuildOverlayCues(Drive(10), 2500, 4200);
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ(cues[0].startMs, 0);
    EXPECT_EQ(cues[0].endMs, 500);
    EXPECT_EQ(cues[0].dateTime, "2024/05/17 08:00:02");
    EXPECT_EQ(cues[1].startMs, 500);
    EXPECT_EQ(cues[1].recordingMs, 3000);
    EXPECT_EQ(cues[2].startMs, 1500);
    EXPECT_EQ(cues[2].endMs, 1700);
    EXPECT_EQ(cues[2].dateTime, "2024/05/17 08:00:04");
    EXPECT_TRUE(BuildOverlayCues(Drive(10), 4000, 4000).empty());
    EXPECT_TRUE(BuildOverlayCues(Drive(10), 5000, 4000).empty());
}

TEST(OverlayCues, SpeedAndPlaceOfTheLastValidFixAtOrBefore) {
    ClipTelemetry t = Drive(10);
    t.fixes[4].flags = 0;
    t.fixes[5].flags = 0;
    t.fixes[6].latitude = std::nan(""); // never plotted, so never shown either
    const std::vector<OverlayCue> cues = BuildOverlayCues(t, 4000, 8000);
    EXPECT_EQ(cues[0].speed, "30 Km/h");
    EXPECT_EQ(cues[1].speed, "30 Km/h");
    EXPECT_EQ(cues[2].speed, "30 Km/h");
    EXPECT_EQ(cues[3].speed, "70 Km/h");

    // Past the last fix, the last one stays.
    EXPECT_EQ(BuildOverlayCues(t, 20000, 21000)[0].speed, "90 Km/h");
}

TEST(OverlayCues, FixRatePlacesTheFixes) {
    ClipTelemetry t = Drive(20);
    t.gpsRate = 5;
    // Second 2 at five fixes per second: fix 10, not the later fix 11.
    EXPECT_EQ(BuildOverlayCues(t, 2000, 3000)[0].speed, "100 Km/h");
    EXPECT_EQ(BuildOverlayCues(t, 2199, 3000)[0].speed, "100 Km/h");
    EXPECT_EQ(BuildOverlayCues(t, 2200, 3000)[0].speed, "110 Km/h");
}

TEST(OverlayCues, NothingShownWithoutAFixOrSamplesOrStartTime) {
    ClipTelemetry t = Drive(5);
    t.fixes[0].flags = t.fixes[1].flags = 0;
    t.gsensor.clear();
    t.startTime = 0;
    const std::vector<OverlayCue> cues = BuildOverlayCues(t, 0, 3000);
    EXPECT_EQ(cues[0].speed, "");
    EXPECT_EQ(cues[0].position, "");
    EXPECT_EQ(cues[0].gforce, "");
    EXPECT_EQ(cues[0].dateTime, "");
    EXPECT_TRUE(CueLines(cues[0]).empty());
    EXPECT_EQ(CueLines(cues[2]), (std::vector<std::string>{"20 Km/h", "48.139504N, 11.579344E"}));
}

TEST(OverlayCues, GForceOfTheNearestSampleWithAReading) {
    ClipTelemetry t = Drive(5);
    t.gsensor.assign(50, GSensorSample{0, 0, 0});
    t.gsensor[20] = {int16_t(128), 0, 0}; // missing reading at the cue's own time
    t.gsensor[19] = {24, 32, 0};          // 1.5 G and 2 G at 8 G full scale: horizontal 2.5 G
    t.gsensor[21] = {16, 0, 0};
    EXPECT_EQ(BuildOverlayCues(t, 2000, 3000)[0].gforce, "G 2.50") << "the earlier one on a tie";
    // The rate places the samples: 2 per second puts second 2 on sample 4.
    t.gsensorRate = 2;
    t.gsensor[4] = {-8, 0, 0};
    EXPECT_EQ(BuildOverlayCues(t, 2000, 3000)[0].gforce, "G 0.50");
    t.gsensorRate = 0;
    EXPECT_EQ(BuildOverlayCues(t, 2000, 3000)[0].gforce, "");
}

TEST(OverlayCues, LayoutZeroFixesAreConvertedFromNmea) {
    ClipTelemetry t = Drive(3);
    t.layout = kLayoutBlocks;
    t.fixes[1].latitude = 4808.35824;  // 48 degrees 8.35824 minutes
    t.fixes[1].longitude = 1134.76064;
    t.fixes[2].latitude = 20000.0; // the camera's "unusable": the fix before stays
    EXPECT_EQ(BuildOverlayCues(t, 2000, 3000)[0].position, "48.139304N, 11.579344E");
}

TEST(OverlayCueTexts, HemispheresAndDecimals) {
    EXPECT_EQ(PositionText(-33.8688, -151.2093), "33.868800S, 151.209300W");
    EXPECT_EQ(PositionText(0, 0), "0.000000N, 0.000000E");
    EXPECT_EQ(GForceText(0.424), "G 0.42");
    EXPECT_EQ(GForceText(1.005001), "G 1.01");
}
