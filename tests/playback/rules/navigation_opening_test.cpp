// Previous/next over the catalog and the rules that keep opens from overlapping.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "navigation.h"
#include "opening_rules.h"

namespace {

// Entries 0/1 and 2/3 are front/rear pairs; entry 4 is a rear recording alone.
PartnerTest Pairs(std::set<std::pair<int, int>> pairs) {
    return [pairs](int playing, int candidate) {
        return pairs.count({playing, candidate}) != 0 || pairs.count({candidate, playing}) != 0;
    };
}
const PartnerTest kCard = Pairs({{0, 1}, {2, 3}});

struct OpeningFlagReset {
    OpeningFlagReset() { EndOpening(); }
    ~OpeningFlagReset() { EndOpening(); }
};

} // namespace

TEST(Navigation, NextSkipsTheRearPartnerAndWrapsAfterTheLast) {
    NavigationPlan plan = PlanNavigation(NavigationDirection::kNext, 0, 5, kCard);
    EXPECT_EQ(plan.skippedPartner, 1);
    EXPECT_EQ(plan.openIndex, 2);
    EXPECT_FALSE(plan.wrapped);

    plan = PlanNavigation(NavigationDirection::kNext, 2, 5, kCard);
    EXPECT_EQ(plan.skippedPartner, 3);
    EXPECT_EQ(plan.openIndex, 4);

    plan = PlanNavigation(NavigationDirection::kNext, 4, 5, kCard);
    EXPECT_EQ(plan.skippedPartner, -1);
    EXPECT_EQ(plan.openIndex, 0) << "next on the last plays the first";
    EXPECT_TRUE(plan.wrapped);

    plan = PlanNavigation(NavigationDirection::kNext, 2, 4, kCard);
    EXPECT_EQ(plan.skippedPartner, 3) << "the skipped partner is still selected";
    EXPECT_EQ(plan.openIndex, 0) << "nothing after the partner: wrap";
    EXPECT_TRUE(plan.wrapped);

    plan = PlanNavigation(NavigationDirection::kNext, 1, 5, kCard);
    EXPECT_EQ(plan.openIndex, 2) << "from a rear file the next front is no partner";
    EXPECT_EQ(plan.skippedPartner, -1);
}

TEST(Navigation, PreviousWrapsToTheLastAndSkipsBackwards) {
    NavigationPlan plan = PlanNavigation(NavigationDirection::kPrevious, 0, 5, kCard);
    EXPECT_EQ(plan.openIndex, 4) << "previous on the first plays the last";
    EXPECT_FALSE(plan.wrapped);

    plan = PlanNavigation(NavigationDirection::kPrevious, 3, 5, kCard);
    EXPECT_EQ(plan.skippedPartner, 2);
    EXPECT_EQ(plan.openIndex, 1);

    plan = PlanNavigation(NavigationDirection::kPrevious, 1, 5, kCard);
    EXPECT_EQ(plan.skippedPartner, 0);
    EXPECT_EQ(plan.openIndex, 4) << "the step past entry 0 goes to the last";
}

TEST(Navigation, CurrentIndexOutsideTheCatalog) {
    NavigationPlan plan = PlanNavigation(NavigationDirection::kNext, 9, 5, kCard);
    EXPECT_TRUE(plan.wrapped) << "lowered to the last entry, then next wraps";
    EXPECT_EQ(plan.openIndex, 0);

    plan = PlanNavigation(NavigationDirection::kPrevious, -1, 5, kCard);
    EXPECT_TRUE(plan.wrapped) << "nothing current: the first entry";
    EXPECT_EQ(plan.openIndex, 0);

    plan = PlanNavigation(NavigationDirection::kNext, 0, 0, kCard);
    EXPECT_EQ(plan.openIndex, -1) << "empty catalog: nothing";

    plan = PlanNavigation(NavigationDirection::kPrevious, 0, 1, kCard);
    EXPECT_EQ(plan.openIndex, 0) << "one entry plays itself again";
}

TEST(OpeningRules, TwoFileChoicesWithinTheDebounceOpenOnlyTheFirst) {
    OpeningFlagReset reset;
    CFileChoiceGate gate(100'000);
    EXPECT_FALSE(gate.Accept(100'500)) << "within 1.5 s of start-up";
    EXPECT_TRUE(gate.Accept(101'500));
    EXPECT_FALSE(gate.Accept(101'600)) << "the first open still runs";
    gate.FileOpenFinished();
    EXPECT_FALSE(gate.Accept(102'999)) << "1499 ms after the accepted one";
    EXPECT_TRUE(gate.Accept(103'000));
    gate.FileOpenFinished();

    BeginOpening();
    EXPECT_FALSE(gate.Accept(200'000)) << "while opening";
    EndOpening();
    EXPECT_TRUE(gate.Accept(200'000)) << "a dropped choice does not restart the debounce";
}

TEST(OpeningRules, DebounceSurvivesTheTickCountWrapping) {
    OpeningFlagReset reset;
    CFileChoiceGate gate(0xFFFF'FF00u);
    EXPECT_FALSE(gate.Accept(0x0000'0100u)) << "512 ms across the wrap";
    EXPECT_TRUE(gate.Accept(0x0000'0600u)) << "1792 ms across the wrap";
}

TEST(OpeningRules, GroupChoicesSourceCommandsAndClearingTheFlag) {
    OpeningFlagReset reset;
    EXPECT_TRUE(AcceptGroupChoice(0));
    EXPECT_FALSE(AcceptGroupChoice(-1)) << "below the last line";
    EXPECT_TRUE(AcceptSourceCommand(false));

    BeginOpening();
    EXPECT_FALSE(AcceptGroupChoice(0));
    EXPECT_FALSE(AcceptSourceCommand(false)) << "a card is being opened";
    EXPECT_TRUE(AcceptSourceCommand(true)) << "an empty catalog never blocks a new source";

    EndOpeningIfNoEngine(true, false);
    EXPECT_TRUE(g_bOpening) << "one usable engine will report a time";
    EndOpeningIfNoEngine(false, false);
    EXPECT_FALSE(g_bOpening) << "no engine: no time report will ever clear it";
}

TEST(OpeningRules, CountdownOpensOnTheFifthTick) {
    COpenCountdown countdown;
    EXPECT_EQ(countdown.Tick(), -1) << "idle";
    countdown.Start(0);
    EXPECT_TRUE(countdown.Running());
    for (int tick = 1; tick < COpenCountdown::kTicks; ++tick)
        EXPECT_EQ(countdown.Tick(), -1) << tick;
    EXPECT_EQ(countdown.Tick(), 0);
    EXPECT_FALSE(countdown.Running());
    EXPECT_EQ(countdown.Tick(), -1) << "opens once";

    countdown.Start(3, 2);
    countdown.Cancel();
    EXPECT_EQ(countdown.Tick(), -1);
    countdown.Start(-1, 1);
    EXPECT_EQ(countdown.Tick(), -1) << "no index: nothing to open";
}
