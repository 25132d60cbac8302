#include <gtest/gtest.h>

#include "catalog_test_support.h"
#include "recording_name.h"

using namespace catalog_test;

namespace {

bool Accepts(const std::string& name) {
    bool locked = false;
    return ParseRecordingName("/nonexistent-folder", name, locked);
}

std::string Shifted(const std::string& path, int64_t seconds) {
    const auto result = ShiftRecordingName(path, seconds);
    return result ? result->string() : std::string("<fail>");
}

} // namespace

TEST(RecordingName, GrammarAcceptsCameraNamesAndRejectsNearMisses) {
    EXPECT_TRUE(Accepts("2024_05_17_083015_01.MP4"));
    EXPECT_TRUE(Accepts("2024_05_17_083015_01_b.MP4"));
    EXPECT_TRUE(Accepts("2024_05_17_083015.AVI")); // the number is not part of the check
    EXPECT_TRUE(Accepts("2024_05_17_083015_01_\xC3\xA4\xE2\x82\xAC.MP4"));
    EXPECT_TRUE(Accepts("2024_05_17_083015_01_\xFF\xFE.MP4"));

    EXPECT_FALSE(Accepts("EVGS_2024_05_17_083015_01.MP4")); // first four characters
    EXPECT_FALSE(Accepts("2024-05-17_083015_01.MP4"));      // separators must be underscores
    EXPECT_FALSE(Accepts("20a4_05_17_083015_01.MP4"));
    EXPECT_FALSE(Accepts("2024_05_17_.MP4"));
    EXPECT_FALSE(Accepts("2024_05"));
    EXPECT_FALSE(Accepts(""));
    EXPECT_FALSE(Accepts("\xFF\xFF\xFF\xFF"));
    EXPECT_FALSE(Accepts("2024_05_17_ab1234_01.MP4"));
}

TEST(RecordingName, LockedFlagFollowsTheReadOnlyBitIndependentlyOfTheName) {
    TempCard card("names_lock");
    const auto recording = card.Write("2024_05_17_083015_01.MP4");
    const auto notes = card.Write("notes.txt");
    bool locked = false;
    EXPECT_TRUE(ParseRecordingName(card.Root(), "2024_05_17_083015_01.MP4", locked));
    EXPECT_FALSE(locked);

    SetMode(recording, 0444);
    SetMode(notes, 0400);
    EXPECT_TRUE(ParseRecordingName(card.Root(), "2024_05_17_083015_01.MP4", locked));
    EXPECT_TRUE(locked);
    locked = false;
    EXPECT_FALSE(ParseRecordingName(card.Root(), "notes.txt", locked));
    EXPECT_TRUE(locked);

    SetMode(recording, 0644);
    locked = false;
    ParseRecordingName(card.Root(), "2024_05_17_083015_01.MP4", locked);
    EXPECT_FALSE(locked) << "any write bit means writable";
}

TEST(RecordingName, RearRule) {
    EXPECT_TRUE(IsRearRecording("2024_05_17_083015_01_b.MP4"));
    EXPECT_TRUE(IsRearRecording("/card/Movi_be/2024_05_17_083015_01_b.MP4"));
    EXPECT_TRUE(IsRearRecording("2024_05_17_083015_01R.MP4"));
    EXPECT_TRUE(IsRearRecording("R.MP4 2024_05_17_083015_01.mp4")); // anywhere in the name
    EXPECT_TRUE(IsRearRecording("2024_05_17_083015_01R.MOV"));
    EXPECT_TRUE(IsRearRecording("2024_05_17_083015_01R.TS"));
    EXPECT_TRUE(IsRearRecording("ab.MP4")); // "b" just before the dot

    EXPECT_FALSE(IsRearRecording("2024_05_17_083015_01.MP4"));
    EXPECT_FALSE(IsRearRecording("2024_05_17_083015_01_B.MP4")); // case-sensitive
    EXPECT_FALSE(IsRearRecording("2024_05_17_083015_01r.mp4"));
    EXPECT_FALSE(IsRearRecording("/card/Movie_b/2024_05_17_083015_01.MP4")); // only from the last "."
    EXPECT_FALSE(IsRearRecording("b.MP4"));                                  // last "." at index 1
    EXPECT_FALSE(IsRearRecording(".bMP4"));                                  // last "." at index 0
    EXPECT_FALSE(IsRearRecording("2024_05_17_083015_01_b"));                 // no "." at all
}

TEST(RecordingName, ShiftAcrossDayMonthYearAndDaylightSaving) {
    // TZ=Europe/Berlin for the whole test program.
    EXPECT_EQ(Shifted("/card/Movie/2024_12_31_235959_01_b.MP4", 1), "/card/Movie/2025_01_01_000000_01_b.MP4");
    EXPECT_EQ(Shifted("/card/Movie/2025_01_01_000000_01.MP4", -1), "/card/Movie/2024_12_31_235959_01.MP4");
    EXPECT_EQ(Shifted("/card/Movie/2024_03_01_000001_07.MP4", -2), "/card/Movie/2024_02_29_235959_07.MP4");
    EXPECT_EQ(Shifted("/card/Movie/2023_03_01_000001_07.MP4", -2), "/card/Movie/2023_02_28_235959_07.MP4");
    // Spring forward: 02:00 does not exist on 2024-03-31.
    EXPECT_EQ(Shifted("/card/M/2024_03_31_015959_02.MP4", 1), "/card/M/2024_03_31_030000_02.MP4");
    EXPECT_EQ(Shifted("/card/M/2024_03_31_030001_02.MP4", -2), "/card/M/2024_03_31_015959_02.MP4");
    // Fall back: two hours after 01:30 summer time it is 02:30 winter time, not 03:30.
    EXPECT_EQ(Shifted("/card/M/2024_10_27_013000_02.MP4", 3600 * 2), "/card/M/2024_10_27_023000_02.MP4");
}

TEST(RecordingName, ShiftKeepsTheTailAndRejectsWhatIsNoRecordingName) {
    EXPECT_EQ(Shifted("/c/2024_05_17_083015_1", 5), "/c/2024_05_17_083020_01"); // 19 characters, empty tail
    EXPECT_EQ(Shifted("/c/2024_05_17_083015_01GR_b.MOV", 60), "/c/2024_05_17_083115_01GR_b.MOV");
    EXPECT_EQ(Shifted("/c/2024_05_17_083015.MP4", 1), "<fail>"); // no number
    EXPECT_EQ(Shifted("/c/notes.txt", 1), "<fail>");
    EXPECT_EQ(Shifted("2024_05_17_083015_01.MP4", 1), "<fail>");   // no folder
    EXPECT_EQ(Shifted("c/2024_05_17_083015_01.MP4", 1), "<fail>"); // fewer than two characters before "/"
    EXPECT_EQ(Shifted("/c/2024_05_17_083015_01_\xFF.MP4", 1), "/c/2024_05_17_083016_01_\xFF.MP4");
}

TEST(RecordingPartners, RearFileInTheMarkedFolderIsFoundAndLeadsBack) {
    TempCard card("partners");
    const auto front = card.Write("Movie/2024_05_17_083015_01.MP4");
    const auto rear = card.Write("Movi_be/2024_05_17_083015_01_b.MP4");
    EXPECT_EQ(FindRearPartner(front), rear);
    EXPECT_EQ(FindFrontPartner(rear), front);
    EXPECT_EQ(FindRearPartner(card.Root() / "Movie/2024_05_17_090000_01.MP4"), fs::path());
    EXPECT_EQ(FindFrontPartner(card.Root() / "Movi_be/2024_05_17_090000_01_b.MP4"), fs::path());
}

TEST(RecordingPartners, ShiftedPartnersAreTriedPlusOneTwoThenMinusOneTwo) {
    TempCard card("partners_shift");
    const auto front = card.Write("Movie/2024_12_31_235959_03.MP4");
    // Written one second later, across the year.
    const auto later = card.Write("Movi_be/2025_01_01_000000_03_b.MP4");
    EXPECT_EQ(FindRearPartner(front), later);
    EXPECT_EQ(FindFrontPartner(later), front);

    const auto earlier = card.Write("Movi_be/2024_12_31_235958_03_b.MP4");
    EXPECT_EQ(FindRearPartner(front), later) << "+1 comes before -1";
    fs::remove(later);
    EXPECT_EQ(FindRearPartner(front), earlier);

    const auto twoLater = card.Write("Movi_be/2025_01_01_000001_03_b.MP4");
    EXPECT_EQ(FindRearPartner(front), twoLater) << "+2 comes before -1";
    fs::remove(twoLater);
    fs::remove(earlier);
    card.Write("Movi_be/2024_12_31_235956_03_b.MP4"); // three seconds: too far
    EXPECT_EQ(FindRearPartner(front), fs::path());
}

TEST(RecordingPartners, OneCharacterFolderAndPathsWithoutPlaceForTheMark) {
    TempCard card("partners_short");
    const auto front = card.Write("F/2024_05_17_083015_01.MP4");
    const auto rear = card.Write("_bF/2024_05_17_083015_01_b.MP4");
    EXPECT_EQ(FindRearPartner(front), rear);
    EXPECT_EQ(FindFrontPartner(rear), front);
    EXPECT_EQ(FindRearPartner("2024_05_17_083015_01.MP4"), fs::path());
    EXPECT_EQ(FindRearPartner(card.Root() / "F/2024_05_17_083015_01"), fs::path()); // no extension
}
