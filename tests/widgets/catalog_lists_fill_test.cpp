// The lists filled step by step from a large catalog: every row in order at the end, a reset or a
// new rebuild in the middle drops the old fill, ticks and the playing line behave as in a list
// filled at once, and check boxes answer the keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <string>

#include "catalog_lists.h"
#include "catalog_test_support.h"
#include "list_columns.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "recording_catalog.h"

namespace fs = std::filesystem;

namespace {

using catalog_test::At;

// `groups` groups of `perGroup` front recordings of 60 s each, an hour apart (1280 x 720); the
// file names count up so that the catalog's order is known.
class GroupedCard {
  public:
    GroupedCard(const std::string& name, int groups, int perGroup, int firstDay = 1) : m_card(name) {
        fs::create_directories(m_card.Root() / "Movie");
        for (int g = 0; g < groups; ++g)
            for (int f = 0; f < perGroup; ++f) {
                const int64_t start = At(2024, 6, firstDay, 0, 0, 0) + g * 3600 + f * 60;
                const LocalDateTime t = TimeToLocalWallClock(start);
                char file[64];
                std::snprintf(file, sizeof file, "%04d_%02d_%02d_%02d%02d%02d_%02d.MP4", t.year, t.month,
                              t.day, t.hour, t.minute, t.second, f % 100);
                m_paths.push_back(m_card.Write(std::string("Movie/") + file));
                MediaInfo& info = m_readers.Add(file, start, 60000, 1u << 20);
                info.m_wWidth = 1280;
                info.m_wHeight = 720;
                m_names.push_back(file);
            }
    }
    void Scan(CRecordingCatalog& catalog) {
        catalog.SetParserFactory(m_readers.Factory());
        ASSERT_TRUE(catalog.ScanSource(m_card.Root(), ""));
    }
    const std::vector<std::string>& Names() const { return m_names; }
    // The recording file `index` (in the catalog's order) without write permission: locked.
    void Lock(size_t index) const { catalog_test::SetMode(m_paths.at(index), 0444); }

  private:
    catalog_test::TempCard m_card;
    catalog_test::FakeReaders m_readers;
    std::vector<std::string> m_names;
    std::vector<fs::path> m_paths;
};

struct SteppedLists {
    explicit SteppedLists(size_t rowsPerStep) : observer(catalog, groups, files) {
        groups.resize(500, 200);
        files.resize(1000, 300);
        groups.Setup();
        files.Setup();
        observer.SetRowsPerStep(rowsPerStep);
        catalog.SetObserver(&observer);
        catalog.SetGroupLineState(&groups);
    }
    // Lets the remaining steps run; false when they do not end.
    bool FinishFill() {
        return QTest::qWaitFor([this] { return !observer.Filling(); }, 5000);
    }
    CRecordingCatalog catalog;
    COrvexGroupListCtrl groups;
    COrvexFileListCtrl files;
    CCatalogLists observer;
};

// Every line shows its catalog row, in the catalog's order, and there are no more lines than rows.
void ExpectLinesMatchTheCatalog(const SteppedLists& lists) {
    const auto& fileRows = lists.catalog.FileRows();
    const auto& groupRows = lists.catalog.GroupRows();
    ASSERT_EQ(static_cast<size_t>(lists.files.LineCount()), fileRows.size());
    ASSERT_EQ(static_cast<size_t>(lists.groups.LineCount()), groupRows.size());
    for (size_t line = 0; line < fileRows.size(); ++line) {
        const FileRow& row = fileRows[line];
        const RecordingEntry& entry = lists.catalog.Entries()[static_cast<size_t>(row.m_nEntry)];
        const int at = static_cast<int>(line);
        ASSERT_EQ(lists.files.LineText(at, 0).toStdString(), FileIdText(row.m_nGroup, row.m_nPosition))
            << line;
        ASSERT_EQ(lists.files.LineText(at, 1).toStdString(), FileNameColumnText(entry.m_strFileName)) << line;
    }
    for (size_t line = 0; line < groupRows.size(); ++line)
        ASSERT_EQ(lists.groups.LineText(static_cast<int>(line), 0).toStdString(),
                  GroupIdText(groupRows[line].m_nGroup))
            << line;
}

} // namespace

TEST(CatalogListsFill, ALargeCatalogFillsInStepsAndEndsWithEveryRowInOrder) {
    GroupedCard card("fill_steps", 6, 10); // 6 group lines, 60 file lines
    card.Lock(47);
    SteppedLists lists(8);
    card.Scan(lists.catalog);

    // The first step ran within the rebuild: group lines first, no more than one step's worth.
    EXPECT_TRUE(lists.observer.Filling());
    EXPECT_EQ(lists.groups.LineCount(), 6);
    EXPECT_EQ(lists.files.LineCount(), 2);
    EXPECT_EQ(lists.files.LineText(1, 1).toStdString(), FileNameColumnText(card.Names()[1]));

    // Each turn of the event loop adds one more step.
    QApplication::processEvents();
    EXPECT_GT(lists.files.LineCount(), 2);

    ASSERT_TRUE(lists.FinishFill());
    ExpectLinesMatchTheCatalog(lists);
    EXPECT_EQ(lists.files.LineText(59, 0), "G5-9");
    EXPECT_EQ(lists.groups.LineText(5, 1), "720P");
    // The lock mark of a line added in a later step, and of its group line.
    EXPECT_EQ(lists.files.LineLockMarks(47), kLockMarkG);
    EXPECT_EQ(lists.files.LineLockMarks(46), 0);
    EXPECT_EQ(lists.groups.LineLockMarks(4), kLockMarkG);
    EXPECT_EQ(lists.groups.LineLockMarks(3), 0);
    EXPECT_FALSE(lists.files.LineIcon(47).isNull());

    // A catalog that fits in one step is complete when the rebuild returns.
    SteppedLists once(CCatalogLists::kRowsPerStep);
    card.Scan(once.catalog);
    EXPECT_FALSE(once.observer.Filling());
    ExpectLinesMatchTheCatalog(once);
}

TEST(CatalogListsFill, AResetOrANewRebuildInTheMiddleDropsTheOldFill) {
    GroupedCard first("fill_first", 5, 10);      // 50 files
    GroupedCard second("fill_second", 2, 3, 20); // 6 files on another day
    SteppedLists lists(7);

    first.Scan(lists.catalog);
    QApplication::processEvents();
    ASSERT_TRUE(lists.observer.Filling());
    lists.catalog.ResetCatalog();
    EXPECT_FALSE(lists.observer.Filling());
    EXPECT_EQ(lists.files.LineCount(), 0);
    EXPECT_EQ(lists.groups.LineCount(), 0);
    QTest::qWait(50);
    EXPECT_EQ(lists.files.LineCount(), 0) << "no stale step adds lines to the emptied lists";
    EXPECT_EQ(lists.groups.LineCount(), 0);

    // A second scan while the first one's lines are still coming: only the second's lines remain.
    first.Scan(lists.catalog);
    QApplication::processEvents();
    ASSERT_TRUE(lists.observer.Filling());
    second.Scan(lists.catalog);
    ASSERT_TRUE(lists.FinishFill());
    QTest::qWait(50);
    ExpectLinesMatchTheCatalog(lists);
    EXPECT_EQ(lists.files.LineCount(), 6);
    EXPECT_EQ(lists.files.LineText(5, 1).toStdString(), FileNameColumnText(second.Names()[5]));

    // Rows rebuilt in the middle of a fill (as after a file command): the fill starts over.
    first.Scan(lists.catalog);
    QApplication::processEvents();
    lists.catalog.GroupCatalog();
    EXPECT_EQ(lists.groups.LineCount(), 5) << "one step of the new fill: every group line";
    EXPECT_EQ(lists.files.LineCount(), 2) << "and the first two file lines";
    ASSERT_TRUE(lists.FinishFill());
    ExpectLinesMatchTheCatalog(lists);
}

TEST(CatalogListsFill, TicksAndThePlayingLineDuringAndAfterAStepwiseFill) {
    GroupedCard card("fill_ticks", 4, 10); // 4 groups, 40 files
    SteppedLists lists(10);
    card.Scan(lists.catalog);      // 4 group lines, 6 file lines
    QApplication::processEvents(); // 16 file lines

    // Ticks given while lines are still coming stay through the later steps.
    lists.files.SetLineTicked(3, true);
    lists.groups.SetLineTicked(2, true);
    EXPECT_FALSE(lists.files.IsLineTicked(30)) << "a line not added yet is not ticked";
    EXPECT_TRUE(lists.catalog.MarkGroups()) << "commands see the ticks given so far";
    EXPECT_EQ(lists.catalog.GroupRows()[2].m_nMarked, 1);
    EXPECT_EQ(lists.catalog.GroupRows()[0].m_nMarked, 0)
        << "a ticked file line marks through the window only";

    // The playing line chosen beyond the lines added so far is highlighted once its line exists.
    ASSERT_TRUE(MarkCurrent(lists.catalog, lists.groups, lists.files, 35));
    EXPECT_EQ(lists.files.CurrentLine(), -1);
    EXPECT_TRUE(lists.groups.IsCurrentLine(3));

    ASSERT_TRUE(lists.FinishFill());
    ExpectLinesMatchTheCatalog(lists);
    EXPECT_TRUE(lists.files.IsLineTicked(3));
    EXPECT_TRUE(lists.groups.IsLineTicked(2));
    for (int line = 4; line < lists.files.LineCount(); ++line)
        ASSERT_FALSE(lists.files.IsLineTicked(line)) << "lines are added clear: " << line;
    EXPECT_TRUE(lists.files.IsCurrentLine(35));
    EXPECT_TRUE(lists.groups.IsCurrentLine(3));

    // The keyboard ticks and unticks the current line's check box, as a mouse click does.
    lists.files.show();
    lists.files.setFocus();
    lists.files.setCurrentIndex(lists.files.model()->index(20, 0));
    QTest::keyClick(&lists.files, Qt::Key_Space);
    EXPECT_TRUE(lists.files.IsLineTicked(20));
    QTest::keyClick(&lists.files, Qt::Key_Space);
    EXPECT_FALSE(lists.files.IsLineTicked(20));
    lists.files.hide();

    // A rebuild (as after a file command) clears every tick and keeps the playing line.
    lists.catalog.GroupCatalog();
    ASSERT_TRUE(lists.FinishFill());
    EXPECT_FALSE(lists.files.IsLineTicked(3));
    EXPECT_FALSE(lists.groups.IsLineTicked(2));
    EXPECT_TRUE(lists.files.IsCurrentLine(35));
    EXPECT_TRUE(lists.groups.IsCurrentLine(3));
}
