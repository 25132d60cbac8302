// An engine without a usable library: missing file, missing entry point, failing instance creation.
// It must be unusable, and every operation must do nothing and not crash.
#include "playback_test_support.h"
#include "private_message.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Every operation of an unusable engine is a no-op with a failure result.
void ExpectInert(CVideoEngine& engine, const QString& clip, const QString& snapshot) {
    EXPECT_FALSE(engine.IsUsable());

    // Attaching does nothing: no event of the engine ever reaches the target.
    MessageRecorder recorder;
    EngineEventTarget target;
    target.m_pReceiver = &recorder;
    engine.AttachEvents(OnFrontEngineEvent, &target);

    engine.BindWindow(0x1234);
    EXPECT_EQ(engine.Open(clip, 0x1234, true, true), 0);
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_FALSE(engine.IsActive(true));
    EXPECT_EQ(engine.Play(), -1);
    EXPECT_FALSE(engine.IsPlaying());
    engine.Pause();
    EXPECT_FALSE(engine.PausePlaying());
    EXPECT_FALSE(engine.ResumePaused());
    engine.Stop();
    engine.SetMute(true);
    engine.SetTime(1000);
    engine.SetVolume(150);
    EXPECT_EQ(engine.Volume(), 150);
    EXPECT_EQ(engine.GetTime(), 0);
    EXPECT_EQ(engine.GetLength(), 0);
    EXPECT_EQ(engine.SetRate(2.0f), -1);
    EXPECT_EQ(engine.TakeSnapshot(snapshot), -1);
    EXPECT_FALSE(QFile::exists(snapshot));
    EXPECT_EQ(engine.Rebuild(1), 0);
    EXPECT_EQ(engine.ArgumentSet(), 1);
    EXPECT_FALSE(engine.IsUsable());
    EXPECT_FALSE(engine.ReplaceIfStuck(0)) << "nothing to replace on an unusable engine";
    WaitFor([] { return false; }, 200);
    EXPECT_TRUE(recorder.m_messages.empty());
}

TEST(EngineLoading, MissingLibraryGivesTwoUnusableEnginesThatDoNothing) {
    TestFolder folder;
    ASSERT_TRUE(MakeClip(folder.File("clip.mp4"), 1.0));
    LibraryOverride missing("/nonexistent/libvlc.so.5");
    CVideoEngine front;
    CVideoEngine rear;
    ExpectInert(front, folder.File("clip.mp4"), folder.File("front.png"));
    ExpectInert(rear, folder.File("clip.mp4"), folder.File("rear.png"));
    EXPECT_EQ(front.CurrentPath(), folder.File("clip.mp4").toStdString());
}

TEST(EngineLoading, LibraryWithoutAnEntryPointOfTheTableIsUnusable) {
    LibraryOverride incomplete(FAKE_LIBVLC_INCOMPLETE);
    CVideoEngine engine;
    ExpectInert(engine, "/tmp/none.mp4", "/tmp/none-snapshot.png");
}

TEST(EngineLoading, FailingInstanceCreationMakesTheEngineUnusable) {
    LibraryOverride noInstance(FAKE_LIBVLC_NO_INSTANCE);
    CVideoEngine engine;
    ExpectInert(engine, "/tmp/none.mp4", "/tmp/none-snapshot.png");
}

TEST(EngineLoading, RealLibraryGivesTwoIndependentUsableEngines) {
    TestFolder folder;
    ASSERT_TRUE(MakeClip(folder.File("front.mp4"), 3.0));
    ASSERT_TRUE(MakeClip(folder.File("rear.mp4"), 1.0));
    EnginePair engines;
    CVideoEngine& front = engines.front;
    CVideoEngine& rear = engines.rear;
    ASSERT_TRUE(front.IsUsable());
    ASSERT_TRUE(rear.IsUsable());
    EXPECT_TRUE(front.CurrentPath().empty());
    EXPECT_EQ(front.ArgumentSet(), 0);
    EXPECT_EQ(front.Volume(), 0);
    EXPECT_FLOAT_EQ(front.Rate(), 1.0f);
    EXPECT_FALSE(front.IsPlaying());
    EXPECT_FALSE(front.IsPaused());
    EXPECT_EQ(front.GetLength(), 0);
    EXPECT_EQ(front.Rebuild(1), 0) << "nothing opened yet";

    // Independent players: each plays its own file, and stopping one leaves the other playing.
    PanesWindow window;
    ASSERT_EQ(front.Open(folder.File("front.mp4"), window.m_pFront->winId(), true, true), 1);
    ASSERT_EQ(rear.Open(folder.File("rear.mp4"), window.m_pRear->winId(), true, true), 1);
    ASSERT_TRUE(WaitFor([&] { return front.WorkerIdle() && front.GetLength() > 2000; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return rear.WorkerIdle() && rear.GetLength() > 0 && rear.GetLength() < 2000; }, 5000))
        << "the rear plays its own one-second clip";
    rear.Stop();
    EXPECT_FALSE(rear.IsPlaying());
    EXPECT_TRUE(front.IsPlaying());
    const int64_t before = front.GetTime();
    EXPECT_TRUE(WaitFor([&] { return front.GetTime() > before + 200; }, 3000)) << "the front plays on";
}

} // namespace
