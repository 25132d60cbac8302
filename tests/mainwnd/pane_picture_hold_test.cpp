// The panes between two recordings played one after the other, on the real X display with the real
// players: from the end of one recording until the next one's first time report past 0 the panes paint the
// last picture, not their near-black background (an expose in that time would otherwise show black);
// an end with nothing after it gives the background back. Skipped without an X display.
#include "shell_test_support.h"

#include "fixture_writer.h"
#include "local_time.h"
#include "pane_picture_hold.h"
#include "playback_session.h"
#include "video_static.h"

#include <QScreen>
#include <QTest>

namespace fs = std::filesystem;

namespace {

// Two back-to-back recordings (front and rear) of a colourful test picture, 3 s each.
std::vector<fs::path> WriteTwoRecordings(const fs::path& root) {
    fs::create_directories(root / "Movie");
    fs::create_directories(root / "Movi_be");
    fixtures::ClipSpec clip;
    clip.width = 640;
    clip.height = 360;
    clip.seconds = 3;
    clip.fps = 25;
    const fs::path source = fixtures::MakeClip(clip);
    std::vector<fs::path> fronts;
    for (int k = 0; k < 2; ++k) {
        fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutGpsBox, clip.seconds);
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        telemetry.startTime = LocalWallClockToTime(2024, 6, 1, 10, 0, 3 * k);
        for (const bool rear : {false, true}) {
            const std::string name = "2024_06_01_10000" + std::to_string(3 * k) + "_0" + std::to_string(k) +
                                     (rear ? "_b" : "") + ".MP4";
            const fs::path path = root / (rear ? "Movi_be" : "Movie") / name;
            fixtures::WriteRecording(path, kLayoutGpsBox, telemetry, {}, source);
            if (!rear) fronts.push_back(path);
        }
    }
    return fronts;
}

// Mean luma of what the screen shows of the pane (inside a small margin), 0..255.
double ScreenLuma(const CVideoStatic& pane) {
    const QPoint at = pane.mapToGlobal(QPoint(8, 8));
    const QImage image =
        pane.screen()->grabWindow(0, at.x(), at.y(), pane.width() - 16, pane.height() - 16).toImage();
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    return count ? sum / count : 0;
}

// Mean luma of what the pane itself paints (its own drawing, without the players').
double PaintedLuma(CVideoStatic& pane) {
    const QImage image = pane.grab().toImage();
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    return count ? sum / count : 0;
}

constexpr double kDark = 24; // the background is (5, 5, 5); the test picture is far brighter

// The child's run: each step's failure ends it with the failed check.
void PlayAcrossTheBoundary(const fs::path& folderPath, const std::vector<fs::path>& fronts) {
    EnterChild(folderPath, "xcb");
    ChildApplication();
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(0, 0, 640, 180);
    CVideoStatic front(&window), rear(&window);
    front.setGeometry(0, 0, 320, 180);
    rear.setGeometry(320, 0, 320, 180);
    window.show();
    CHILD_CHECK(QTest::qWaitForWindowExposed(&window));
    PlaybackSession session;
    session.SetPanes(front.winId(), rear.winId());
    session.SetMuted(true);
    session.SetAutoNext(false);
    // Made before the handlers that act on the end, as the window makes it.
    CPanePictureHold hold(session, &front, &rear);
    int ends = 0, reports = 0, resets = 0;
    QObject::connect(&session, &PlaybackSession::ended, [&] { ++ends; });
    bool nextOpened = false, releasedAtZero = false;
    QObject::connect(&session, &PlaybackSession::timeReported, [&](qint64 ms) {
        if (ms > 0)
            ++reports;
        else if (nextOpened && !front.HoldsPicture())
            releasedAtZero = true; // the new player says 0 before it draws: too early to let go
    });
    QObject::connect(&session, &PlaybackSession::transportReset, [&] { ++resets; });

    // The end of the first recording: both panes hold its last picture.
    session.Open(fronts[0]);
    CHILD_CHECK(QTest::qWaitFor([&] { return reports > 0; }, 20000));
    CHILD_CHECK(QTest::qWaitFor([&] { return ScreenLuma(front) > kDark; }, 5000));
    CHILD_CHECK(QTest::qWaitFor([&] { return ends == 1; }, 20000));
    CHILD_CHECK(hold.Holding() && front.HoldsPicture() && rear.HoldsPicture());

    // Both players stopped, the next one not yet drawing: an exposed pane paints the held
    // picture, on the screen too.
    session.StopEngines();
    QTest::qWait(300);
    for (CVideoStatic* pane : {&front, &rear}) {
        CHILD_CHECK(PaintedLuma(*pane) > kDark);
        pane->repaint();
    }
    QTest::qWait(50);
    CHILD_CHECK(ScreenLuma(front) > kDark && ScreenLuma(rear) > kDark);

    // The next recording's first time report ends the hold.
    reports = 0;
    nextOpened = true;
    session.Open(fronts[1]);
    CHILD_CHECK(QTest::qWaitFor([&] { return reports > 0; }, 20000));
    CHILD_CHECK(!releasedAtZero);
    CHILD_CHECK(!hold.Holding() && !front.HoldsPicture() && !rear.HoldsPicture());
    CHILD_CHECK(QTest::qWaitFor([&] { return ScreenLuma(front) > kDark; }, 5000));

    // Its end with auto-next off: the engines stop and the panes show their background.
    CHILD_CHECK(QTest::qWaitFor([&] { return resets == 1; }, 20000));
    CHILD_CHECK(!front.HoldsPicture() && !rear.HoldsPicture());
    CHILD_CHECK(PaintedLuma(front) < kDark);
    CHILD_CHECK(QTest::qWaitFor([&] { return ScreenLuma(front) < kDark && ScreenLuma(rear) < kDark; }, 3000));
}


} // namespace

TEST(PanePictureHold, LastPictureHeldFromTheEndToTheNextFirstReportAndBackgroundWhenNothingFollows) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ShellTestFolder folder;
    const std::vector<fs::path> fronts = WriteTwoRecordings(folder.path() / "card");
    EXPECT_EXIT(
        {
            PlayAcrossTheBoundary(folder.path(), fronts);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
