// A card kept below a folder whose own name holds "_b" (car_backup/): the rear mark belongs to the
// recording's folder and file name only, so the pairs, the plans and previous/next are the same as
// anywhere else.
#include <gtest/gtest.h>

#include "navigation.h"
#include "recording_catalog.h"
#include "recording_name.h"
#include "recording_plan.h"
#include "scan_card.h"

namespace {

namespace fs = std::filesystem;

struct BackupCard {
    BackupCard() : card("backup_pairing") {
        card.root /= "car_backup";
        card.WriteStandardCard();
        catalog.ScanSource(card.root, "");
    }
    fs::path Entry(int index) const { return catalog.EntryPath(static_cast<size_t>(index)); }

    scan_test::FixtureCard card;
    CRecordingCatalog catalog;
};

} // namespace

TEST(BackupFolderPairing, PartnersAndPlansAreFoundByTheRecordingsOwnNames) {
    BackupCard backup;
    ASSERT_EQ(backup.catalog.Entries().size(), 5u);
    const fs::path front = backup.Entry(0), rear = backup.Entry(1);
    ASSERT_EQ(front.parent_path().filename(), "Movie");
    ASSERT_EQ(rear.parent_path().filename(), "Movi_be");

    EXPECT_EQ(FindFrontPartner(rear), front);
    EXPECT_EQ(FindRearPartner(front), rear);
    EXPECT_TRUE(FindFrontPartner(backup.Entry(4)).empty()) << "the rear recording alone has no front";

    const RecordingPlan fromRear = PlanRecording(rear);
    EXPECT_EQ(fromRear.front, front) << "the rear plays beside its front, not alone";
    EXPECT_TRUE(fromRear.rearSilent);
    const RecordingPlan fromFront = PlanRecording(front);
    EXPECT_EQ(fromFront.rear, rear);
    EXPECT_TRUE(PlanRecording(backup.Entry(4)).RearAlone());
}

TEST(BackupFolderPairing, PreviousAndNextStepOverTheOtherCameraOnce) {
    BackupCard backup;
    ASSERT_EQ(backup.catalog.Entries().size(), 5u);
    backup.catalog.SetCurrentEntry(0);
    NavigationPlan plan = PlanNavigation(NavigationDirection::kNext, backup.catalog);
    EXPECT_EQ(plan.skippedPartner, 1) << "the rear of the recording being played is not played again";
    EXPECT_EQ(plan.openIndex, 2);

    backup.catalog.SetCurrentEntry(2);
    plan = PlanNavigation(NavigationDirection::kNext, backup.catalog);
    EXPECT_EQ(plan.skippedPartner, 3);
    EXPECT_EQ(plan.openIndex, 4);

    backup.catalog.SetCurrentEntry(3);
    plan = PlanNavigation(NavigationDirection::kPrevious, backup.catalog);
    EXPECT_EQ(plan.skippedPartner, 2);
    EXPECT_EQ(plan.openIndex, 1);
}
