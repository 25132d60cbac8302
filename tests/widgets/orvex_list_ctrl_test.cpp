// The file and group lists: their lines from a catalog, lock icons, the playing line's highlight,
// column titles and widths, and the double-click messages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <unistd.h>
#include <vector>

#include "catalog_lists.h"
#include "catalog_test_support.h"
#include "language.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "private_message.h"
#include "recording_catalog.h"
#include "settings.h"

namespace fs = std::filesystem;

namespace {

using catalog_test::At;

// A card of empty files named like recordings; the reader stand-in reports chosen media facts.
class FakeCard {
  public:
    FakeCard() : m_card("lists") { fs::create_directories(m_card.Root() / "Movie"); }
    void Add(const std::string& name, int64_t start, uint32_t durationMs, uint64_t size, uint16_t width,
             uint16_t height) {
        m_card.Write("Movie/" + name);
        MediaInfo& info = m_readers.Add(name, start, durationMs, size);
        info.m_wWidth = width;
        info.m_wHeight = height;
    }
    void Scan(CRecordingCatalog& catalog) {
        catalog.SetParserFactory(m_readers.Factory());
        ASSERT_TRUE(catalog.ScanSource(Root(), ""));
    }
    const fs::path& Root() const { return m_card.Root(); }

  private:
    catalog_test::TempCard m_card;
    catalog_test::FakeReaders m_readers;
};

// Group 0: a front and a rear file of 60 s each (1920 x 1088, 1048575 bytes each). Group 1: one
// file from 23:59:30 for 60 s with no picture size, 1048576 bytes. Group 2: one 1080p file.
void WriteStandardCard(FakeCard& card) {
    card.Add("2024_06_01_080000_00.MP4", At(2024, 6, 1, 8, 0, 0), 60000, 1048575, 1920, 1088);
    card.Add("2024_06_01_080000_00_b.MP4", At(2024, 6, 1, 8, 0, 0), 60000, 1048575, 1920, 1088);
    card.Add("2024_06_01_235930_01.MP4", At(2024, 6, 1, 23, 59, 30), 60000, 1048576, 0, 1080);
    card.Add("2024_06_02_120000_02.MP4", At(2024, 6, 2, 12, 0, 0), 5000, 7u << 20, 1920, 1080);
}

QString Cell(const COrvexListCtrl& list, int line, int column) {
    return line < list.LineCount() && column < list.ColumnCount() ? list.LineText(line, column)
                                                                   : QStringLiteral("<none>");
}

// The drawn colour near the right end of a cell (inside the grid lines).
QRgb CellColour(COrvexListCtrl& list, const QImage& picture, int line, int column) {
    const QRect cell = list.LineRect(line, column);
    const QPoint offset = list.viewport()->mapTo(&list, QPoint(0, 0));
    return picture.pixel(cell.topRight() + offset + QPoint(-3, 3));
}

// Receives the private messages the lists send.
class MessageLog : public QObject {
  public:
    bool event(QEvent* event) override {
        if (IsPrivateMessage(event, MSG_FILE_CHOSEN) || IsPrivateMessage(event, MSG_GROUP_CHOSEN)) {
            const auto* message = static_cast<PrivateMessage*>(event);
            messages.push_back({message->message(), static_cast<intptr_t>(message->wParam())});
            return true;
        }
        return QObject::event(event);
    }
    std::vector<std::pair<int, intptr_t>> messages;
};

struct Lists {
    Lists() : observer(catalog, groups, files) {
        groups.resize(500, 200);
        files.resize(1000, 300);
        groups.Setup();
        files.Setup();
        catalog.SetObserver(&observer);
        catalog.SetGroupLineState(&groups);
    }
    CRecordingCatalog catalog;
    COrvexGroupListCtrl groups;
    COrvexFileListCtrl files;
    CCatalogLists observer;
};

} // namespace

TEST(OrvexLists, LinesShowTheCatalogTexts) {
    FakeCard card;
    WriteStandardCard(card);
    Lists lists;
    card.Scan(lists.catalog);

    ASSERT_EQ(lists.groups.LineCount(), 3);
    EXPECT_EQ(Cell(lists.groups, 0, 0), "G0");
    EXPECT_EQ(Cell(lists.groups, 0, 1), "1920x1088");
    EXPECT_EQ(Cell(lists.groups, 0, 2), "2024-06-01 08:00:00");
    EXPECT_EQ(Cell(lists.groups, 0, 3), " 60 s ") << "front and rear of 60 s: the longer sum";
    EXPECT_EQ(Cell(lists.groups, 0, 4), " 1 MB") << "2 x 1048575 bytes";
    EXPECT_EQ(Cell(lists.groups, 1, 1), "") << "no picture width";
    EXPECT_EQ(Cell(lists.groups, 1, 4), " 1 MB");
    EXPECT_EQ(Cell(lists.groups, 2, 1), "1080P HD");
    EXPECT_EQ(Cell(lists.groups, 2, 3), " 5 s ");

    ASSERT_EQ(lists.files.LineCount(), 4);
    EXPECT_EQ(Cell(lists.files, 0, 0), "G0-0");
    EXPECT_EQ(Cell(lists.files, 1, 0), "G0-1");
    EXPECT_EQ(Cell(lists.files, 1, 1), "06_01_080000_00_b.MP4") << "without the first five characters";
    EXPECT_EQ(Cell(lists.files, 0, 2), "08:00:00");
    EXPECT_EQ(Cell(lists.files, 0, 3), "08:01:00");
    EXPECT_EQ(Cell(lists.files, 0, 4), " 0 MB") << "1048575 bytes";
    EXPECT_EQ(Cell(lists.files, 2, 0), "G1-0");
    EXPECT_EQ(Cell(lists.files, 2, 3), "00:00:30") << "23:59:30 + 60 s";
    EXPECT_EQ(Cell(lists.files, 2, 4), " 1 MB") << "1048576 bytes";
    EXPECT_EQ(Cell(lists.files, 0, 5), QString::fromStdString((card.Root() / "Movie").string() + "/"));

    for (int line = 0; line < lists.files.LineCount(); ++line)
        EXPECT_FALSE(lists.files.IsLineTicked(line)) << "check boxes start clear";

    lists.catalog.ResetCatalog();
    EXPECT_EQ(lists.groups.LineCount(), 0);
    EXPECT_EQ(lists.files.LineCount(), 0);
}

TEST(OrvexLists, ColumnTitlesWidthsAndRetitle) {
    Lists lists;
    const QStringList fileTitles{"ID", "File Name", "Start Time", "End Time", "File Size", "Folder"};
    const QStringList groupTitles{"Group", "Resolution", "Start Time", "Length", "File Size"};
    ASSERT_EQ(lists.files.ColumnCount(), 6);
    ASSERT_EQ(lists.groups.ColumnCount(), 5);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(lists.files.ColumnTitle(column), fileTitles[column]);
        EXPECT_EQ(lists.files.columnWidth(column), 300) << "3/10 of 1000";
    }
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(lists.groups.ColumnTitle(column), groupTitles[column]);
        EXPECT_EQ(lists.groups.columnWidth(column), 100) << "1/5 of 500";
    }
    lists.files.show(); // a hidden widget hears of its new size when it is shown
    lists.files.resize(500, 300);
    EXPECT_EQ(lists.files.columnWidth(5), 150) << "widths follow the control's width";
    lists.files.hide();

    CAppSettings& settings = GetAppSettings();
    const fs::path savedIni = settings.m_strIniPath;
    const int savedRow = settings.m_nLangIndex;
    settings.m_strIniPath =
        fs::temp_directory_path() / ("veltrix_lists_" + std::to_string(::getpid()) + ".ini");
    settings.SetLanguage(FindLanguage("GER"));
    lists.files.RetitleColumns();
    lists.groups.RetitleColumns();
    EXPECT_EQ(lists.files.ColumnTitle(1), "Dateiname");
    EXPECT_EQ(lists.files.ColumnTitle(0), QString::fromStdString(LoadLangString(123)));
    EXPECT_EQ(lists.groups.ColumnTitle(4), QString::fromStdString(LoadLangString(122)));
    settings.SetLanguage(savedRow);
    std::error_code ec;
    fs::remove(settings.m_strIniPath, ec);
    settings.m_strIniPath = savedIni;
}

TEST(OrvexLists, LockIconsComeFromTheStripWithMagentaTransparent) {
    QImage strip(4 * kLockIconSize, kLockIconSize, QImage::Format_RGB32);
    const QRgb colours[4] = {qRgb(10, 10, 10), qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200)};
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < kLockIconSize; ++y)
            for (int x = 0; x < kLockIconSize; ++x)
                strip.setPixel(i * kLockIconSize + x, y, x < 4 ? qRgb(255, 0, 255) : colours[i]);

    const auto icons = SplitLockIconStrip(strip);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(icons[i].pixel(12, 12), colours[i]) << i;
        EXPECT_EQ(qAlpha(icons[i].pixel(1, 12)), 0) << "magenta is transparent";
    }
    EXPECT_TRUE(SplitLockIconStrip(strip.copy(0, 0, 50, 24))[2].isNull())
        << "a short strip has no third icon";

    Lists lists;
    lists.groups.SetLockIconStrip(strip);
    ASSERT_TRUE(lists.groups.AddGroupLine(0, "VGA", 0, 1000, 1, kLockMarkG | kLockMarkM));
    ASSERT_TRUE(lists.groups.AddGroupLine(1, "VGA", 0, 1000, 1, kLockMarkM));
    const QImage shown = lists.groups.LineIcon(0).pixmap(kLockIconSize).toImage();
    EXPECT_EQ(shown.pixel(12, 12), colours[3]) << "both marks: icon 3";
    EXPECT_EQ(lists.groups.LineIcon(1).pixmap(kLockIconSize).toImage().pixel(12, 12), colours[2]);
    lists.groups.SetLockIconStrip(DrawLockIconStrip());
    EXPECT_NE(lists.groups.LineIcon(1).pixmap(kLockIconSize).toImage().pixel(12, 12), colours[2])
        << "a new strip reaches the lines already there";

    const auto drawn = SplitLockIconStrip(DrawLockIconStrip());
    EXPECT_EQ(qAlpha(drawn[0].pixel(12, 12)), 0) << "the drawn strip's first icon is empty";
    EXPECT_EQ(qAlpha(drawn[3].pixel(12, 16)), 255) << "the drawn padlock's body";
}

TEST(OrvexLists, PlayingLineHighlightMovesWithoutTouchingSelectionOrCheckBoxes) {
    FakeCard card;
    WriteStandardCard(card);
    Lists lists;
    card.Scan(lists.catalog);
    lists.files.SetLineTicked(3, true);

    ASSERT_TRUE(MarkCurrent(lists.catalog, lists.groups, lists.files, 1));
    EXPECT_EQ(lists.catalog.CurrentEntry(), 1);
    EXPECT_TRUE(lists.files.IsCurrentLine(1));
    EXPECT_TRUE(lists.groups.IsCurrentLine(0));
    EXPECT_TRUE(lists.files.model()->index(1, 2).data(Qt::FontRole).value<QFont>().bold());

    ASSERT_TRUE(MarkCurrent(lists.catalog, lists.groups, lists.files, 2));
    EXPECT_FALSE(lists.files.IsCurrentLine(1)) << "the previous line loses it";
    EXPECT_FALSE(lists.groups.IsCurrentLine(0));
    EXPECT_FALSE(lists.files.model()->index(1, 2).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(lists.files.IsCurrentLine(2));
    EXPECT_TRUE(lists.groups.IsCurrentLine(1));
    EXPECT_FALSE(lists.files.selectionModel()->hasSelection()) << "the highlight is not a selection";
    EXPECT_FALSE(lists.groups.selectionModel()->hasSelection());
    EXPECT_FALSE(lists.files.IsLineTicked(2)) << "nor a tick";
    EXPECT_TRUE(lists.files.IsLineTicked(3)) << "ticks stay as the user left them";
    EXPECT_FALSE(lists.catalog.MarkGroups()) << "file operations see no marked group";

    EXPECT_FALSE(MarkCurrent(lists.catalog, lists.groups, lists.files, 4));
    EXPECT_FALSE(MarkCurrent(lists.catalog, lists.groups, lists.files, -1));
    EXPECT_EQ(lists.catalog.CurrentEntry(), 2) << "an invalid index changes nothing";

    ASSERT_TRUE(MarkCurrentGroup(lists.catalog, lists.groups, lists.files, 2));
    EXPECT_EQ(lists.catalog.CurrentEntry(), 3) << "the group's first file";
    EXPECT_TRUE(lists.groups.IsCurrentLine(2));
    EXPECT_FALSE(MarkCurrentGroup(lists.catalog, lists.groups, lists.files, 3));

    lists.catalog.GroupCatalog(); // rows rebuilt, as after a file operation
    EXPECT_TRUE(lists.files.IsCurrentLine(3)) << "the refilled lists keep the playing line";
    EXPECT_TRUE(lists.groups.IsCurrentLine(2));

    // The playing line drawn: its background differs from a plain line's.
    lists.files.show();
    const QImage picture = lists.files.grab().toImage();
    EXPECT_NE(CellColour(lists.files, picture, 3, 1), CellColour(lists.files, picture, 0, 1));
    lists.files.hide();

    // A rescan that leaves fewer lines: nothing to un-highlight, the new mark still works.
    lists.catalog.ResetCatalog();
    EXPECT_EQ(lists.files.CurrentLine(), -1);
    card.Scan(lists.catalog);
    ASSERT_TRUE(MarkCurrent(lists.catalog, lists.groups, lists.files, 0));
    EXPECT_TRUE(lists.files.IsCurrentLine(0));
}

TEST(OrvexLists, MarkCurrentScrollsTheLineIntoView) {
    Lists lists;
    lists.files.resize(600, 200);
    for (int line = 0; line < 200; ++line)
        ASSERT_TRUE(lists.files.AddFileLine(0, line, "2024_06_01_080000_00.MP4", "/card/", 0, 1000, 1, 0));
    lists.files.show();
    lists.files.MarkCurrentLine(150);
    QApplication::processEvents();
    const QRect line = lists.files.LineRect(150, 0);
    EXPECT_TRUE(lists.files.viewport()->rect().contains(line.center())) << "line 150 is visible";
    lists.files.hide();
}

TEST(OrvexLists, DoubleClicksSendTheLineOrMinusOneBelowTheLast) {
    FakeCard card;
    WriteStandardCard(card);
    Lists lists;
    card.Scan(lists.catalog);
    MessageLog log;
    lists.files.SetMessageTarget(&log);
    lists.groups.SetMessageTarget(&log);
    lists.files.show();
    lists.groups.show();

    const QPoint onLine2 = lists.files.LineRect(2, 1).center();
    QTest::mouseDClick(lists.files.viewport(), Qt::LeftButton, {}, onLine2);
    const QPoint belowLast(20, lists.files.LineRect(3, 0).bottom() + 30);
    QTest::mouseDClick(lists.files.viewport(), Qt::LeftButton, {}, belowLast);
    const QPoint onGroup1 = lists.groups.LineRect(1, 2).center();
    QTest::mouseDClick(lists.groups.viewport(), Qt::LeftButton, {}, onGroup1);
    QTest::mouseDClick(lists.groups.viewport(), Qt::LeftButton, {}, QPoint(20, 190));

    const std::vector<std::pair<int, intptr_t>> expected{
        {MSG_FILE_CHOSEN, 2}, {MSG_FILE_CHOSEN, -1}, {MSG_GROUP_CHOSEN, 1}, {MSG_GROUP_CHOSEN, -1}};
    EXPECT_EQ(log.messages, expected);
    lists.files.hide();
    lists.groups.hide();
}
