#include "shell_test_support.h"

#include "main_window.h"
#include "window_modes.h"
#include "settings.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <cctype>
#include <cstdio>
#include <map>
#include <string>

namespace {

class OrvexDlgTest : public testing::Test {
  protected:
    ShellTestFolder folder;
};

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Key of a "key=value" line, trimmed and lower-cased; empty for other lines.
std::string KeyOf(const std::string& line) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line.empty() || line[0] == '[' || line[0] == ';') return {};
    std::string key = line.substr(0, eq);
    while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back())))
        key.pop_back();
    return Lower(key);
}

bool IsWinposKey(const std::string& key) {
    return key == "left" || key == "top" || key == "right" || key == "bottom";
}

// Compares the file after a close with the file before it: every line outside "WINPOS" and every
// other line inside it is byte-identical; each of the four keys keeps its name and line end and
// holds the expected value.
void ExpectOnlyWinposChanged(const std::string& before, const std::string& after,
                             const std::map<std::string, int>& expected) {
    const auto oldLines = SplitLinesKeepingEnds(before);
    const auto newLines = SplitLinesKeepingEnds(after);
    ASSERT_EQ(oldLines.size(), newLines.size()) << after;
    std::string section;
    int changedKeys = 0;
    for (size_t i = 0; i < oldLines.size(); ++i) {
        const std::string& line = oldLines[i];
        if (!line.empty() && line[0] == '[') section = Lower(line.substr(1, line.find(']') - 1));
        const std::string key = KeyOf(line);
        if (section != "winpos" || !IsWinposKey(key)) {
            EXPECT_EQ(newLines[i], line) << "line " << i;
            continue;
        }
        ++changedKeys;
        const size_t eq = line.find('=');
        const std::string ending =
            line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0 ? "\r\n" : "\n";
        EXPECT_EQ(newLines[i], line.substr(0, eq + 1) + std::to_string(expected.at(key)) + ending)
            << "line " << i;
    }
    EXPECT_EQ(changedKeys, 4);
}

} // namespace

TEST_F(OrvexDlgTest, ConstructorReadsTheMapKindClamped) {
    for (const auto& [stored, kind] : {std::pair{"7", 2}, std::pair{"-1", 0}, std::pair{"1", 1}}) {
        folder.Write(folder.ini(), std::string("[UI]\r\nMAP=") + stored + "\r\n");
        EXPECT_EXIT(
            {
                EnterChild(folder.path());
                ChildApplication();
                COrvexMainWindow dlg;
                CHILD_CHECK(dlg.MapKind() == kind);
                CHILD_CHECK(GetAppSettings().m_nMapKind == kind);
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), "")
            << "MAP=" << stored;
    }
}

TEST_F(OrvexDlgTest, InitialisationReadsBothSwitches) {
    folder.Write(folder.ini(), "[UI]\nMAP_ENABLE=0\nGSNR_ENABLE=5\n");
    EXPECT_EXIT(
        {
            EnterChild(folder.path());
            ChildApplication();
            COrvexMainWindow dlg;
            CHILD_CHECK(dlg.Modes()->MapShown() && dlg.Modes()->CurveShown()); // before initialisation
            CHILD_CHECK(dlg.Create());
            CHILD_CHECK(!dlg.Modes()->MapShown());
            CHILD_CHECK(dlg.Modes()->CurveShown());
            CHILD_CHECK(!dlg.Create()); // the window is created once
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");

    folder.Write(folder.ini(), "[UI]\nGSNR_ENABLE=0\n");
    EXPECT_EXIT(
        {
            EnterChild(folder.path());
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            CHILD_CHECK(dlg.Modes()->MapShown());
            CHILD_CHECK(!dlg.Modes()->CurveShown());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(OrvexDlgTest, FirstStartPlacesTheDefaultWindowAndWritesNothing) {
    const std::string fullHd = folder.OffscreenPlatform(1920, 1080);
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), fullHd);
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1250, 560));
            CHILD_CHECK(dlg.Modes()->MapShown() && dlg.Modes()->CurveShown() && dlg.MapKind() == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(folder.ini()));

    const std::string small = folder.OffscreenPlatform(1024, 500);
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), small);
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1024, 500));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(OrvexDlgTest, SavedPositionIsPulledBackOntoTheScreen) {
    folder.Write(folder.ini(), "[WINPOS]\nLEFT=5000\nTOP=-20\nRIGHT=5800\nBOTTOM=700\n");
    const std::string fullHd = folder.OffscreenPlatform(1920, 1080);
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), fullHd);
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            CHILD_CHECK(dlg.geometry() == QRect(670, 0, 1250, 720));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(OrvexDlgTest, FramelessNearBlackWindowWithIconAndGrip) {
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), folder.OffscreenPlatform(1920, 1080));
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            CHILD_CHECK(dlg.isWindow());
            CHILD_CHECK(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
            CHILD_CHECK(!dlg.windowIcon().isNull());
            const QImage icon = dlg.windowIcon().pixmap(32, 32).toImage();
            CHILD_CHECK(icon.width() == 32);
            // The icon is drawn, not blank: its centre (the lens) is opaque and not the corner.
            CHILD_CHECK(qAlpha(icon.pixel(16, 17)) == 255);
            CHILD_CHECK(qAlpha(icon.pixel(0, 0)) < 255);

            const QImage picture = dlg.grab().toImage();
            const int w = picture.width();
            const int h = picture.height();
            CHILD_CHECK(picture.size() == QSize(1250, 560));
            CHILD_CHECK(QColor(picture.pixel(w / 2, h / 2)) == QColor(5, 5, 5));
            CHILD_CHECK(QColor(picture.pixel(3, 3)) == QColor(5, 5, 5));
            // Grip line k = 10 passes through (W - 5, H - 5); off the lines the background shows.
            CHILD_CHECK(QColor(picture.pixel(w - 5, h - 5)) == QColor(150, 150, 150));
            CHILD_CHECK(QColor(picture.pixel(w - 3, h - 10)) == QColor(5, 5, 5));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(OrvexDlgTest, ControlsAreFoundByTheirNumericId) {
    EXPECT_EXIT(
        {
            EnterChild(folder.path());
            ChildApplication();
            COrvexMainWindow dlg;
            auto* frame = new QWidget(&dlg);
            COrvexMainWindow::SetControlId(frame, 1076);
            auto* label = new QLabel(frame); // nested one level deeper
            COrvexMainWindow::SetControlId(label, 1070);
            CHILD_CHECK(dlg.ControlById(1076) == frame);
            CHILD_CHECK(dlg.ControlById(1070) == label);
            CHILD_CHECK(dlg.ControlById<QLabel>(1070) == label);
            CHILD_CHECK(dlg.ControlById<QLabel>(1076) == nullptr); // wrong class
            CHILD_CHECK(dlg.ControlById(1046) == nullptr);
            CHILD_CHECK(COrvexMainWindow::ControlId(label) == 1070);
            CHILD_CHECK(COrvexMainWindow::ControlId(&dlg) == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(OrvexDlgTest, CloseWritesOnlyTheFourPositionKeys) {
    const std::string before = "; Veltrix settings\r\n"
                               "[UI]\r\n"
                               "LANGID=GER\r\n"
                               "MAP=7\r\n"
                               "Folder=/media/card/DCIM\r\n"
                               "\r\n"
                               "[winpos]\r\n"
                               "Left=10\r\n"
                               "TOP=20\r\n"
                               "Extra=keep me\r\n"
                               "RIGHT=1260\r\n"
                               "bottom=580\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "LEFT=1\r\n";
    folder.Write(folder.ini(), before);
    const std::string fullHd = folder.OffscreenPlatform(1920, 1080);
    const auto traceFile = folder.path() / "stdout.txt";
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), fullHd);
            if (!std::freopen(traceFile.c_str(), "w", stdout)) std::_Exit(91);
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            dlg.setGeometry(120, 80, 1400, 700);
            dlg.OnClose();
        },
        testing::ExitedWithCode(0), "");
    ExpectOnlyWinposChanged(before, ShellTestFolder::Read(folder.ini()),
                            {{"left", 120}, {"top", 80}, {"right", 1520}, {"bottom", 780}});
    EXPECT_EQ(ShellTestFolder::Read(traceFile), " --->> COrvexDlg::OnClose ++++ \n");
}

TEST_F(OrvexDlgTest, WindowManagerCloseTakesTheSamePathAndCreatesTheSection) {
    const std::string before = "[UI]\nLANGID=ENG\n";
    folder.Write(folder.ini(), before);
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), folder.OffscreenPlatform(1920, 1080));
            ChildApplication();
            COrvexMainWindow dlg;
            dlg.Create();
            dlg.show();
            dlg.move(300, 200);
            dlg.close();
            std::_Exit(4); // close returned: the process was not ended
        },
        testing::ExitedWithCode(0), "");
    const std::string after = ShellTestFolder::Read(folder.ini());
    ASSERT_EQ(after.substr(0, before.size()), before);
    // The section is new, so the keys appear in the order in which they are written.
    std::vector<std::string> added;
    for (const std::string& line : SplitLinesKeepingEnds(after.substr(before.size())))
        if (line != "\n") added.push_back(line);
    EXPECT_EQ(added, (std::vector<std::string>{"[WINPOS]\n", "LEFT=300\n", "TOP=200\n", "RIGHT=1550\n",
                                               "BOTTOM=760\n"}));
}
