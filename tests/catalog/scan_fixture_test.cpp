// Folder scans of cards written by the fixture writer: real, playable recordings of every
// MP4 telemetry layout, read by the real readers.
#include <gtest/gtest.h>

#include "catalog_test_support.h"
#include "fixture_writer.h"
#include "list_columns.h"
#include "recording_name.h"
#include "scan_report.h"

using namespace catalog_test;

namespace {

struct FixtureCard {
    explicit FixtureCard(const std::string& name) : root(fixtures::ScratchDir("catalog_" + name)) {}
    fixtures::WrittenRecording Write(const std::string& relative, TelemetryLayout layout, int64_t start,
                                     uint64_t sparse = 0, int seconds = 3) {
        fixtures::DriveSpec drive;
        drive.seconds = seconds;
        drive.driveStart = start;
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        telemetry.startTime = start;
        fixtures::WriteOptions options;
        options.sparsePadding = sparse;
        fs::create_directories((root / relative).parent_path());
        return fixtures::WriteRecording(root / relative, layout, telemetry, options,
                                        fixtures::SampleClip(320, 240, seconds));
    }
    fs::path root;
};

const RecordingEntry* FindEntry(const CRecordingCatalog& catalog, const std::string& name) {
    for (const RecordingEntry& e : catalog.Entries())
        if (e.m_strFileName == name) return &e;
    return nullptr;
}

} // namespace

TEST(ScanFixtures, EveryLayoutIsReadAndPairsGroupAcrossFolders) {
    FixtureCard card("layouts");
    const int64_t t = At(2024, 6, 1, 14, 0, 0);
    std::vector<fixtures::WrittenRecording> written;
    for (TelemetryLayout layout = 0; layout <= 4; ++layout) {
        const int64_t start = t + 600 * layout;
        char name[64];
        const auto wall = TimeToLocalWallClock(start);
        std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02u", wall.year, wall.month, wall.day,
                      wall.hour, wall.minute, wall.second, layout);
        written.push_back(card.Write(std::string("Movie/") + name + ".MP4", layout, start));
        written.push_back(card.Write(std::string("Movi_be/") + name + "_b.MP4", layout, start));
    }
    card.Write("Movie/notes_2024.MP4", 0, t);                                     // not a recording name
    std::ofstream(card.root / "Movie/2024_06_01_150000_09.MP4") << "not a movie"; // rejected by the reader

    CRecordingCatalog catalog;
    ASSERT_TRUE(catalog.ScanSource(card.root, ""));
    EXPECT_EQ(catalog.FilesVisited(), 12);
    ASSERT_EQ(catalog.Entries().size(), 10u);
    ASSERT_EQ(catalog.GroupRows().size(), 5u);
    for (const fixtures::WrittenRecording& w : written) {
        const RecordingEntry* e = FindEntry(catalog, w.path.filename().string());
        ASSERT_NE(e, nullptr) << w.path;
        const MediaInfo& info = e->m_MediaInfo;
        EXPECT_EQ(info.m_uLayout, w.layout) << w.path;
        EXPECT_EQ(info.m_wWidth, w.width);
        EXPECT_EQ(info.m_wHeight, w.height);
        EXPECT_EQ(info.m_uDurationMs, w.durationMs);
        EXPECT_EQ(info.m_ullFileSize, w.fileSize);
        EXPECT_EQ(info.m_llStartTime, w.startTime) << w.path;
        EXPECT_EQ(e->m_nLockMarks, 0);
    }
    for (const GroupRow& row : catalog.GroupRows()) {
        EXPECT_EQ(row.m_nFileCount, 2);
        const RecordingEntry& first = catalog.Entries()[static_cast<size_t>(row.m_nFirstEntry)];
        EXPECT_EQ(row.m_llLengthMs, first.m_MediaInfo.m_uDurationMs)
            << "front and rear: the longer, not the sum";
        EXPECT_FALSE(IsRearRecording(first.m_strFileName)) << "equal start times: the front name sorts first";
    }
    EXPECT_TRUE(catalog.HasGpsBlocks()) << "layout 0 carries GPS blocks";
}

// A read-only recording is shown locked whatever its layout, and unlocking it makes it writable
// and unmarked, also after a rescan.
TEST(ScanFixtures, ReadOnlyRecordingsOfEveryLayoutAreLockedAndCanBeUnlocked) {
    FixtureCard card("readonly");
    const int64_t t = At(2024, 6, 1, 9, 0, 0);
    const auto l1 = card.Write("2024_06_01_090000_01.MP4", 1, t);
    const auto l2 = card.Write("2024_06_01_091000_02.MP4", 2, t + 600);
    SetMode(l1.path, 0444);
    SetMode(l2.path, 0444);
    CRecordingCatalog catalog;
    ASSERT_TRUE(catalog.ScanSource(card.root, ""));
    ASSERT_EQ(catalog.Entries().size(), 2u);
    ASSERT_EQ(catalog.Entries()[0].m_MediaInfo.m_uLayout, 1u);
    EXPECT_EQ(catalog.Entries()[0].m_nLockMarks, kLockMarkG);
    EXPECT_EQ(catalog.GroupRows()[0].m_byLockMarks, kLockMarkG) << "the group line shows the lock";
    EXPECT_EQ(catalog.Entries()[1].m_nLockMarks, kLockMarkG);

    LineState lines;
    lines.m_ticked = {0};
    catalog.SetGroupLineState(&lines);
    EXPECT_TRUE(catalog.InspectMarked().AllLocked());
    const FileOperationReport unlocked = catalog.UnlockMarked();
    ASSERT_EQ(unlocked.m_Files.size(), 1u);
    EXPECT_EQ(unlocked.m_Files[0].m_eOutcome, FileOperationOutcome::kDone);
    EXPECT_TRUE(HasAnyWriteBit(l1.path));
    EXPECT_EQ(catalog.Entries()[0].m_nLockMarks, 0);
    ASSERT_TRUE(catalog.ScanSource(card.root, ""));
    EXPECT_EQ(catalog.Entries()[0].m_nLockMarks, 0) << "writable now: no mark at the next scan";

    ASSERT_TRUE(catalog.ScanSource(card.root, "2024_06_01_091000_02.MP4"));
    ASSERT_EQ(catalog.Entries().size(), 1u);
    EXPECT_EQ(catalog.Entries()[0].m_nLockMarks, kLockMarkM) << "single file: read-only gives the M mark";
    EXPECT_EQ(catalog.Entries()[0].m_MediaInfo.m_uLayout, 2u);
}

TEST(ScanFixtures, ReportShowsTheListTexts) {
    FixtureCard card("report");
    const int64_t t = At(2024, 12, 31, 23, 59, 58);
    const auto front = card.Write("Movie/2024_12_31_235958_01.MP4", 0, t, 3 << 20);
    card.Write("Movi_be/2024_12_31_235959_01_b.MP4", 2, t + 1);
    CRecordingCatalog catalog;
    ASSERT_TRUE(catalog.ScanSource(card.root, ""));
    const std::string json = ScanReportJson(catalog);
    const std::string root = card.root.string() + "/";
    EXPECT_EQ(json.find("{\"files_visited\":2,\"has_gps_blocks\":true,\"entries\":[{\"name\":"
                        "\"2024_12_31_235958_01.MP4\",\"folder\":" +
                        JsonString(root) + ",\"subfolder\":\"Movie/\",\"start_time\":" + std::to_string(t)),
              0u)
        << json;
    EXPECT_NE(json.find("\"groups\":[{\"group\":0,\"first\":0,\"count\":2,\"length_ms\":3000"),
              std::string::npos);
    EXPECT_NE(json.find("\"resolution\":\"CIF\",\"start\":\"2024-12-31 23:59:58\"}]"), std::string::npos);
    EXPECT_NE(json.find("\"id\":\"G0-0\",\"name\":\"12_31_235958_01.MP4\",\"start\":\"23:59:58\","
                        "\"end\":\"00:00:01\",\"size_text\":\"" +
                        MegabytesText(front.fileSize) + "\",\"folder\":" + JsonString(root + "Movie/") + "}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"id\":\"G0-1\""), std::string::npos);
    EXPECT_NE(json.find("\"rear\":true}"), std::string::npos);
    EXPECT_GE(front.fileSize, 3u << 20);
}

// After a delete the catalog holds exactly the groups a fresh scan of the folder builds: a
// recording that opened a group only because of the one deleted before it joins its neighbour.
TEST(ScanFixtures, GroupsAfterADeleteAreTheGroupsOfAFreshScan) {
    FixtureCard card("regroup");
    const int64_t t = At(2024, 6, 1, 10, 0, 0);
    card.Write("Movie/2024_06_01_100000_01.MP4", 0, t, 0, 20);           // 10:00:00 .. 10:00:20
    const auto middle = card.Write("Event/2024_06_01_100008_02.MP4", 2, t + 8); // its own group
    card.Write("Movie/2024_06_01_100021_03.MP4", 0, t + 21);             // 1 s after the first ends
    CRecordingCatalog catalog;
    ASSERT_TRUE(catalog.ScanSource(card.root, ""));
    ASSERT_EQ(catalog.GroupRows().size(), 3u);

    LineState lines;
    lines.m_ticked = {1};
    catalog.SetGroupLineState(&lines);
    ASSERT_TRUE(catalog.DeleteMarked().AllDone());
    ASSERT_FALSE(fs::exists(middle.path));

    CRecordingCatalog fresh;
    ASSERT_TRUE(fresh.ScanSource(card.root, ""));
    ASSERT_EQ(fresh.GroupRows().size(), 1u);
    ASSERT_EQ(catalog.GroupRows().size(), fresh.GroupRows().size());
    for (size_t g = 0; g < fresh.GroupRows().size(); ++g) {
        EXPECT_EQ(catalog.GroupRows()[g].m_nFirstEntry, fresh.GroupRows()[g].m_nFirstEntry);
        EXPECT_EQ(catalog.GroupRows()[g].m_nFileCount, fresh.GroupRows()[g].m_nFileCount);
        EXPECT_EQ(catalog.GroupRows()[g].m_llLengthMs, fresh.GroupRows()[g].m_llLengthMs);
    }
    ASSERT_EQ(catalog.Entries().size(), fresh.Entries().size());
    for (size_t i = 0; i < fresh.Entries().size(); ++i)
        EXPECT_EQ(catalog.Entries()[i].m_nNewGroup, fresh.Entries()[i].m_nNewGroup) << i;
}
