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
    COpeningFlag opening;
    CFileChoiceGate gate(100'000);
    EXPECT_FALSE(gate.Accept(opening, 100'500)) << "within 1.5 s of start-up";
    EXPECT_TRUE(gate.Accept(opening, 101'500));
    EXPECT_FALSE(gate.Accept(opening, 101'600)) << "the first open still runs";
    gate.FileOpenFinished();
    EXPECT_FALSE(gate.Accept(opening, 102'999)) << "1499 ms after the accepted one";
    EXPECT_TRUE(gate.Accept(opening, 103'000));
    gate.FileOpenFinished();

    opening.Begin();
    EXPECT_FALSE(gate.Accept(opening, 200'000)) << "while opening";
    opening.End();
    EXPECT_TRUE(gate.Accept(opening, 200'000)) << "a dropped choice does not restart the debounce";
}

TEST(OpeningRules, DebounceSurvivesTheTickCountWrapping) {
    COpeningFlag opening;
    CFileChoiceGate gate(0xFFFF'FF00u);
    EXPECT_FALSE(gate.Accept(opening, 0x0000'0100u)) << "512 ms across the wrap";
    EXPECT_TRUE(gate.Accept(opening, 0x0000'0600u)) << "1792 ms across the wrap";
}

TEST(OpeningRules, GroupChoicesSourceCommandsAndClearingTheFlag) {
    COpeningFlag opening;
    EXPECT_TRUE(AcceptGroupChoice(opening, 0));
    EXPECT_FALSE(AcceptGroupChoice(opening, -1)) << "below the last line";
    EXPECT_TRUE(AcceptSourceCommand(opening, false));

    opening.Begin();
    EXPECT_FALSE(AcceptGroupChoice(opening, 0));
    EXPECT_FALSE(AcceptSourceCommand(opening, false)) << "a card is being opened";
    EXPECT_TRUE(AcceptSourceCommand(opening, true)) << "an empty catalog never blocks a new source";

    opening.EndIfNoEngine(true, false);
    EXPECT_TRUE(opening.Active()) << "one usable engine will report a time";
    opening.EndIfNoEngine(false, false);
    EXPECT_FALSE(opening.Active()) << "no engine: no time report will ever clear it";
    opening.Begin();
    EXPECT_TRUE(opening.EndAtFirstReport()) << "the first time report ends the opening";
    EXPECT_FALSE(opening.EndAtFirstReport()) << "later reports find it ended";

    COpeningFlag other;
    EXPECT_TRUE(AcceptGroupChoice(other, 0)) << "each session has its own flag";
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
