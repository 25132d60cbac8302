// Playback speed steps and the seek arithmetic between slider positions and engine times.
#include <gtest/gtest.h>

#include <string>

#include "playback_speeds.h"
#include "seek_rules.h"

TEST(PlaybackSpeeds, FasterAndSlowerStopAtTheEndsOfTheTable) {
    int index = kNormalSpeedIndex;
    for (int press = 0; press < 20; ++press)
        index = FasterSpeedIndex(index);
    EXPECT_EQ(index, 17);
    EXPECT_EQ(std::string(SpeedLabel(index)), "4.0 X");
    EXPECT_FLOAT_EQ(SpeedRate(index), 4.0f);

    index = kNormalSpeedIndex;
    for (int press = 0; press < 20; ++press)
        index = SlowerSpeedIndex(index);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(std::string(SpeedLabel(index)), "0.3 X");
    EXPECT_FLOAT_EQ(SpeedRate(index), 0.3f);

    EXPECT_EQ(FasterSpeedIndex(7), 8);
    EXPECT_EQ(std::string(SpeedLabel(8)), "1.2 X");
    EXPECT_EQ(std::string(SpeedLabel(13)), "2.4 X");
}

TEST(PlaybackSpeeds, LabelShownOnlyAwayFromNormalSpeedAndStrayIndicesStayInTheTable) {
    for (int index = 0; index < kPlaybackSpeedCount; ++index)
        EXPECT_EQ(SpeedLabelShown(index), index != kNormalSpeedIndex) << index;
    EXPECT_EQ(std::string(SpeedLabel(-4)), "0.3 X");
    EXPECT_EQ(std::string(SpeedLabel(99)), "4.0 X");
    EXPECT_EQ(FasterSpeedIndex(-4), 1);
    EXPECT_EQ(SlowerSpeedIndex(99), 16);
}

TEST(SeekRules, SliderPositionToPendingSeek) {
    EXPECT_EQ(PendingSeekMs(61000, 500, 0, 1000), 30500) << "61 000 / 1000 = 61, x 500";
    EXPECT_EQ(PendingSeekMs(61000, 0, 0, 1000), 1) << "a seek to 0 is stored as 1";
    EXPECT_EQ(PendingSeekMs(0, 700, 0, 1000), 1) << "nothing open: length 0";
    EXPECT_EQ(PendingSeekMs(-1, 700, 0, 1000), 1) << "unknown length counts as 0";
    EXPECT_EQ(PendingSeekMs(61999, 500, 0, 1000), 30500) << "the division comes first";
    EXPECT_EQ(PendingSeekMs(61000, 500, 20, 960), 63 * 480) << "positions counted from the origin";
    EXPECT_EQ(PendingSeekMs(61000, 10, 20, 960), 63 * 10) << "below the origin: the position itself";
    // Ten days of video: beyond 32 bits.
    EXPECT_EQ(PendingSeekMs(864'000'000'000, 1000, 0, 1000), 864'000'000'000);
}

TEST(SeekRules, SpanNotLaidOutIsNeverADivisor) {
    EXPECT_FALSE(PendingSeekMs(61000, 500, 0, 0).has_value());
    EXPECT_FALSE(PendingSeekMs(61000, 500, 0, -3).has_value());
    EXPECT_FALSE(SliderMoveForTime(1000, 61000, 0, 0, 61000).has_value());
    EXPECT_FALSE(SliderMoveForTime(1000, 61000, 0, -1, 61000).has_value());
}

TEST(SeekRules, TimeReportToSliderPosition) {
    auto move = SliderMoveForTime(30500, 61000, 0, 1000, 61000);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->position, 500);
    EXPECT_EQ(move->currentMs, 30500u);

    move = SliderMoveForTime(30500, 61000, 20, 960, 61000);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->position, 20 + 480);
    EXPECT_EQ(move->currentMs, 480u * 61000u / 960u);

    move = SliderMoveForTime(5000, 0, 20, 960, 61000);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->position, 20) << "unknown length: the start";
    EXPECT_EQ(move->currentMs, 0u);

    move = SliderMoveForTime(90000, 61000, 20, 960, 61000);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->position, 20 + 960) << "a report past the end stays at the end";
    EXPECT_EQ(move->currentMs, 61000u);

    move = SliderMoveForTime(-1, 61000, 20, 960, 61000);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->position, 20) << "'nothing plays' (-1) stays at the start";

    move = SliderMoveForTime(30500, 61000, 0, 1000, 0);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->currentMs, 0u) << "no duration known";

    // Four billion milliseconds of duration: the product needs 64 bits.
    move = SliderMoveForTime(1, 2, 0, 1000, 4'000'000'000u);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->currentMs, 2'000'000'000u);
}

TEST(SeekRules, WhichEngineMeasuresTheSeek) {
    const EngineTimeSource front{true, true, false, 61000};
    const EngineTimeSource rear{true, true, false, 59000};
    const EngineTimeSource pausedFront{true, false, true, 61000};
    const EngineTimeSource unusableFront{false, true, false, 61000};
    const EngineTimeSource stoppedRear{true, false, false, 59000};
    EXPECT_EQ(SeekLengthMs(front, rear, false), 61000);
    EXPECT_EQ(SeekLengthMs(unusableFront, rear, false), 59000);
    EXPECT_EQ(SeekLengthMs(pausedFront, rear, false), 59000) << "a scroll counts playing engines only";
    EXPECT_EQ(SeekLengthMs(pausedFront, rear, true), 61000) << "a seek request counts paused ones too";
    EXPECT_EQ(SeekLengthMs(pausedFront, stoppedRear, false), 0);
    EXPECT_EQ(SeekLengthMs({true, true, false, -1}, rear, false), 0) << "unknown length";
}
