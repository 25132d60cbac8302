// An engine without a usable library: missing file, missing entry point, failing instance creation.
// It must be unusable (m_bOk 0), and every operation must do nothing and not crash.
#include "playback_test_support.h"
#include "private_message.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Every operation of an unusable engine is a no-op with a failure result.
void ExpectInert(CVideoEngine& engine, const QString& clip, const QString& snapshot) {
    EXPECT_FALSE(engine.IsUsable());
    EXPECT_EQ(engine.m_pInstance, nullptr);
    EXPECT_EQ(engine.m_pPlayer, nullptr);
    EXPECT_EQ(engine.m_pEventManager, nullptr);

    EngineEventTarget target;
    engine.AttachEvents(OnFrontEngineEvent, &target);
    EXPECT_EQ(engine.m_pfnEventCallback, nullptr);
    EXPECT_EQ(engine.m_pEventUser, nullptr);

    engine.BindWindow(0x1234);
    EXPECT_EQ(engine.Open(clip, 0x1234, true, true), 0);
    EXPECT_EQ(engine.m_pMedia, nullptr);
    EXPECT_EQ(engine.m_bPlaying, 0);
    EXPECT_EQ(engine.Play(), -1);
    engine.Pause();
    engine.Stop();
    engine.SetMute(true);
    engine.SetTime(1000);
    engine.SetVolume(150);
    EXPECT_EQ(engine.m_nVolume, 150);
    EXPECT_EQ(engine.GetTime(), 0);
    EXPECT_EQ(engine.GetLength(), 0);
    EXPECT_EQ(engine.SetRate(2.0f), -1);
    EXPECT_EQ(engine.TakeSnapshot(snapshot), -1);
    EXPECT_FALSE(QFile::exists(snapshot));
    EXPECT_EQ(engine.Rebuild(1), 0);
    EXPECT_EQ(engine.m_nArgSet, 1);
    EXPECT_FALSE(engine.IsUsable());
}

TEST(EngineLoading, MissingLibraryGivesTwoUnusableEnginesThatDoNothing) {
    TestFolder folder;
    ASSERT_TRUE(MakeClip(folder.File("clip.mp4"), 1.0));
    LibraryOverride missing("/nonexistent/libvlc.so.5");
    CVideoEngine front;
    CVideoEngine rear;
    EXPECT_EQ(front.m_hModule, nullptr);
    ExpectInert(front, folder.File("clip.mp4"), folder.File("front.png"));
    ExpectInert(rear, folder.File("clip.mp4"), folder.File("rear.png"));
    EXPECT_EQ(front.m_strPathUtf8, folder.File("clip.mp4").toStdString());
}

TEST(EngineLoading, LibraryWithoutAnEntryPointOfTheTableIsUnusable) {
    LibraryOverride incomplete(FAKE_LIBVLC_INCOMPLETE);
    CVideoEngine engine;
    EXPECT_NE(engine.m_hModule, nullptr);
    EXPECT_EQ(engine.m_table.media_player_set_rate, nullptr);
    EXPECT_NE(engine.m_table.media_player_play, nullptr);
    ExpectInert(engine, "/tmp/none.mp4", "/tmp/none-snapshot.png");
}

TEST(EngineLoading, FailingInstanceCreationMakesTheEngineUnusable) {
    LibraryOverride noInstance(FAKE_LIBVLC_NO_INSTANCE);
    CVideoEngine engine;
    EXPECT_NE(engine.m_hModule, nullptr);
    EXPECT_NE(engine.m_table.media_player_set_rate, nullptr);
    ExpectInert(engine, "/tmp/none.mp4", "/tmp/none-snapshot.png");
}

TEST(EngineLoading, RealLibraryGivesTwoIndependentUsableEngines) {
    CVideoEngine front;
    CVideoEngine rear;
    ASSERT_TRUE(front.IsUsable());
    ASSERT_TRUE(rear.IsUsable());
    EXPECT_NE(front.m_pInstance, rear.m_pInstance);
    EXPECT_NE(front.m_pPlayer, rear.m_pPlayer);
    EXPECT_NE(front.m_pEventManager, nullptr);
    EXPECT_EQ(front.m_pMedia, nullptr);
    EXPECT_EQ(front.m_nArgSet, 0);
    EXPECT_EQ(front.m_nVolume, 0);
    EXPECT_FLOAT_EQ(front.m_fRate, 1.0f);
    EXPECT_EQ(front.m_bPlaying, 0);
    EXPECT_EQ(front.m_bPaused, 0);
    EXPECT_EQ(front.GetLength(), 0);
}

} // namespace
