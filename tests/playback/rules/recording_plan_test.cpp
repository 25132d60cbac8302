// Which engine plays which file of a recording, on a card written by the fixture writer.
#include <gtest/gtest.h>

#include "recording_plan.h"
#include "scan_card.h"

using namespace scan_test;

TEST(RecordingPlan, PairsByNameOnDiskAndARearAlonePlaysAloud) {
    FixtureCard card("recording_plan");
    card.WriteStandardCard();
    const int64_t frontOnlyStart = FixtureCard::kStart + 2400;
    card.WriteRecording("Movie/" + RecordingName(frontOnlyStart, 4, ".MP4"), frontOnlyStart);
    const fs::path front0 = card.root / "Movie" / RecordingName(FixtureCard::kStart, 0, ".MP4");
    const fs::path rear0 = card.root / "Movi_be" / RecordingName(FixtureCard::kStart, 0, "_b.MP4");
    const fs::path rearAlone = card.root / "Movi_be" / RecordingName(FixtureCard::kStart + 1200, 2, "_b.MP4");
    const fs::path frontAlone = card.root / "Movie" / RecordingName(frontOnlyStart, 4, ".MP4");

    RecordingPlan plan = PlanRecording(front0);
    EXPECT_EQ(plan.front, front0);
    EXPECT_EQ(plan.rear.lexically_normal(), rear0.lexically_normal());
    EXPECT_TRUE(plan.rearSilent);
    EXPECT_FALSE(plan.RearAlone());
    EXPECT_EQ(RearEngineVolume(plan, 50), 0) << "the front carries the sound";

    plan = PlanRecording(rear0);
    EXPECT_EQ(plan.front.lexically_normal(), front0.lexically_normal()) << "a rear line plays its front too";
    EXPECT_EQ(plan.rear, rear0);
    EXPECT_TRUE(plan.rearSilent);

    plan = PlanRecording(rearAlone);
    EXPECT_TRUE(plan.front.empty());
    EXPECT_EQ(plan.rear, rearAlone);
    EXPECT_FALSE(plan.rearSilent);
    EXPECT_TRUE(plan.RearAlone());
    EXPECT_EQ(RearEngineVolume(plan, 50), 100) << "heard at the slider's volume";
    EXPECT_EQ(RearEngineVolume(plan, 0), 0);

    plan = PlanRecording(frontAlone);
    EXPECT_EQ(plan.front, frontAlone);
    EXPECT_TRUE(plan.rear.empty()) << "no rear file: the rear engine is rebuilt without picture";

    EXPECT_EQ(FrontEngineVolume(50), 100);
    EXPECT_EQ(FrontEngineVolume(130), 200) << "never past libVLC's 200";
    EXPECT_TRUE(PlanRecording({}).front.empty());
}
