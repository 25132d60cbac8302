#include <gtest/gtest.h>

#include "catalog_test_support.h"
#include "list_columns.h"

using namespace catalog_test;

namespace {

struct ScannedCard {
    explicit ScannedCard(const std::string& name) : card(name) {
        catalog.SetParserFactory(readers.Factory());
        catalog.SetObserver(&observer);
    }
    void Add(const std::string& relative, int64_t start, uint32_t durationMs, uint64_t size = 1 << 20) {
        card.Write(relative);
        readers.Add(fs::path(relative).filename().string(), start, durationMs, size);
    }
    bool Scan() { return catalog.ScanSource(card.Root(), ""); }
    std::vector<int> GroupSizes() const {
        std::vector<int> sizes;
        for (const GroupRow& row : catalog.GroupRows())
            sizes.push_back(row.m_nFileCount);
        return sizes;
    }

    TempCard card;
    FakeReaders readers;
    CountingObserver observer;
    CRecordingCatalog catalog;
};

} // namespace

TEST(CatalogGrouping, GapOfTwoSecondsJoinsGapOfEightSecondsSplits) {
    ScannedCard s("group_gaps");
    s.Add("Movie/2024_05_17_080000_01.MP4", At(2024, 5, 17, 8, 0, 0), 60000);
    s.Add("Movie/2024_05_17_080102_02.MP4", At(2024, 5, 17, 8, 1, 2), 60000);
    s.Add("Movie/2024_05_17_080210_03.MP4", At(2024, 5, 17, 8, 2, 10), 60000);
    ASSERT_TRUE(s.Scan());
    EXPECT_EQ(s.GroupSizes(), (std::vector<int>{2, 1}));
    const auto& entries = s.catalog.Entries();
    EXPECT_EQ(entries[0].m_nNewGroup, 1);
    EXPECT_EQ(entries[1].m_nNewGroup, 0);
    EXPECT_EQ(entries[2].m_nNewGroup, 1);
    EXPECT_EQ(s.catalog.GroupRows()[0].m_llLengthMs, 120000);
    EXPECT_EQ(s.catalog.GroupRows()[1].m_nFirstEntry, 2);
    EXPECT_EQ(s.observer.resets, 1);
    EXPECT_EQ(s.observer.rowsChanged, 1);
}

TEST(CatalogGrouping, FrontAndRearInDifferentFoldersFormOneGroupWithTheLongerSum) {
    ScannedCard s("group_pair");
    s.Add("Movie/2024_05_17_080000_01.MP4", At(2024, 5, 17, 8, 0, 0), 60000, 100);
    s.Add("Rear/Deep/2024_05_17_080001_01_b.MP4", At(2024, 5, 17, 8, 0, 1), 59000, 50);
    s.Add("Movie/2024_05_17_080100_02.MP4", At(2024, 5, 17, 8, 1, 0), 30000, 10);
    ASSERT_TRUE(s.Scan());
    ASSERT_EQ(s.GroupSizes(), (std::vector<int>{3}));
    const GroupRow& row = s.catalog.GroupRows()[0];
    EXPECT_EQ(row.m_llLengthMs, 90000) << "front 60 + 30 s beats rear 59 s; never the total";
    EXPECT_EQ(row.m_ullSize, 160u);
    const auto& files = s.catalog.FileRows();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[1].m_nPosition, 1);
    EXPECT_EQ(files[1].m_nEntry, 1);
    EXPECT_EQ(s.catalog.Entries()[1].m_strSubfolder, "Rear/Deep/");
    EXPECT_EQ(s.catalog.EntryFolderText(1), s.catalog.Entries()[1].m_strFolder + "Rear/Deep/");
    EXPECT_EQ(s.catalog.EntryPath(1), s.card.Root() / "Rear/Deep/2024_05_17_080001_01_b.MP4");
}

TEST(CatalogGrouping, EqualStartTimesSortByNameAndStayTogether) {
    ScannedCard s("group_equal");
    const int64_t t = At(2024, 5, 17, 9, 0, 0);
    s.Add("B/2024_05_17_090000_01_b.MP4", t, 60000);
    s.Add("A/2024_05_17_090000_01.MP4", t, 60000);
    s.Add("A/2024_05_17_085000_09.MP4", t - 600, 60000);
    ASSERT_TRUE(s.Scan());
    const auto& entries = s.catalog.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].m_strFileName, "2024_05_17_085000_09.MP4");
    EXPECT_EQ(entries[1].m_strFileName, "2024_05_17_090000_01.MP4");
    EXPECT_EQ(entries[2].m_strFileName, "2024_05_17_090000_01_b.MP4");
    EXPECT_EQ(s.GroupSizes(), (std::vector<int>{1, 2}));
    EXPECT_EQ(s.catalog.GroupRows()[1].m_llLengthMs, 60000);
}

TEST(CatalogGrouping, StartWithinThreeSecondsOfThePreviousEndOrStart) {
    ScannedCard s("group_edges");
    const int64_t t = At(2024, 1, 1, 12, 0, 0);
    s.Add("2024_01_01_120000_01.MP4", t, 10999);       // ends at t + 10 (integer seconds)
    s.Add("2024_01_01_120013_02.MP4", t + 13, 1000);   // 3 s after the end: same group
    s.Add("2024_01_01_120018_03.MP4", t + 18, 100000); // 4 s after t + 14: new group
    s.Add("2024_01_01_120021_04_b.MP4", t + 21, 1000); // long before 03 ends, 3 s after it starts
    s.Add("2024_01_01_115000_05.MP4", t - 600, 0);
    ASSERT_TRUE(s.Scan());
    EXPECT_EQ(s.GroupSizes(), (std::vector<int>{1, 2, 2}));
}

TEST(CatalogScan, LockMarksFilesVisitedAndGpsBlocks) {
    ScannedCard s("scan_marks");
    const int64_t t = At(2024, 5, 17, 10, 0, 0);
    s.Add("2024_05_17_100000_01.MP4", t, 60000);
    s.Add("2024_05_17_100100_02.MP4", t + 60, 60000);
    s.readers.Add("2024_05_17_100100_02.MP4", t + 60, 60000).m_uLayout = kLayoutJtdMeta;
    s.Add("2024_05_17_100200_03.MP4", t + 120, 60000);
    SetMode(s.card.Root() / "2024_05_17_100000_01.MP4", 0444);
    SetMode(s.card.Root() / "2024_05_17_100100_02.MP4", 0444);
    s.card.Write("2024_05_17_100300_04.MP4");   // the reader rejects it
    s.card.Write("EVGS_2024_05_17_100400.MP4"); // not a recording name
    s.card.Write(".hidden/2024_05_17_100500_05.MP4");
    s.card.Write("Empty/.keep");
    ASSERT_TRUE(s.Scan());

    EXPECT_EQ(s.catalog.FilesVisited(), 5) << "every file offered, accepted or not; no folders, no hidden";
    EXPECT_EQ(s.readers.Created(), 4) << "no reader for names outside the grammar";
    const auto& e = s.catalog.Entries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].m_nLockMarks, kLockMarkG);
    EXPECT_EQ(e[1].m_nLockMarks, kLockMarkG) << "a read-only layout-1 recording is locked like any other";
    EXPECT_EQ(e[2].m_nLockMarks, 0);
    EXPECT_EQ(s.catalog.GroupRows()[0].m_byLockMarks, kLockMarkG);
    EXPECT_FALSE(s.catalog.HasGpsBlocks());

    MediaInfo& withBlocks = s.readers.Add("2024_05_17_100200_03.MP4", t + 120, 60000);
    withBlocks.m_ullGpsOffset = 4096;
    ASSERT_TRUE(s.Scan());
    EXPECT_FALSE(s.catalog.HasGpsBlocks()) << "offset without size";
    withBlocks.m_uGpsSize = 32;
    ASSERT_TRUE(s.Scan());
    EXPECT_TRUE(s.catalog.HasGpsBlocks());
    EXPECT_EQ(s.catalog.FilesVisited(), 5) << "counted afresh by every folder scan";
}

TEST(CatalogScan, SingleFileLockMarksAndMissingSources) {
    ScannedCard s("scan_single");
    const int64_t t = At(2024, 5, 17, 10, 0, 0);
    s.Add("202G_05_17_100000_01.MP4", t, 60000);
    s.Add("2024_05_17_100100_02.MP4", t + 60, 60000);
    ASSERT_TRUE(s.catalog.ScanSource(s.card.Root(), "202G_05_17_100000_01.MP4"));
    ASSERT_EQ(s.catalog.Entries().size(), 1u);
    EXPECT_EQ(s.catalog.Entries()[0].m_nLockMarks, kLockMarkG) << "fourth character G, not read-only";
    EXPECT_EQ(s.catalog.Entries()[0].m_strSubfolder, "");
    EXPECT_EQ(s.catalog.Entries()[0].m_strFolder, s.card.Root().string());
    EXPECT_EQ(s.catalog.EntryPath(0), s.card.Root() / "202G_05_17_100000_01.MP4");

    SetMode(s.card.Root() / "2024_05_17_100100_02.MP4", 0440);
    ASSERT_TRUE(s.catalog.ScanSource(s.card.Root().string() + "/", "2024_05_17_100100_02.MP4"));
    ASSERT_EQ(s.catalog.Entries().size(), 1u);
    EXPECT_EQ(s.catalog.Entries()[0].m_nLockMarks, kLockMarkM);

    EXPECT_FALSE(s.catalog.ScanSource(s.card.Root(), "2024_05_17_235959_09.MP4"));
    EXPECT_TRUE(s.catalog.Entries().empty());
    EXPECT_FALSE(s.catalog.ScanSource(s.card.Root() / "missing", ""));
    EXPECT_TRUE(s.catalog.Entries().empty());
    EXPECT_TRUE(s.catalog.GroupRows().empty());
    EXPECT_FALSE(s.catalog.ScanSource(s.card.Root() / "202G_05_17_100000_01.MP4", ""))
        << "a file is no folder";
}

TEST(ListColumns, TextsOfTheFileAndGroupLines) {
    EXPECT_EQ(MegabytesText(1048575), " 0 MB");
    EXPECT_EQ(MegabytesText(1048576), " 1 MB");
    EXPECT_EQ(MegabytesText(5ull << 40), " 5242880 MB");
    const int64_t late = At(2024, 5, 17, 23, 59, 30);
    EXPECT_EQ(TimeOfDayText(late), "23:59:30");
    EXPECT_EQ(EndTimeText(late, 60000), "00:00:30");
    EXPECT_EQ(EndTimeText(late, 59999), "00:00:29");
    EXPECT_EQ(GroupStartText(late), "2024-05-17 23:59:30");
    EXPECT_EQ(GroupLengthText(60999), " 60 s ");
    EXPECT_EQ(FileIdText(3, 0), "G3-0");
    EXPECT_EQ(GroupIdText(12), "G12");
    EXPECT_EQ(FileNameColumnText("2024_05_17_083015_01.MP4"), "05_17_083015_01.MP4");
    EXPECT_EQ(FileNameColumnText("abcde"), "");
    EXPECT_EQ(FileNameColumnText("abc"), "");
    EXPECT_EQ(FileNameColumnText("\xC3\xA4\xC3\xB6\xC3\xBC\xE2\x82\xAC_x.MP4"), "x.MP4");
    EXPECT_EQ(ResolutionName(1920, 1080), "1080P HD");
    EXPECT_EQ(ResolutionName(2048, 1600), "QXGA");
    EXPECT_EQ(ResolutionName(2048, 1536), "QXGA");
    EXPECT_EQ(ResolutionName(1152, 870), "MAC");
    EXPECT_EQ(ResolutionName(320, 240), "CIF");
    EXPECT_EQ(ResolutionName(1920, 1088), "1920x1088");
    EXPECT_EQ(ResolutionName(0, 1080), "");
    EXPECT_EQ(ResolutionName(1920, 0), "");
}
