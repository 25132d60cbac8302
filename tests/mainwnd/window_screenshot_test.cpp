// Pictures of the whole window as the X display shows it (map page, native panes and all), at the
// default size and on a full 1920 x 1080 screen, written to build/test-output for people to look
// at. Needs the X display (./test.sh runs the tests under xvfb); skipped without one.
#include "shell_test_support.h"

#include "control_ids.h"
#include "map_window.h"
#include "main_window.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

namespace {

// Lets the window settle and the map page draw (the web engine is slow on two shared cores).
void Settle(COrvexMainWindow& dlg, int ms) {
    const bool ready = QTest::qWaitFor([&] { return dlg.MapDlg() && dlg.MapDlg()->IsEngineReady(); }, 60000);
    CHILD_CHECK(ready);
    QTest::qWait(ms);
}

// The window as the screen shows it.
QImage GrabWindow(COrvexMainWindow& dlg) {
    return dlg.screen()->grabWindow(0, dlg.x(), dlg.y(), dlg.width(), dlg.height()).toImage();
}

bool IsBackground(QRgb pixel) {
    return QColor(pixel) == QColor(5, 5, 5);
}

} // namespace

TEST(WindowScreenshot, DefaultAndFullHdWindow) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ShellTestFolder folder;
    // The OpenStreetMap page draws its background and controls without the network.
    folder.Write(folder.ini(), "[UI]\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=560\n");
    const std::string outputDir = VELTRIX_TEST_OUTPUT_DIR;
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), "xcb");
            QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
            ChildApplication();
            QDir().mkpath(QString::fromStdString(outputDir));
            COrvexMainWindow dlg;
            CHILD_CHECK(dlg.Create());
            dlg.show();
            CHILD_CHECK(QTest::qWaitForWindowExposed(&dlg));
            Settle(dlg, 3000);
            const QImage small = GrabWindow(dlg);
            CHILD_CHECK(small.size() == QSize(1250, 560));
            CHILD_CHECK(small.save(QString::fromStdString(outputDir + "/window_1250x560.png")));
            // Background, grip lines and a drawn button (close, top right).
            CHILD_CHECK(IsBackground(small.pixel(400, 30)));
            CHILD_CHECK(QColor(small.pixel(1245, 555)) == QColor(150, 150, 150));
            const QRect close = dlg.ControlById(IDC_CLOSE)->geometry();
            bool drawn = false;
            for (int y = close.top(); y <= close.bottom(); ++y)
                for (int x = close.left(); x <= close.right(); ++x)
                    drawn = drawn || !IsBackground(small.pixel(x, y));
            CHILD_CHECK(drawn);

            dlg.OnCommand(IDC_LARGE_SIZE);
            Settle(dlg, 3000);
            const QImage large = GrabWindow(dlg);
            CHILD_CHECK(large.size() == QSize(1920, 1080));
            CHILD_CHECK(large.save(QString::fromStdString(outputDir + "/window_1920x1080.png")));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
