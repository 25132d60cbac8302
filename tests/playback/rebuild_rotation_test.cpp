// Rebuilding an engine with the configured or the plain argument set, and what the rotate command
// promises: the configured set shows the picture turned by 180 degrees.
#include "playback_test_support.h"
#include "private_message.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Blue upper half, red lower half: a turned picture has red on top.
const char kHalvesSource[] = "color=c=red:s=320x240:r=25,drawbox=x=0:y=0:w=320:h=120:color=blue:t=fill";

enum class Top { Blue, Red, Unknown };

Top TopColour(const QImage& picture) {
    const QColor top = picture.pixelColor(picture.width() / 2, picture.height() / 8);
    const QColor bottom = picture.pixelColor(picture.width() / 2, picture.height() * 7 / 8);
    if (top.blue() > 150 && top.red() < 100 && bottom.red() > 150 && bottom.blue() < 100) return Top::Blue;
    if (top.red() > 150 && top.blue() < 100 && bottom.blue() > 150 && bottom.red() < 100) return Top::Red;
    return Top::Unknown;
}

class RebuildTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.dir.isValid());
        ASSERT_TRUE(MakeClip(clip, 3.0, kHalvesSource));
        ASSERT_TRUE(engines.front.IsUsable());
    }
    // Opens the clip, plays until a few time reports came, and returns the snapshot's top colour.
    Top PlayAndSnapshot(const QString& name) {
        const int before = engines.recorder.Count(MSG_PLAYER_TIME);
        engines.front.BindWindow(window.m_pFront->winId());
        EXPECT_EQ(engines.front.Open(clip, 0, false, true), 1);
        EXPECT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_TIME) >= before + 2; }, 5000))
            << "no time reports for " << name.toStdString();
        const QString png = folder.File(name);
        // libVLC gives up on a snapshot the picture pipeline does not deliver within its own short wait
        // (under valgrind it often does not): ask again a few times.
        int result = -1;
        for (int attempt = 0; attempt < 5 && result != 0; ++attempt)
            result = engines.front.TakeSnapshot(png);
        EXPECT_EQ(result, 0);
        const QImage picture(png);
        EXPECT_EQ(picture.size(), QSize(320, 240));
        if (picture.isNull()) return Top::Unknown;
        QDir().mkpath(VELTRIX_TEST_OUTPUT_DIR);
        picture.save(QString(VELTRIX_TEST_OUTPUT_DIR) + "/rotation " + name);
        return TopColour(picture);
    }
    TestFolder folder;
    QString clip = folder.File("halves.mp4");
    PanesWindow window;
    EnginePair engines;
};

TEST_F(RebuildTest, WithoutAnOpenedFileOnlyTheArgumentSetIsRecorded) {
    EXPECT_EQ(engines.front.Rebuild(1), 0);
    EXPECT_EQ(engines.front.ArgumentSet(), 1);
    EXPECT_TRUE(engines.front.IsUsable());
    // The instance in force stays: the next opening still plays with the plain set.
    EXPECT_EQ(PlayAndSnapshot("configured before any opening.png"), Top::Blue);
}

TEST_F(RebuildTest, ConfiguredSetTurnsThePictureAndPlainSetTurnsItBack) {
    EXPECT_EQ(PlayAndSnapshot("plain.png"), Top::Blue);

    engines.front.Stop();
    ASSERT_EQ(engines.front.Rebuild(1), 1);
    EXPECT_EQ(engines.front.Rebuild(1), 0) << "the rebuilt player has no media yet";
    EXPECT_TRUE(engines.front.IsUsable());
    // New time reports prove the callback was attached to the new player again.
    EXPECT_EQ(PlayAndSnapshot("configured.png"), Top::Red);

    engines.front.Stop();
    ASSERT_EQ(engines.front.Rebuild(0), 1);
    EXPECT_EQ(PlayAndSnapshot("plain again.png"), Top::Blue);
    engines.front.Stop();
}

} // namespace
