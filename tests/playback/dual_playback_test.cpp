// Two engines play a front and a rear clip into two native panes, as the main window will.
#include "playback_test_support.h"
#include "private_message.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Distinct colours in a region of a picture: a black or frozen-blank pane has very few.
int DistinctColours(const QImage& image, const QRect& region) {
    QSet<QRgb> colours;
    for (int y = region.top(); y <= region.bottom(); y += 4)
        for (int x = region.left(); x <= region.right(); x += 4)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

QImage GrabAndSave(PanesWindow& window, const QString& name) {
    window.raise();
    QCoreApplication::processEvents();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, window.x(), window.y(),
                                                                      window.width(), window.height());
    QDir().mkpath(VELTRIX_TEST_OUTPUT_DIR);
    shot.save(QString(VELTRIX_TEST_OUTPUT_DIR) + "/" + name);
    return shot.toImage();
}

uintptr_t LatestTime(const MessageRecorder& recorder) {
    const auto times = recorder.All(MSG_PLAYER_TIME);
    return times.empty() ? 0 : times.back().wParam;
}

class DualPlaybackTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.dir.isValid());
        ASSERT_TRUE(MakeClip(frontClip, 3.0));
        ASSERT_TRUE(MakeClip(rearClip, 2.0, "testsrc=size=320x240:rate=25"));
        ASSERT_TRUE(engines.front.IsUsable());
        ASSERT_TRUE(engines.rear.IsUsable());
    }
    TestFolder folder;
    QString frontClip = folder.File("20260101_120000_001.mp4");
    QString rearClip = folder.File("20260101_120000_001_B.mp4");
    PanesWindow window;
    EnginePair engines;
};

TEST_F(DualPlaybackTest, FrontIsMasterRearEndIsReportedApartAndPanesShowBothPictures) {
    engines.front.BindWindow(window.m_pFront->winId());
    ASSERT_EQ(engines.front.Open(frontClip, 0, false, true), 1);
    ASSERT_EQ(engines.rear.Open(rearClip, window.m_pRear->winId(), true, true), 1);
    EXPECT_TRUE(engines.front.IsPlaying());
    EXPECT_TRUE(engines.rear.IsPlaying());
    EXPECT_EQ(engines.front.CurrentPath(), frontClip.toStdString());

    // A second into the clip both panes have drawn many pictures (the rear clip lasts two seconds).
    ASSERT_TRUE(WaitFor([&] { return LatestTime(engines.recorder) >= 1000; }, 5000));
    EXPECT_TRUE(engines.recorder.Has(MSG_PLAYER_STATE, 3));

    const QImage shot = GrabAndSave(window, "playback_panes.png");
    EXPECT_GT(DistinctColours(shot, window.m_pFront->geometry()), 20) << "front pane shows no picture";
    EXPECT_GT(DistinctColours(shot, window.m_pRear->geometry()), 20) << "rear pane shows no picture";

    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_END) > 0; }, 6000));
    // The rear clip is shorter: it ended while the front played, so only 0x0C0E told of it.
    EXPECT_EQ(engines.recorder.Count(MSG_REAR_END), 1);
    ASSERT_EQ(engines.recorder.Count(MSG_PLAYER_END), 1);
    EXPECT_EQ(engines.recorder.All(MSG_PLAYER_END)[0].wParam, 1u);
    const auto ends = engines.recorder.All(MSG_REAR_END);
    EXPECT_LT(ends[0].arrivalMs, engines.recorder.All(MSG_PLAYER_END)[0].arrivalMs);

    // Time reports (all from the front while it plays) grow and stay within the clip.
    const auto times = engines.recorder.All(MSG_PLAYER_TIME);
    ASSERT_GE(times.size(), 4u);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i].wParam, times[i - 1].wParam);
    EXPECT_GT(times.back().wParam, 1500u);
    EXPECT_LE(times.back().wParam, 3100u);
    const double speed = PlaybackSpeed(times);
    std::printf("front playback speed at rate 1.0: %.2f media ms per wall ms\n", speed);
    EXPECT_GT(speed, 0.6);
    EXPECT_LT(speed, 1.5);
}

TEST_F(DualPlaybackTest, SnapshotHasTheClipsPictureSize) {
    ASSERT_EQ(engines.front.Open(frontClip, window.m_pFront->winId(), false, true), 1);
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_TIME) >= 2; }, 5000));
    const QString png = folder.File("front snapshot.png");
    ASSERT_EQ(engines.front.TakeSnapshot(png), 0);
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(320, 240));
}

TEST_F(DualPlaybackTest, RateTwoRunsPlaybackTimeAboutTwiceAsFast) {
    ASSERT_EQ(engines.front.Open(frontClip, window.m_pFront->winId(), false, true), 1);
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_TIME) >= 1; }, 5000));
    ASSERT_EQ(engines.front.SetRate(2.0f), 0);
    EXPECT_FLOAT_EQ(engines.front.Rate(), 2.0f);
    const size_t before = engines.recorder.All(MSG_PLAYER_TIME).size();
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_END) > 0; }, 5000));
    auto times = engines.recorder.All(MSG_PLAYER_TIME);
    times.erase(times.begin(), times.begin() + before + 1); // from a report made at the new rate
    const double speed = PlaybackSpeed(times);
    std::printf("playback speed at rate 2.0: %.2f media ms per wall ms over %zu reports\n", speed,
                times.size());
    EXPECT_GT(speed, 1.4);
    EXPECT_LT(speed, 3.0);
}

} // namespace
