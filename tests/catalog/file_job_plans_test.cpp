// The file commands in three steps (plan on the catalog's thread, file work elsewhere, apply on
// the catalog's thread): the same outcomes as the one-step operations, and nothing on disk
// changes before the work.
#include <gtest/gtest.h>

#include <cerrno>

#include "catalog_test_support.h"
#include "file_job_plans.h"

using namespace catalog_test;

namespace {

// Two groups: G0 = front + rear at 08:00, G1 = front + rear at 09:00.
struct PlanCard {
    explicit PlanCard(const std::string& name) : card(name) {
        const int64_t t8 = At(2024, 5, 17, 8, 0, 0), t9 = At(2024, 5, 17, 9, 0, 0);
        Add("Movie/2024_05_17_080000_01.MP4", "front 8", t8);
        Add("Movi_be/2024_05_17_080000_01_b.MP4", "rear 8", t8);
        Add("Movie/2024_05_17_090000_02.MP4", "front 9", t9);
        Add("Movi_be/2024_05_17_090001_02_b.MP4", "rear 9", t9 + 1);
        catalog.SetParserFactory(readers.Factory());
        catalog.SetGroupLineState(&lines);
        catalog.SetObserver(&observer);
        EXPECT_TRUE(catalog.ScanSource(card.Root(), ""));
    }
    void Add(const std::string& relative, const std::string& content, int64_t start) {
        paths.push_back(card.Write(relative, content));
        readers.Add(fs::path(relative).filename().string(), start, 60000, content.size());
    }
    size_t Index(const fs::path& path) const {
        for (size_t i = 0; i < catalog.Entries().size(); ++i)
            if (catalog.EntryPath(i) == path) return i;
        return catalog.Entries().size();
    }

    TempCard card;
    FakeReaders readers;
    LineState lines;
    CountingObserver observer;
    CRecordingCatalog catalog;
    std::vector<fs::path> paths;
};

const std::atomic<bool> kGoOn{false};

} // namespace

TEST(FileJobPlans, DeleteKeepsALockedEventWholeAndAFileLockedSinceThePlan) {
    PlanCard c("plan_delete");
    SetMode(c.paths[1], 0444); // the rear of the 08:00 event
    c.lines.m_ticked = {0, 1};
    const DeletePlan plan = c.catalog.PlanDeleteMarked();
    ASSERT_TRUE(plan.report);
    ASSERT_EQ(plan.report.m_Files.size(), 1u);
    EXPECT_EQ(plan.report.m_Files[0].m_eOutcome, FileOperationOutcome::kSkippedLocked);
    EXPECT_EQ(plan.report.m_Files[0].m_Path, c.paths[1]);
    EXPECT_EQ(plan.report.FileCount(), 2u) << "the whole group";
    EXPECT_EQ(plan.files, (std::vector<fs::path>{c.paths[3], c.paths[2]})) << "last file first, as DeleteMarked";
    for (const fs::path& path : c.paths)
        EXPECT_TRUE(fs::exists(path)) << "the plan deletes nothing";

    SetMode(c.paths[2], 0444); // locked by hand while the work waits
    const FileOperationReport work = DeleteFiles(plan.files, nullptr, kGoOn);
    ASSERT_EQ(work.m_Files.size(), 2u);
    EXPECT_EQ(work.m_Files[0].m_eOutcome, FileOperationOutcome::kDone);
    EXPECT_EQ(work.m_Files[1].m_eOutcome, FileOperationOutcome::kSkippedLocked);
    EXPECT_FALSE(fs::exists(c.paths[3]));
    EXPECT_TRUE(fs::exists(c.paths[2]));
    EXPECT_EQ(c.catalog.Entries().size(), 4u) << "the catalog learns of it only when applied";

    c.catalog.SetCurrentEntry(static_cast<int>(c.Index(c.paths[3])));
    c.catalog.ForgetDeletedFiles(work);
    EXPECT_EQ(c.catalog.Entries().size(), 3u);
    EXPECT_EQ(c.Index(c.paths[3]), 3u) << "gone from the entries";
    EXPECT_EQ(c.catalog.CurrentEntry(), -1) << "the deleted recording was the current one";
    EXPECT_EQ(c.catalog.GroupRows().size(), 2u);
}

TEST(FileJobPlans, WorkStopsBetweenFilesOnCancel) {
    PlanCard c("plan_cancel");
    c.lines.m_ticked = {0, 1};
    const DeletePlan plan = c.catalog.PlanDeleteMarked();
    ASSERT_EQ(plan.files.size(), 4u);
    std::atomic<bool> cancel{false};
    std::vector<size_t> seen;
    const FileOperationReport work = DeleteFiles(
        plan.files,
        [&](const FileJobProgress& p) {
            seen.push_back(p.filesDone);
            EXPECT_EQ(p.filesTotal, 4u);
            if (p.filesDone == 1) cancel = true;
        },
        cancel);
    ASSERT_EQ(work.m_Files.size(), 1u) << "the files not reached are not listed";
    EXPECT_FALSE(fs::exists(plan.files[0]));
    for (size_t i = 1; i < plan.files.size(); ++i)
        EXPECT_TRUE(fs::exists(plan.files[i])) << plan.files[i];
    EXPECT_EQ(seen.front(), 0u);
}

TEST(FileJobPlans, LockAndUnlockChangeTheFilesInTheWorkAndTheMarksWhenApplied) {
    PlanCard c("plan_lock");
    SetMode(c.paths[1], 0444); // read-only already: shown as locked, not changed again
    c.lines.m_ticked = {0};
    const int before = c.observer.rowsChanged;
    const ReadOnlyPlan lock = c.catalog.PlanReadOnlyMarked(true);
    ASSERT_TRUE(lock.report);
    EXPECT_EQ(lock.files, std::vector<fs::path>{c.paths[0]});
    EXPECT_TRUE(HasAnyWriteBit(c.paths[0]));
    EXPECT_EQ(c.catalog.Entries()[c.Index(c.paths[1])].m_nLockMarks, kLockMarkM);

    const FileOperationReport locked = ChangeFilesReadOnly(lock.files, true, nullptr, kGoOn);
    EXPECT_TRUE(locked.AllDone());
    EXPECT_FALSE(HasAnyWriteBit(c.paths[0]));
    EXPECT_EQ(c.catalog.Entries()[c.Index(c.paths[0])].m_nLockMarks, 0);
    c.catalog.ApplyReadOnlyChanges(true, locked);
    EXPECT_EQ(c.catalog.Entries()[c.Index(c.paths[0])].m_nLockMarks, kLockMarkM);
    EXPECT_NE(c.catalog.GroupRows()[0].m_byLockMarks, 0);
    EXPECT_EQ(c.catalog.GroupRows()[1].m_byLockMarks, 0);
    EXPECT_GT(c.observer.rowsChanged, before) << "the lists are told";

    const ReadOnlyPlan unlock = c.catalog.PlanReadOnlyMarked(false);
    EXPECT_EQ(unlock.files, (std::vector<fs::path>{c.paths[0], c.paths[1]}));
    const FileOperationReport unlocked = ChangeFilesReadOnly(unlock.files, false, nullptr, kGoOn);
    c.catalog.ApplyReadOnlyChanges(false, unlocked);
    for (size_t i : {0u, 1u}) {
        EXPECT_TRUE(HasAnyWriteBit(c.paths[i]));
        EXPECT_EQ(c.catalog.Entries()[c.Index(c.paths[i])].m_nLockMarks, 0);
    }
    EXPECT_EQ(c.catalog.GroupRows()[0].m_byLockMarks, 0);
}

TEST(FileJobPlans, CopyAsksAboutExistingTargetsAndMakesNoFolder) {
    PlanCard c("plan_copy");
    const fs::path backup = c.card.Root() / "backup";
    c.card.Write("backup/Movie/2024_05_17_090000_02.MP4", "old 9");
    const fs::path lockedTarget = c.card.Write("backup/Movi_be/2024_05_17_090001_02_b.MP4", "old rear 9");
    SetMode(lockedTarget, 0444);
    c.lines.m_ticked = {0, 1};
    std::vector<fs::path> asked;
    const CopyPlan plan = c.catalog.PlanCopyMarked(backup / "new", [&](const fs::path& target) {
        asked.push_back(target);
        return true;
    });
    EXPECT_TRUE(asked.empty()) << "nothing exists in a new folder";
    EXPECT_EQ(plan.items.size(), 4u);
    EXPECT_FALSE(fs::exists(backup / "new")) << "folders are the work's";

    asked.clear();
    const CopyPlan over = c.catalog.PlanCopyMarked(backup, [&](const fs::path& target) {
        asked.push_back(target);
        return target.filename() != "2024_05_17_090000_02.MP4"; // declined
    });
    EXPECT_EQ(asked.size(), 2u);
    ASSERT_EQ(over.report.m_Files.size(), 2u);
    EXPECT_EQ(over.report.Count(FileOperationOutcome::kSkippedDeclined), 1u);
    EXPECT_EQ(over.report.Count(FileOperationOutcome::kSkippedLocked), 1u);
    ASSERT_EQ(over.items.size(), 2u);
    EXPECT_EQ(over.items[0].source, c.paths[0]);
    EXPECT_EQ(over.items[0].target, backup / "Movie/2024_05_17_080000_01.MP4");
    EXPECT_EQ(ReadAll(backup / "Movie/2024_05_17_090000_02.MP4"), "old 9");

    const CopyPlan self = c.catalog.PlanCopyMarked(c.card.Root(), [](const fs::path&) { return true; });
    EXPECT_TRUE(self.items.empty());
    EXPECT_EQ(self.report.Count(FileOperationOutcome::kSkippedSameFile), 4u);
}
