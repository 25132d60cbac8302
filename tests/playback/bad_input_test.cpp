// Files that are not what a player expects: not a video, empty, oddly named, deleted while playing,
// opened twice. Each ends in a reported state without a crash or a hang.
#include "playback_test_support.h"
#include "private_message.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class BadInputTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.dir.isValid());
        ASSERT_TRUE(engines.front.IsUsable());
    }
    bool Ended() const {
        return engines.recorder.Count(MSG_PLAYER_END) > 0 || engines.recorder.Count(MSG_PLAYER_ERROR) > 0;
    }
    TestFolder folder;
    PanesWindow window;
    EnginePair engines;
};

TEST_F(BadInputTest, FilesThatCannotBeOpenedPostThePlayerError) {
    ASSERT_EQ(engines.front.Open(folder.File("gone.mp4"), window.m_pFront->winId(), false, true), 1);
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_ERROR) == 1; }, 5000));

    const QString empty = folder.File("empty.mp4");
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_EQ(engines.front.Open(empty, 0, false, true), 1);
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_ERROR) == 2; }, 5000));
    EXPECT_TRUE(engines.recorder.Has(MSG_PLAYER_ERROR, 1));
    EXPECT_EQ(engines.recorder.Count(MSG_PLAYER_TIME), 0);
    EXPECT_EQ(engines.recorder.Count(MSG_PLAYER_END), 0);
}

// libVLC hands content it cannot place to its program-stream reader, which finds nothing and ends:
// an end of file without a single time report, so the controller moves on.
TEST_F(BadInputTest, JunkUnderAVideoNameEndsWithoutTimeReports) {
    const QString path = folder.File("20260101_120000_001.mp4");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < 2000; ++i)
        file.write("this is a shopping list, not a recording\n");
    file.close();
    ASSERT_EQ(engines.front.Open(path, window.m_pFront->winId(), false, true), 1);
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 5000));
    EXPECT_TRUE(engines.recorder.Has(MSG_PLAYER_END, 1));
    EXPECT_EQ(engines.recorder.Count(MSG_PLAYER_TIME), 0);
}

TEST_F(BadInputTest, NameWithSpacesUtf8AndShellCharactersPlays) {
    const QString dir = folder.File("Fahrt am Sonntag – Ölwechsel $HOME");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + "/a b ü 日本 $(touch x); 'q' \"d\" & | *?.mp4";
    ASSERT_TRUE(MakeClip(path, 1.0));
    ASSERT_EQ(engines.rear.Open(path, window.m_pRear->winId(), true, true), 1);
    EXPECT_EQ(QString::fromStdString(engines.rear.CurrentPath()), path);
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 5000));
    EXPECT_TRUE(engines.recorder.Has(MSG_PLAYER_END, 1));
    EXPECT_EQ(engines.recorder.Count(MSG_PLAYER_ERROR), 0);
    EXPECT_GT(engines.recorder.Count(MSG_PLAYER_TIME), 0);
    EXPECT_FALSE(QFile::exists(dir + "/x"));
    EXPECT_FALSE(QFile::exists("x"));
}

TEST_F(BadInputTest, FileDeletedWhilePlayingEndsAndStops) {
    const QString path = folder.File("doomed.mp4");
    ASSERT_TRUE(MakeClip(path, 1.5));
    ASSERT_EQ(engines.front.Open(path, window.m_pFront->winId(), false, true), 1);
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_TIME) > 0; }, 5000));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(WaitFor([&] { return Ended(); }, 5000));
    engines.front.Stop();
    // The engine is still good for the next file.
    const QString next = folder.File("next.mp4");
    ASSERT_TRUE(MakeClip(next, 1.0));
    const int ends = engines.recorder.Count(MSG_PLAYER_END);
    ASSERT_EQ(engines.front.Open(next, 0, false, true), 1);
    EXPECT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_END) > ends; }, 5000));
}

TEST_F(BadInputTest, SameFileOpenedTwiceShowsTheSecondAndKeepsOneMedia) {
    const QString path = folder.File("twice.mp4");
    ASSERT_TRUE(MakeClip(path, 1.0));
    ASSERT_EQ(engines.front.Open(path, window.m_pFront->winId(), false, false), 1);
    EXPECT_FALSE(engines.front.IsPlaying()) << "given to the player without playing";
    ASSERT_EQ(engines.front.Open(path, 0, false, true), 1);
    EXPECT_TRUE(engines.front.IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_END) > 0; }, 5000));
    EXPECT_EQ(engines.recorder.Count(MSG_PLAYER_END), 1);
    EXPECT_GT(engines.recorder.Count(MSG_PLAYER_TIME), 0);
}

} // namespace
