// The scan filling the real list views, and list choices through the opening gate: what the main
// window will wire together.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <vector>

#include "catalog_lists.h"
#include "folder_scan.h"
#include "opening_rules.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "private_message.h"
#include "scan_card.h"

using namespace scan_test;

namespace {

class QuietWindow : public IFolderScanWindow {
  public:
    void ShowLoadingText() override {}
    void RemoveLoadingText() override {}
    void OnFolderScanFinished(bool, size_t) override { finished = true; }
    bool finished = false;
};

// The main window's handling of a file choice: the gate decides, an accepted choice opens.
class FileChoiceReceiver : public QObject {
  public:
    bool event(QEvent* event) override {
        if (!IsPrivateMessage(event, MSG_FILE_CHOSEN)) return QObject::event(event);
        const auto line = static_cast<intptr_t>(static_cast<PrivateMessage*>(event)->wParam());
        if (gate.Accept(opening, now)) {
            opened.push_back(static_cast<int>(line));
            gate.FileOpenFinished(); // the open itself is instantaneous here
        }
        return true;
    }
    CFileChoiceGate gate{0};
    COpeningFlag opening;
    uint32_t now = 0;
    std::vector<int> opened;
};

struct ListWindow {
    ListWindow() : observer(catalog, groups, files), scan(catalog, &observer, &groups, window, opening) {
        groups.resize(600, 200);
        files.resize(900, 300);
        groups.Setup();
        files.Setup();
        catalog.SetObserver(&observer);
        catalog.SetGroupLineState(&groups);
    }
    void ScanAndWait(const fs::path& folder) {
        window.finished = false;
        ASSERT_TRUE(scan.Start(folder));
        QElapsedTimer clock;
        clock.start();
        while (!window.finished && clock.elapsed() < 60'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_TRUE(window.finished);
    }
    CRecordingCatalog catalog;
    COrvexGroupListCtrl groups;
    COrvexFileListCtrl files;
    CCatalogLists observer;
    QuietWindow window;
    COpeningFlag opening;
    CFolderScan scan;
};

QString Cell(const COrvexListCtrl& list, int line, int column) {
    return line < list.LineCount() && column < list.ColumnCount() ? list.LineText(line, column)
                                                                   : QStringLiteral("<none>");
}

} // namespace

TEST(ScanLists, ScanFillsBothListsAndTheCountdownMarksTheFirstLine) {
    FixtureCard card("scan_lists");
    card.WriteStandardCard();
    ListWindow window;
    window.files.SetLineTicked(0, true); // lines of an earlier card would go with the reset
    window.ScanAndWait(card.root);

    ASSERT_EQ(window.groups.LineCount(), 3);
    ASSERT_EQ(window.files.LineCount(), 5);
    EXPECT_EQ(Cell(window.groups, 0, 0), "G0");
    EXPECT_EQ(Cell(window.groups, 0, 1), "CIF") << "the fixture clips are 320 x 240";
    EXPECT_EQ(Cell(window.groups, 0, 2), "2024-06-01 14:00:00");
    EXPECT_EQ(Cell(window.groups, 0, 3), " 3 s ") << "front and rear of 3 s: the longer sum";
    EXPECT_EQ(Cell(window.files, 1, 0), "G0-1");
    EXPECT_EQ(Cell(window.files, 1, 1),
              QString::fromStdString(RecordingName(FixtureCard::kStart, 0, "_b.MP4").substr(5)));
    EXPECT_EQ(Cell(window.files, 0, 2), "14:00:00");
    EXPECT_EQ(Cell(window.files, 0, 3), "14:00:03");
    EXPECT_EQ(Cell(window.files, 4, 0), "G2-0");
    EXPECT_EQ(Cell(window.files, 1, 5), QString::fromStdString(card.root.string() + "/Movi_be/"));
    for (int line = 0; line < window.files.LineCount(); ++line)
        EXPECT_FALSE(window.files.IsLineTicked(line));

    int opened = -1;
    while (window.scan.Busy())
        opened = window.scan.TickCountdown();
    ASSERT_EQ(opened, 0);
    ASSERT_TRUE(MarkCurrent(window.catalog, window.groups, window.files, opened));
    EXPECT_TRUE(window.files.IsCurrentLine(0));
    EXPECT_TRUE(window.groups.IsCurrentLine(0));
    EXPECT_FALSE(window.catalog.CurrentGroupLocked());
}

TEST(ScanLists, TwoDoubleClicksWithinTheDebounceOpenOnlyTheFirst) {
    FixtureCard card("scan_clicks");
    card.WriteStandardCard();
    ListWindow window;
    window.ScanAndWait(card.root);
    FileChoiceReceiver receiver;
    window.files.SetMessageTarget(&receiver);
    window.files.show();
    receiver.opening.End();

    const auto lineCentre = [&](int line) {
        return window.files.LineRect(line, 1).center();
    };
    receiver.now = 10'000;
    QTest::mouseDClick(window.files.viewport(), Qt::LeftButton, {}, lineCentre(2));
    receiver.now = 10'800;
    QTest::mouseDClick(window.files.viewport(), Qt::LeftButton, {}, lineCentre(4));
    EXPECT_EQ(receiver.opened, std::vector<int>{2}) << "the second click 0.8 s later is dropped";

    receiver.now = 11'500;
    QTest::mouseDClick(window.files.viewport(), Qt::LeftButton, {}, lineCentre(4));
    EXPECT_EQ(receiver.opened, (std::vector<int>{2, 4})) << "1.5 s after the accepted one";
    window.files.hide();
}
