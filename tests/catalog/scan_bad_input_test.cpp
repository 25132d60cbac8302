// The scan on cards that are not what a camera writes: odd names, link loops, folders and
// files that go away while the scan runs, very many files.
#include <fcntl.h>
#include <gtest/gtest.h>

#include "catalog_test_support.h"
#include "fixture_writer.h"
#include "parser_factory.h"
#include "scan_report.h"

using namespace catalog_test;

namespace {

// True when every byte sequence of `text` is valid UTF-8 and no control character occurs.
bool IsCleanUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80                 ? 1
                        : c >= 0xC2 && c <= 0xDF ? 2
                        : c >= 0xE0 && c <= 0xEF ? 3
                        : c >= 0xF0 && c <= 0xF4 ? 4
                                                 : 0;
        if (length == 0 || c < 0x20 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// Accepts every file whose name the grammar accepts, with a start time from its number.
CRecordingCatalog::ParserFactory AcceptAll(std::function<void(const fs::path&)> before = nullptr) {
    class Reader : public COrvexVideoParser {
      public:
        void SetMediaInfo(MediaInfo* info) override { m_info = info; }
        int Parse(const fs::path& path) override {
            int year, month, day, hour, minute, second;
            if (std::sscanf(path.filename().c_str(), "%4d_%2d_%2d_%2d%2d%2d", &year, &month, &day, &hour,
                            &minute, &second) != 6)
                return -1;
            m_info->m_llStartTime = At(year, month, day, hour, minute, second);
            m_info->m_uDurationMs = 60000;
            return 0;
        }

      private:
        MediaInfo* m_info = nullptr;
    };
    return [before](const fs::path& path) -> std::unique_ptr<COrvexVideoParser> {
        if (before) before(path);
        return std::make_unique<Reader>();
    };
}

} // namespace

TEST(ScanBadInput, NamesWithUtf8InvalidBytesAndNearMisses) {
    TempCard card("bad_names");
    card.Write("2024_05_17_083015_01_\xC3\xA4\xC3\xB6.MP4");
    card.Write("2024_05_17_083016_01_\xFF\xFE\x01\".MP4");
    card.Write("\xE2\x82\xAC\xE2\x82\xAC/2024_05_17_083017_01.MP4");
    card.Write("\xC0\xAF/2024_05_17_083018_01.MP4"); // an overlong "/" as a folder name
    card.Write("2024_05_17_08301.MP4");              // five digits still read as three numbers
    card.Write("2024_05_17_0830.MP4");               // one number short
    card.Write("2024_05-17_083015_01.MP4");
    card.Write("_2024_05_17_083015_01.MP4");
    card.Write("2O24_05_17_083015_01.MP4"); // letter O
    card.Write("\n\t\x7F"
               "2024_05_17_083015_01.MP4");
    CRecordingCatalog catalog;
    catalog.SetParserFactory(AcceptAll());
    ASSERT_TRUE(catalog.ScanSource(card.Root(), ""));
    EXPECT_EQ(catalog.FilesVisited(), 10);
    EXPECT_EQ(catalog.Entries().size(), 5u);
    const std::string json = ScanReportJson(catalog);
    EXPECT_TRUE(IsCleanUtf8(json));
    EXPECT_NE(json.find("01_\\ufffd\\ufffd\\u0001\\\".MP4"), std::string::npos) << json;
    EXPECT_NE(json.find("\"subfolder\":\"\xE2\x82\xAC\xE2\x82\xAC/\""), std::string::npos);
    EXPECT_NE(json.find("\"subfolder\":\"\\ufffd\\ufffd/\""), std::string::npos);
    // The entry keeps the name's bytes: the file can still be opened.
    for (size_t i = 0; i < catalog.Entries().size(); ++i)
        EXPECT_TRUE(fs::exists(catalog.EntryPath(i))) << i;
}

TEST(ScanBadInput, JsonStringEscapes) {
    EXPECT_EQ(JsonString("a\"b\\c\n\r\t\x1F"), "\"a\\\"b\\\\c\\n\\r\\t\\u001f\"");
    EXPECT_EQ(JsonString("\xC3\xA4\xF0\x9F\x9A\x97"), "\"\xC3\xA4\xF0\x9F\x9A\x97\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");            // a surrogate
    EXPECT_EQ(JsonString("\xE0\x80\xAF"), "\"\\ufffd\\ufffd\\ufffd\"");            // overlong
    EXPECT_EQ(JsonString("\xC3"), "\"\\ufffd\"");                                  // cut short
    EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"\\ufffd\\ufffd\\ufffd\\ufffd\""); // above U+10FFFF
}

TEST(ScanBadInput, LinkLoopsFinishAndCountEachFileOnce) {
    TempCard card("bad_loop");
    card.Write("Movie/2024_05_17_083015_01.MP4");
    fs::create_directory_symlink(card.Root(), card.Root() / "Movie/up");
    fs::create_directory_symlink(card.Root() / "Movie", card.Root() / "Again");
    fs::create_directory_symlink(card.Root() / "Again", card.Root() / "Movie/again");
    CRecordingCatalog catalog;
    catalog.SetParserFactory(AcceptAll());
    ASSERT_TRUE(catalog.ScanSource(card.Root(), ""));
    EXPECT_EQ(catalog.FilesVisited(), 1);
    EXPECT_EQ(catalog.Entries().size(), 1u);
}

TEST(ScanBadInput, FolderVanishingAndUnreadableFilesAreSkipped) {
    TempCard card("bad_vanish");
    for (int i = 0; i < 20; ++i)
        card.Write("A/2024_05_17_0900" + std::to_string(10 + i) + "_01.MP4");
    card.Write("B/Sub/2024_05_17_100000_01.MP4");
    card.Write("2024_05_17_110000_01.MP4", "");                     // empty
    card.Write("2024_05_17_110100_01.MP4", std::string(100, '\0')); // zeros
    card.Write("2024_05_17_110200_01.MP4", "\x00\x00\x00\x08"
                                           "ftyp");                 // truncated box
    card.Write("2024_05_17_110300_01.MP4");                         // removed before it is read
    fs::create_directory(card.Root() / "2024_05_17_110400_01.MP4"); // a folder named like a recording
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    const auto fixture = fixtures::WriteRecording(card.Root() / "2024_05_17_120000_01.MP4", 0,
                                                  fixtures::SimulateDrive(drive), {}, fixtures::SampleClip());
    fs::resize_file(fixture.path, fixture.fileSize / 2); // cut in the middle
    int calls = 0;
    CRecordingCatalog catalog;
    catalog.SetParserFactory([&](const fs::path& path) {
        if (++calls == 1) // the first file read takes a whole folder with it
            fs::remove_all(path.parent_path() == card.Root() ? card.Root() / "A" : path.parent_path());
        if (path.filename() == "2024_05_17_110300_01.MP4") fs::remove(path);
        return CreateVideoParser(path);
    });
    ASSERT_TRUE(catalog.ScanSource(card.Root(), ""));
    EXPECT_GE(catalog.FilesVisited(), 6);
    for (const RecordingEntry& e : catalog.Entries())
        EXPECT_EQ(e.m_strFileName, "2024_05_17_120000_01.MP4") << "only the cut fixture may be readable";
}

TEST(ScanBadInput, HundredThousandFilesFinish) {
    TempCard card("bad_many");
    constexpr int kFolders = 100, kPerFolder = 1000;
    const int64_t t = At(2024, 1, 1, 0, 0, 0);
    for (int f = 0; f < kFolders; ++f) {
        const fs::path folder = card.Root() / ("F" + std::to_string(f));
        fs::create_directory(folder);
        for (int i = 0; i < kPerFolder; ++i) {
            const auto w = TimeToLocalWallClock(t + (f * kPerFolder + i) * 60);
            char name[64];
            std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d.MP4", w.year, w.month, w.day,
                          w.hour, w.minute, w.second, i % 100);
            ::close(::open((folder / name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        }
    }
    CRecordingCatalog catalog;
    catalog.SetParserFactory(AcceptAll());
    ASSERT_TRUE(catalog.ScanSource(card.Root(), ""));
    EXPECT_EQ(catalog.FilesVisited(), kFolders * kPerFolder);
    ASSERT_EQ(catalog.Entries().size(), static_cast<size_t>(kFolders * kPerFolder));
    EXPECT_EQ(catalog.FileRows().size(), catalog.Entries().size());
    // 60-second recordings one after the other: one long group.
    EXPECT_EQ(catalog.GroupRows().size(), 1u);
    EXPECT_EQ(catalog.GroupRows()[0].m_llLengthMs, 60000ll * kFolders * kPerFolder);
    for (size_t i = 1; i < catalog.Entries().size(); ++i)
        ASSERT_LT(catalog.Entries()[i - 1].m_MediaInfo.m_llStartTime,
                  catalog.Entries()[i].m_MediaInfo.m_llStartTime);
}
