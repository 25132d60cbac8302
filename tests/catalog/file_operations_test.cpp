#include <gtest/gtest.h>

#include "catalog_test_support.h"
#include "directory_tree.h"
#include "safe_copy.h"

using namespace catalog_test;

namespace {

// A card with two groups: G0 = front + rear at 08:00, G1 = front + rear at 09:00.
struct Card {
    explicit Card(const std::string& name) : card(name) {
        const int64_t t8 = At(2024, 5, 17, 8, 0, 0), t9 = At(2024, 5, 17, 9, 0, 0);
        Add("Movie/2024_05_17_080000_01.MP4", "front 8", t8);
        Add("Movi_be/2024_05_17_080000_01_b.MP4", "rear 8", t8);
        Add("Movie/2024_05_17_090000_02.MP4", "front 9", t9);
        Add("Movi_be/2024_05_17_090001_02_b.MP4", "rear 9", t9 + 1);
        catalog.SetParserFactory(readers.Factory());
        catalog.SetGroupLineState(&lines);
        catalog.SetObserver(&observer);
    }
    void Add(const std::string& relative, const std::string& content, int64_t start) {
        paths.push_back(card.Write(relative, content));
        readers.Add(fs::path(relative).filename().string(), start, 60000, content.size());
    }
    void Scan() { ASSERT_TRUE(catalog.ScanSource(card.Root(), "")); }
    // Entry index of a file by name.
    size_t Index(const std::string& name) const {
        const auto& e = catalog.Entries();
        for (size_t i = 0; i < e.size(); ++i)
            if (e[i].m_strFileName == name) return i;
        return e.size();
    }
    int Marks(const std::string& name) const { return catalog.Entries()[Index(name)].m_nLockMarks; }

    TempCard card;
    FakeReaders readers;
    LineState lines;
    CountingObserver observer;
    CRecordingCatalog catalog;
    std::vector<fs::path> paths;
};

} // namespace

TEST(FileOperations, NothingMarkedChangesNothing) {
    Card c("ops_none");
    c.Scan();
    const int changes = c.observer.rowsChanged;
    EXPECT_FALSE(c.catalog.MarkGroups());
    EXPECT_FALSE(c.catalog.LockMarked());
    EXPECT_FALSE(c.catalog.UnlockMarked());
    EXPECT_FALSE(c.catalog.DeleteMarked());
    EXPECT_FALSE(c.catalog.CopyMarked(c.card.Root() / "backup", nullptr));
    EXPECT_FALSE(fs::exists(c.card.Root() / "backup"));
    EXPECT_EQ(c.catalog.Entries().size(), 4u);
    for (const auto& p : c.paths)
        EXPECT_TRUE(HasAnyWriteBit(p));
    EXPECT_EQ(c.observer.rowsChanged, changes);
}

// A click on a line (selection, highlight) is how a recording is chosen for playing; only a tick
// marks it for a file command.
TEST(FileOperations, ASelectedLineIsNotAMarkOnlyATickedOneIs) {
    Card c("ops_mark");
    c.Scan();
    c.lines.m_selected = {0, 1};
    EXPECT_FALSE(c.catalog.MarkGroups());
    EXPECT_TRUE(c.catalog.InspectMarked().Empty());
    EXPECT_FALSE(c.catalog.DeleteMarked());
    EXPECT_FALSE(c.catalog.LockMarked());
    for (const auto& p : c.paths) {
        EXPECT_TRUE(fs::exists(p)) << p;
        EXPECT_TRUE(HasAnyWriteBit(p)) << p;
    }
    c.lines.m_ticked = {1};
    EXPECT_TRUE(c.catalog.MarkGroups());
    EXPECT_EQ(c.catalog.GroupRows()[0].m_nMarked, 0);
    EXPECT_EQ(c.catalog.GroupRows()[1].m_nMarked, 1);
    const MarkedSelection selection = c.catalog.InspectMarked();
    EXPECT_EQ(selection.m_nGroups, 1u);
    EXPECT_EQ(selection.m_Files, (std::vector<fs::path>{c.paths[2], c.paths[3]}));
    c.lines.m_ticked = {0};
    EXPECT_TRUE(c.catalog.MarkGroups());
    EXPECT_EQ(c.catalog.GroupRows()[1].m_nMarked, 0) << "marks are taken afresh each time";
}

TEST(FileOperations, LockMakesEveryFileOfTheGroupReadOnlyAndKeepsAnExistingMark) {
    Card c("ops_lock");
    SetMode(c.paths[1], 0444); // the camera protected the rear file: "G"
    c.Scan();
    ASSERT_EQ(c.Marks("2024_05_17_080000_01_b.MP4"), kLockMarkG);
    c.lines.m_ticked = {0};
    const int changes = c.observer.rowsChanged;
    ASSERT_TRUE(c.catalog.LockMarked());
    EXPECT_EQ(c.observer.rowsChanged, changes + 1);

    EXPECT_FALSE(HasAnyWriteBit(c.paths[0]));
    EXPECT_EQ(ModeOf(c.paths[0]), 0444);
    EXPECT_EQ(c.Marks("2024_05_17_080000_01.MP4"), kLockMarkM);
    EXPECT_EQ(c.Marks("2024_05_17_080000_01_b.MP4"), kLockMarkG);
    EXPECT_EQ(c.catalog.GroupRows()[0].m_byLockMarks, kLockMarkG | kLockMarkM);
    // The other group is untouched.
    EXPECT_TRUE(HasAnyWriteBit(c.paths[2]));
    EXPECT_EQ(c.catalog.GroupRows()[1].m_byLockMarks, 0);

    c.catalog.SetCurrentEntry(static_cast<int>(c.Index("2024_05_17_080000_01.MP4")));
    EXPECT_EQ(c.catalog.CurrentGroup(), 0);
    EXPECT_TRUE(c.catalog.CurrentGroupLocked());
    c.catalog.SetCurrentEntry(3);
    EXPECT_EQ(c.catalog.CurrentGroup(), 1);
    EXPECT_FALSE(c.catalog.CurrentGroupLocked());
    c.catalog.SetCurrentEntry(4);
    EXPECT_EQ(c.catalog.CurrentGroup(), -1);
    c.catalog.SetCurrentEntry(-1);
    EXPECT_EQ(c.catalog.CurrentGroup(), -1);
    EXPECT_FALSE(c.catalog.CurrentGroupLocked());
}

TEST(FileOperations, UnlockClearsBothMarksAndGivesTheOwnerWriteBack) {
    Card c("ops_unlock");
    c.readers.Add("202G_05_17_100000_07.MP4", At(2024, 5, 17, 10, 0, 0), 60000);
    const fs::path single = c.card.Write("202G_05_17_100000_07.MP4");
    SetMode(single, 0444);
    ASSERT_TRUE(c.catalog.ScanSource(c.card.Root(), "202G_05_17_100000_07.MP4"));
    ASSERT_EQ(c.catalog.Entries()[0].m_nLockMarks, kLockMarkG | kLockMarkM);
    c.lines.m_ticked = {0};
    ASSERT_TRUE(c.catalog.UnlockMarked());
    EXPECT_EQ(c.catalog.Entries()[0].m_nLockMarks, 0);
    EXPECT_EQ(c.catalog.GroupRows()[0].m_byLockMarks, 0);
    EXPECT_EQ(ModeOf(single), 0644);

    // Lock and unlock again: the mark and the mode go back and forth.
    ASSERT_TRUE(c.catalog.LockMarked());
    EXPECT_EQ(ModeOf(single), 0444);
    EXPECT_EQ(c.catalog.Entries()[0].m_nLockMarks, kLockMarkM);
    ASSERT_TRUE(c.catalog.UnlockMarked());
    EXPECT_EQ(ModeOf(single), 0644);
}

TEST(FileOperations, FailedAttributeChangeKeepsTheMark) {
    Card c("ops_fail");
    c.Scan();
    c.lines.m_ticked = {0};
    ASSERT_TRUE(c.catalog.LockMarked());
    fs::remove(c.paths[0]); // gone behind the viewer's back
    ASSERT_TRUE(c.catalog.UnlockMarked());
    EXPECT_EQ(c.Marks("2024_05_17_080000_01.MP4"), kLockMarkM);
    EXPECT_EQ(c.Marks("2024_05_17_080000_01_b.MP4"), 0);
    EXPECT_EQ(c.catalog.GroupRows()[0].m_byLockMarks, kLockMarkM) << "the row shows what its files carry";
}

// A locked event is evidence as a whole: a group that holds one read-only or marked file loses
// none of its files, front, rear or neighbours.
TEST(FileOperations, AGroupHoldingALockedFileIsNotDeletedAtAll) {
    Card c("ops_delete");
    SetMode(c.paths[1], 0444); // rear of group 0, locked by the camera
    c.Scan();
    c.catalog.SetCurrentEntry(static_cast<int>(c.Index("2024_05_17_090000_02.MP4")));
    c.lines.m_ticked = {0};
    const MarkedSelection selection = c.catalog.InspectMarked();
    EXPECT_EQ(selection.m_nLockedGroups, 1u);
    EXPECT_TRUE(selection.AllLocked());
    const FileOperationReport report = c.catalog.DeleteMarked();
    ASSERT_TRUE(report);
    EXPECT_TRUE(fs::exists(c.paths[0])) << "the unlocked front of a locked event stays";
    EXPECT_TRUE(fs::exists(c.paths[1]));
    ASSERT_EQ(report.m_Files.size(), 1u) << "said once for the group";
    EXPECT_EQ(report.m_Files[0].m_eOutcome, FileOperationOutcome::kSkippedLocked);
    EXPECT_EQ(report.m_Files[0].m_nFiles, 2u);
    EXPECT_EQ(c.catalog.Entries().size(), 4u);

    // Locked in this viewer (a mark, files made read-only): the same.
    c.lines.m_ticked = {1};
    ASSERT_TRUE(c.catalog.LockMarked());
    ASSERT_TRUE(c.catalog.DeleteMarked());
    EXPECT_TRUE(fs::exists(c.paths[2]));
    EXPECT_TRUE(fs::exists(c.paths[3]));
    EXPECT_EQ(c.catalog.Entries().size(), 4u);
    EXPECT_EQ(c.catalog.CurrentEntry(), static_cast<int>(c.Index("2024_05_17_090000_02.MP4")));
}

TEST(FileOperations, DeletingTheCurrentEntryLeavesNoCurrentEntry) {
    Card c("ops_delete_current");
    c.Scan();
    c.catalog.SetCurrentEntry(1);
    c.lines.m_ticked = {0, 1};
    ASSERT_TRUE(c.catalog.DeleteMarked());
    EXPECT_TRUE(c.catalog.Entries().empty());
    EXPECT_TRUE(c.catalog.GroupRows().empty());
    EXPECT_EQ(c.catalog.CurrentEntry(), -1);
    for (const auto& p : c.paths)
        EXPECT_FALSE(fs::exists(p));
}

TEST(FileOperations, CopyRebuildsTheFoldersAsksOnceAndNeverTouchesTheSource) {
    Card c("ops_copy");
    SetMode(c.paths[1], 0444);
    c.Scan();
    const fs::path backup = c.card.Root() / "backup/deep";
    const fs::path existing = backup / "Movie/2024_05_17_080000_01.MP4";
    fs::create_directories(existing.parent_path());
    std::ofstream(existing) << "older copy";
    const auto sourceTime = fs::last_write_time(c.paths[0]);

    std::vector<fs::path> asked;
    const auto cancel = [&](const fs::path& target) {
        asked.push_back(target);
        return false;
    };
    c.lines.m_ticked = {0};
    ASSERT_TRUE(c.catalog.CopyMarked(backup, cancel));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], existing);
    EXPECT_EQ(ReadAll(existing), "older copy") << "Cancel skips this file only";
    const fs::path rearCopy = backup / "Movi_be/2024_05_17_080000_01_b.MP4";
    EXPECT_EQ(ReadAll(rearCopy), "rear 8");
    EXPECT_EQ(ModeOf(rearCopy), 0444) << "a locked recording stays locked in the copy";
    EXPECT_FALSE(fs::exists(backup / "Movie/2024_05_17_090000_02.MP4"));

    asked.clear();
    ASSERT_TRUE(c.catalog.CopyMarked(backup, [&](const fs::path& target) {
        asked.push_back(target);
        return true;
    }));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(ReadAll(existing), "front 8");
    EXPECT_EQ(ModeOf(rearCopy), 0444) << "a read-only target is not overwritten";
    EXPECT_EQ(ReadAll(c.paths[0]), "front 8");
    EXPECT_EQ(fs::last_write_time(c.paths[0]), sourceTime);
    EXPECT_EQ(fs::last_write_time(existing), sourceTime);
    for (const auto& entry : fs::recursive_directory_iterator(c.card.Root() / "backup"))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();

    // Without a way to ask, nothing is overwritten.
    std::ofstream(existing) << "third";
    ASSERT_TRUE(c.catalog.CopyMarked(backup, nullptr));
    EXPECT_EQ(ReadAll(existing), "third");
}

TEST(FileOperations, CopyOntoItselfAndFromAVanishedSourceLeaveFilesAlone) {
    Card c("ops_copy_self");
    c.Scan();
    c.lines.m_ticked = {1};
    int asked = 0;
    ASSERT_TRUE(c.catalog.CopyMarked(c.card.Root(), [&](const fs::path&) { return ++asked, true; }));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(ReadAll(c.paths[2]), "front 9");
    EXPECT_EQ(ReadAll(c.paths[3]), "rear 9");

    EXPECT_FALSE(CopyFileViaTemporary(c.card.Root() / "missing.MP4", c.card.Root() / "t.MP4"));
    EXPECT_FALSE(fs::exists(c.card.Root() / "t.MP4"));
    EXPECT_FALSE(CopyFileViaTemporary(c.paths[0], c.card.Root() / "no/such/folder/t.MP4"));
}

TEST(DirectoryTree, CreatesEveryMissingFolderAndAcceptsExistingOnes) {
    TempCard card("tree");
    const fs::path deep = card.Root() / "a/b/c/d";
    EXPECT_TRUE(CreateDirectoryTree(deep));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(CreateDirectoryTree(deep.string() + "/"));
    card.Write("file");
    EXPECT_FALSE(CreateDirectoryTree(card.Root() / "file/sub"));
    EXPECT_FALSE(CreateDirectoryTree(""));
}

// The per-file answers the main window turns into messages: a delete or copy in which files were
// skipped or failed says which and why, instead of a plain success.
TEST(FileOperations, DeleteReportsEachFileDoneLockedOrFailedWithItsErrno) {
    Card c("ops_delete_report");
    SetMode(c.paths[1], 0444); // rear of group 0: locked
    c.Scan();
    fs::remove(c.paths[2]); // front of group 1 vanished behind the catalog's back
    c.lines.m_ticked = {0, 1};
    const FileOperationReport report = c.catalog.DeleteMarked();
    ASSERT_TRUE(report);
    ASSERT_EQ(report.m_Files.size(), 3u);
    // Last group first, last file first; the locked group once.
    EXPECT_EQ(report.m_Files[0].m_Path, c.paths[3]);
    EXPECT_EQ(report.m_Files[0].m_eOutcome, FileOperationOutcome::kDone);
    EXPECT_EQ(report.m_Files[1].m_Path, c.paths[2]);
    EXPECT_EQ(report.m_Files[1].m_eOutcome, FileOperationOutcome::kFailed);
    EXPECT_EQ(report.m_Files[1].m_nError, ENOENT);
    EXPECT_EQ(report.m_Files[2].m_Path, c.paths[1]);
    EXPECT_EQ(report.m_Files[2].m_eOutcome, FileOperationOutcome::kSkippedLocked);
    EXPECT_EQ(report.m_Files[2].m_nError, 0);
    EXPECT_FALSE(report.AllDone());
    EXPECT_EQ(report.Count(FileOperationOutcome::kDone), 1u);
    EXPECT_EQ(report.FileCount(), 4u);
    // The failed file and the locked group keep their entries.
    EXPECT_EQ(c.catalog.Entries().size(), 3u);

    c.lines.m_ticked = {};
    const FileOperationReport none = c.catalog.DeleteMarked();
    EXPECT_FALSE(none);
    EXPECT_TRUE(none.m_Files.empty());
}

TEST(FileOperations, CopyReportsEachTarget) {
    Card c("ops_copy_report");
    SetMode(c.paths[1], 0444);
    c.Scan();
    const fs::path backup = c.card.Root() / "backup";
    c.lines.m_ticked = {0};
    const FileOperationReport first = c.catalog.CopyMarked(backup, nullptr);
    ASSERT_TRUE(first);
    ASSERT_EQ(first.m_Files.size(), 2u);
    EXPECT_TRUE(first.AllDone());
    EXPECT_EQ(first.m_Files[0].m_Path, backup / "Movie/2024_05_17_080000_01.MP4");

    // Again: the front copy exists (declined without a way to ask); with a yes the locked rear
    // copy is still not overwritten.
    const FileOperationReport declined = c.catalog.CopyMarked(backup, nullptr);
    EXPECT_EQ(declined.Count(FileOperationOutcome::kSkippedDeclined), 2u);
    const FileOperationReport again = c.catalog.CopyMarked(backup, [](const fs::path&) { return true; });
    ASSERT_EQ(again.m_Files.size(), 2u);
    EXPECT_EQ(again.m_Files[0].m_eOutcome, FileOperationOutcome::kDone);
    EXPECT_EQ(again.m_Files[1].m_eOutcome, FileOperationOutcome::kSkippedLocked);

    // Onto itself: nothing to do, and said so.
    c.lines.m_ticked = {1};
    const FileOperationReport self =
        c.catalog.CopyMarked(c.card.Root(), [](const fs::path&) { return true; });
    EXPECT_EQ(self.Count(FileOperationOutcome::kSkippedSameFile), 2u);

    // A destination below a plain file: every file fails, with the system's reason.
    std::ofstream(c.card.Root() / "plain") << "x";
    const FileOperationReport failed = c.catalog.CopyMarked(c.card.Root() / "plain", nullptr);
    ASSERT_TRUE(failed);
    ASSERT_EQ(failed.m_Files.size(), 2u);
    for (const FileOperationResult& r : failed.m_Files) {
        EXPECT_EQ(r.m_eOutcome, FileOperationOutcome::kFailed) << r.m_Path;
        EXPECT_NE(r.m_nError, 0) << r.m_Path;
    }
}
