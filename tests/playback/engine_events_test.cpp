// The engine callbacks' rules, driven with event records as libVLC hands them over: what each event
// posts to the main window, and how the rear engine yields to a playing front engine.
#include "playback_test_support.h"
#include "private_message.h"

#include <gtest/gtest.h>

namespace {

void Fire(libvlc_callback_t callback, int type, EngineEventTarget& target, int64_t timeMs = 0) {
    libvlc_event_t event{};
    event.type = type;
    if (type == libvlc_MediaPlayerTimeChanged) event.u.media_player_time_changed.new_time = timeMs;
    callback(&event, &target);
}

class EngineEventsTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(engines.front.IsUsable());
        engines.target.m_fnSetGpsColor = [this](int colour) { gpsColours.push_back(colour); };
        engines.target.m_fnMoveSeekSlider = [this](int64_t ms) { sliderTimes.push_back(ms); };
    }
    // Messages posted by the callbacks, once the event loop delivered them.
    const std::vector<ReceivedMessage>& Delivered() {
        QCoreApplication::processEvents();
        return engines.recorder.m_messages;
    }
    EnginePair engines;
    std::vector<int> gpsColours;
    std::vector<int64_t> sliderTimes;
};

TEST_F(EngineEventsTest, FrontEventsPostTheirMessages) {
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerPlaying, engines.target);
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerPaused, engines.target);
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerEndReached, engines.target);
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerEncounteredError, engines.target);
    const auto& got = Delivered();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].message, MSG_PLAYER_STATE);
    EXPECT_EQ(got[0].wParam, 3u);
    EXPECT_EQ(got[1].message, MSG_PLAYER_STATE);
    EXPECT_EQ(got[1].wParam, 4u);
    EXPECT_EQ(got[2].message, MSG_PLAYER_END);
    EXPECT_EQ(got[2].wParam, 1u);
    EXPECT_EQ(got[3].message, MSG_PLAYER_ERROR);
    EXPECT_EQ(got[3].wParam, 1u);
}

TEST_F(EngineEventsTest, EventsWithoutARuleDoNothing) {
    for (int type : {libvlc_MediaPlayerPositionChanged, libvlc_MediaPlayerSeekableChanged,
                     libvlc_MediaStateChanged, libvlc_MediaPlayerMediaChanged, libvlc_MediaPlayerBuffering}) {
        Fire(OnFrontEngineEvent, type, engines.target);
        Fire(OnRearEngineEvent, type, engines.target);
    }
    EXPECT_TRUE(Delivered().empty());
    EXPECT_TRUE(gpsColours.empty());
    EXPECT_TRUE(sliderTimes.empty());
}

TEST_F(EngineEventsTest, OpeningAndPausingClearThePendingSeekAndOpeningGreysTheGpsIndicator) {
    engines.target.m_llPendingSeekMs = 30500;
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerOpening, engines.target);
    EXPECT_EQ(engines.target.m_llPendingSeekMs, 0);
    EXPECT_EQ(gpsColours, std::vector<int>{0});

    engines.target.m_llPendingSeekMs = 1;
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerPaused, engines.target);
    EXPECT_EQ(engines.target.m_llPendingSeekMs, 0);

    engines.target.m_llPendingSeekMs = 7;
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerStopped, engines.target);
    EXPECT_EQ(engines.target.m_llPendingSeekMs, 7); // a stop keeps the target
    EXPECT_EQ(gpsColours, (std::vector<int>{0, 0}));
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerEndReached, engines.target);
    EXPECT_EQ(engines.target.m_llPendingSeekMs, 0);
}

TEST_F(EngineEventsTest, TimeReportWaitsWhileASeekIsPending) {
    engines.target.m_opening.Begin();
    engines.target.m_llPendingSeekMs = 1;
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerTimeChanged, engines.target);
    EXPECT_TRUE(Delivered().empty());
    EXPECT_TRUE(sliderTimes.empty());
    EXPECT_TRUE(engines.target.m_opening.Active());

    engines.target.m_llPendingSeekMs = 0;
    const int64_t beyond32Bits = (int64_t(1) << 32) + 61000;
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerTimeChanged, engines.target, beyond32Bits);
    ASSERT_EQ(Delivered().size(), 1u);
    EXPECT_EQ(Delivered()[0].message, MSG_PLAYER_TIME);
    EXPECT_EQ(Delivered()[0].wParam, 61000u); // the low 32 bits of the reported time
    EXPECT_EQ(sliderTimes, std::vector<int64_t>{beyond32Bits});
    EXPECT_FALSE(engines.target.m_opening.Active()) << "the first time report ends the opening";
}

// A player still being stopped on its worker reports under the opening it played for: once the
// session moved on, its reports are dropped at the source, but for the indicator's grey at its stop.
TEST_F(EngineEventsTest, ReportsOfAPlayerOfAnEarlierOpeningAreDropped) {
    engines.target.m_opening.Begin();
    engines.target.BeginNewOpening();
    engines.target.m_llPendingSeekMs = 900;
    for (int type : {libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying, libvlc_MediaPlayerPaused,
                     libvlc_MediaPlayerEndReached, libvlc_MediaPlayerEncounteredError}) {
        Fire(OnFrontEngineEvent, type, engines.target);
        Fire(OnRearEngineEvent, type, engines.target);
    }
    EXPECT_EQ(engines.target.m_llPendingSeekMs, 900) << "a stale report must not drop a new seek";
    engines.target.m_llPendingSeekMs = 0;
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerTimeChanged, engines.target, 5000);
    EXPECT_TRUE(Delivered().empty());
    EXPECT_TRUE(sliderTimes.empty());
    EXPECT_TRUE(engines.target.m_opening.Active()) << "an old player's time does not end the new opening";
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerStopped, engines.target);
    EXPECT_EQ(gpsColours, std::vector<int>{0});

    // The engine takes the new opening: its reports count again.
    engines.front.MarkOpening(engines.target.m_nOpening);
    ASSERT_TRUE(WaitFor([&] { return engines.front.EventOpening() == engines.target.m_nOpening; }, 2000));
    Fire(OnFrontEngineEvent, libvlc_MediaPlayerTimeChanged, engines.target, 700);
    ASSERT_EQ(Delivered().size(), 1u);
    EXPECT_EQ(Delivered()[0].wParam, 700u);
    EXPECT_FALSE(engines.target.m_opening.Active());
    // The rear was not told: its reports stay dropped.
    Fire(OnRearEngineEvent, libvlc_MediaPlayerEndReached, engines.target);
    EXPECT_EQ(Delivered().size(), 1u);
}

// A front engine the session asked to play, whose own player reports nothing here.
struct AskedFront {
    AskedFront(EngineEventTarget& target, bool paused) {
        target.m_pFront = &engine;
        EXPECT_EQ(engine.Open(std::filesystem::path("/nonexistent/clip.mp4"), 0, true, true), 1);
        if (paused) {
            EXPECT_TRUE(engine.PausePlaying());
        }
    }
    CVideoEngine engine;
};

TEST_F(EngineEventsTest, RearYieldsToAPlayingFrontExceptForItsEndOfFile) {
    AskedFront front(engines.target, false);
    ASSERT_TRUE(front.engine.IsUsableAndPlaying());
    engines.target.m_llPendingSeekMs = 5;
    engines.target.m_opening.Begin();
    for (int type : {libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying, libvlc_MediaPlayerPaused,
                     libvlc_MediaPlayerStopped, libvlc_MediaPlayerEncounteredError})
        Fire(OnRearEngineEvent, type, engines.target);
    engines.target.m_llPendingSeekMs = 0;
    Fire(OnRearEngineEvent, libvlc_MediaPlayerTimeChanged, engines.target);
    EXPECT_TRUE(Delivered().empty());
    EXPECT_TRUE(gpsColours.empty());
    EXPECT_TRUE(sliderTimes.empty());
    EXPECT_TRUE(engines.target.m_opening.Active());

    engines.target.m_llPendingSeekMs = 5;
    Fire(OnRearEngineEvent, libvlc_MediaPlayerEndReached, engines.target);
    ASSERT_EQ(Delivered().size(), 1u);
    EXPECT_EQ(Delivered()[0].message, MSG_REAR_END);
    EXPECT_EQ(Delivered()[0].wParam, 1u);
    EXPECT_EQ(engines.target.m_llPendingSeekMs, 0);
}

TEST_F(EngineEventsTest, RearIsTheMasterWhileTheFrontIsNotPlaying) {
    AskedFront front(engines.target, true); // paused is not playing
    ASSERT_TRUE(front.engine.IsPaused());
    Fire(OnRearEngineEvent, libvlc_MediaPlayerPlaying, engines.target);
    Fire(OnRearEngineEvent, libvlc_MediaPlayerTimeChanged, engines.target, 1234);
    Fire(OnRearEngineEvent, libvlc_MediaPlayerEndReached, engines.target);
    Fire(OnRearEngineEvent, libvlc_MediaPlayerOpening, engines.target);
    const auto& got = Delivered();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, MSG_PLAYER_STATE);
    EXPECT_EQ(got[1].message, MSG_PLAYER_TIME);
    EXPECT_EQ(got[1].wParam, 1234u);
    EXPECT_EQ(got[2].message, MSG_PLAYER_END);
    EXPECT_EQ(sliderTimes, std::vector<int64_t>{1234});
    EXPECT_EQ(gpsColours, std::vector<int>{0});
}

TEST(EngineEventsWithoutFront, RearIsTheMasterWhenTheFrontEngineIsUnusable) {
    MessageRecorder recorder;
    EngineEventTarget target;
    std::unique_ptr<CVideoEngine> front;
    {
        LibraryOverride missing("/nonexistent/libvlc.so.5");
        front = std::make_unique<CVideoEngine>();
    }
    CVideoEngine rear;
    ASSERT_FALSE(front->IsUsable());
    ASSERT_TRUE(rear.IsUsable());
    // Asked to play, an unusable engine does not play, so it never becomes the master.
    EXPECT_EQ(front->Open(std::filesystem::path("/nonexistent/clip.mp4"), 0, true, true), 0);
    EXPECT_FALSE(front->IsPlaying());
    target.m_pReceiver = &recorder;
    target.m_pFront = front.get();
    target.m_pRear = &rear;
    Fire(OnRearEngineEvent, libvlc_MediaPlayerEndReached, target);
    QCoreApplication::processEvents();
    ASSERT_EQ(recorder.m_messages.size(), 1u);
    EXPECT_EQ(recorder.m_messages[0].message, MSG_PLAYER_END);
}

TEST(EngineEventsWithoutTarget, RecordsWithoutEnginesOrUserDataPostNothing) {
    MessageRecorder recorder;
    libvlc_event_t event{};
    event.type = libvlc_MediaPlayerEndReached;
    OnFrontEngineEvent(&event, nullptr);
    OnRearEngineEvent(nullptr, nullptr);
    EngineEventTarget noEngines;
    noEngines.m_pReceiver = &recorder;
    OnFrontEngineEvent(&event, &noEngines);
    OnRearEngineEvent(&event, &noEngines);
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.m_messages.empty());
}

} // namespace
