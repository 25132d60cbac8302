// The playback session on real recordings written by the fixture writer: what its operations do to
// both engines, told through its signals.
#include "playback_session.h"
#include "playback_test_support.h"
#include "video_engine.h"

#include "fixture_writer.h"

#include <QThread>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Side = PlaybackSession::Side;
using State = PlaybackSession::EngineState;

std::string RecordingName(int64_t start, const char* tail) {
    const time_t time = static_cast<time_t>(start);
    std::tm wall{};
    localtime_r(&time, &wall);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_01%s", wall.tm_year + 1900, wall.tm_mon + 1,
                  wall.tm_mday, wall.tm_hour, wall.tm_min, wall.tm_sec, tail);
    return name;
}

// A card with one front/rear pair (front 3 s, rear 2 s) and a rear file whose front file is missing.
struct SessionCard {
    static constexpr int64_t kStart = 1717243200;
    explicit SessionCard(const std::string& name) : root(fixtures::ScratchDir("session_" + name)) {
        front = Write("Movie/" + RecordingName(kStart, ".MP4"), kStart, 3);
        rear = Write("Movi_be/" + RecordingName(kStart, "_b.MP4"), kStart, 2);
        lonelyRear = Write("Movi_be/" + RecordingName(kStart + 600, "_b.MP4"), kStart + 600, 2);
    }
    fs::path Write(const std::string& relative, int64_t start, int seconds) {
        fixtures::DriveSpec drive;
        drive.seconds = seconds;
        drive.driveStart = start;
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        telemetry.startTime = start;
        fs::create_directories((root / relative).parent_path());
        fixtures::ClipSpec clip;
        clip.seconds = seconds;
        clip.fps = 25;
        fixtures::WriteRecording(root / relative, 0, telemetry, {}, fixtures::MakeClip(clip));
        return root / relative;
    }
    fs::path root, front, rear, lonelyRear;
};

// Everything the session tells, in order, with the moment it came.
struct SessionLog {
    struct Entry {
        std::string what;
        int64_t a = 0, b = 0;
        qint64 atMs = 0;
    };
    explicit SessionLog(PlaybackSession& session) {
        clock.start();
        auto add = [this](std::string what, int64_t a = 0, int64_t b = 0) {
            entries.push_back({std::move(what), a, b, clock.elapsed()});
        };
        QObject::connect(&session, &PlaybackSession::stateChanged, [add](Side side, State state) {
            add(side == Side::kFront ? "front" : "rear", static_cast<int>(state));
        });
        QObject::connect(&session, &PlaybackSession::playingReported, [add](bool on) { add("reported", on); });
        QObject::connect(&session, &PlaybackSession::timeReported, [add](qint64 ms, qint64 length) {
            add("time", ms, length);
        });
        QObject::connect(&session, &PlaybackSession::seekScheduled, [add](qint64 ms, qint64 length) {
            add("seek", ms, length);
        });
        QObject::connect(&session, &PlaybackSession::seekApplied, [add](qint64 ms) { add("applied", ms); });
        QObject::connect(&session, &PlaybackSession::recordingOpened, [add](bool front, bool rear) {
            add("opened", front, rear);
        });
        QObject::connect(&session, &PlaybackSession::ended, [add] { add("ended"); });
        QObject::connect(&session, &PlaybackSession::nextWanted, [add] { add("next"); });
        QObject::connect(&session, &PlaybackSession::transportReset, [add] { add("reset"); });
        QObject::connect(&session, &PlaybackSession::stopped, [add] { add("stopped"); });
        QObject::connect(&session, &PlaybackSession::paneWanted, [add](Side side) {
            add("pane", side == Side::kFront ? 0 : 1);
        });
        QObject::connect(&session, &PlaybackSession::speedChanged, [add](int index) { add("speed", index); });
        QObject::connect(&session, &PlaybackSession::viewModeChanged, [add](int mode) { add("view", mode); });
        QObject::connect(&session, &PlaybackSession::errorReported, [add] { add("error"); });
    }
    std::vector<Entry> All(const std::string& what) const {
        std::vector<Entry> found;
        for (const Entry& e : entries)
            if (e.what == what) found.push_back(e);
        return found;
    }
    int Count(const std::string& what) const { return static_cast<int>(All(what).size()); }
    int64_t LastTime() const {
        const auto times = All("time");
        return times.empty() ? -1 : times.back().a;
    }
    // The state the session last told for one engine (stopped before anything was told).
    State Last(Side side) const {
        const auto told = All(side == Side::kFront ? "front" : "rear");
        return told.empty() ? State::kStopped : static_cast<State>(told.back().a);
    }
    void Clear() { entries.clear(); }
    QElapsedTimer clock;
    std::vector<Entry> entries;
};

class PlaybackSessionTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(session.Usable(Side::kFront));
        ASSERT_TRUE(session.Usable(Side::kRear));
        session.SetPanes(window.m_pFront->winId(), window.m_pRear->winId());
    }
    bool PlaysBeyond(int64_t ms, int timeoutMs = 5000) {
        return WaitFor([&] { return log.LastTime() > ms; }, timeoutMs);
    }
    PanesWindow window;
    PlaybackSession session;
    SessionLog log{session};
};

TEST_F(PlaybackSessionTest, FrontLeadsBesideItsSilentRearAndTheEndAsksForTheNextRecording) {
    SessionCard card("pair");
    session.Open(card.front);
    EXPECT_EQ(log.Last(Side::kFront), State::kPlaying);
    EXPECT_EQ(log.Last(Side::kRear), State::kPlaying);
    ASSERT_EQ(log.Count("opened"), 1);
    EXPECT_EQ(log.All("opened")[0].a, 1);
    EXPECT_EQ(log.All("opened")[0].b, 1);
    EXPECT_EQ(log.Count("pane"), 1) << "the rear pane is shown for its file";
    EXPECT_EQ(session.Engine(Side::kRear).Volume(), 0) << "beside the front, the rear is silent";
    session.SetVolume(37);
    EXPECT_EQ(session.Engine(Side::kFront).Volume(), 74);
    EXPECT_EQ(session.Engine(Side::kRear).Volume(), 0);

    // The rear (2 s) ends first: only the front's end (3 s) counts, and auto-next asks for the next.
    ASSERT_TRUE(WaitFor([&] { return log.Count("next") > 0; }, 8000));
    const auto times = log.All("time");
    ASSERT_GE(times.size(), 4u);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i].a, times[i - 1].a) << "reports of one engine only, in order";
    EXPECT_GT(times.back().a, 2200) << "the time came from the 3 s front";
    EXPECT_NEAR(static_cast<double>(times.back().b), 3000.0, 200.0) << "the leading engine's length";
    ASSERT_EQ(log.Count("ended"), 1);
    EXPECT_GE(log.All("next")[0].atMs - log.All("ended")[0].atMs, PlaybackSession::kEndToNextMs - 20);
}

TEST_F(PlaybackSessionTest, ARearWithoutItsFrontPlaysAloneLeadsAndIsHeardAtTheSlidersVolume) {
    SessionCard card("alone");
    session.SetAutoNext(false);
    session.Open(card.lonelyRear);
    EXPECT_TRUE(session.Plan().RearAlone());
    EXPECT_EQ(log.Last(Side::kFront), State::kStopped);
    EXPECT_EQ(log.Last(Side::kRear), State::kPlaying);
    EXPECT_EQ(session.Engine(Side::kRear).Volume(), 100);
    session.SetVolume(20);
    EXPECT_EQ(session.Engine(Side::kRear).Volume(), 40);
    ASSERT_TRUE(PlaysBeyond(500));
    EXPECT_NEAR(static_cast<double>(log.All("time").back().b), 2000.0, 200.0);

    // Auto-next off: the end stops both engines and resets the transport instead.
    ASSERT_TRUE(WaitFor([&] { return log.Count("reset") > 0; }, 6000));
    EXPECT_EQ(log.Count("next"), 0);
    EXPECT_EQ(log.Last(Side::kRear), State::kStopped);
}

TEST_F(PlaybackSessionTest, PauseAndPlayActByStateNeverAsABlindToggle) {
    SessionCard card("pause");
    session.Open(card.front);
    ASSERT_TRUE(PlaysBeyond(300));
    session.Pause();
    session.Pause(); // a second pause must not resume
    EXPECT_EQ(log.Last(Side::kFront), State::kPaused);
    EXPECT_EQ(log.Last(Side::kRear), State::kPaused);
    ASSERT_TRUE(WaitFor([&] { return log.Count("reported") > 0 && !log.All("reported").back().a; }, 3000));
    const int64_t pausedAt = log.LastTime();
    WaitFor([] { return false; }, 600);
    EXPECT_LE(log.LastTime(), pausedAt + 100) << "time stands while paused";

    session.TogglePlayPause();
    EXPECT_EQ(log.Last(Side::kFront), State::kPlaying);
    session.Play(); // already playing: nothing changes
    EXPECT_EQ(log.Last(Side::kFront), State::kPlaying);
    ASSERT_TRUE(PlaysBeyond(pausedAt + 300));

    session.Stop();
    EXPECT_EQ(log.Count("stopped"), 1);
    EXPECT_EQ(log.Last(Side::kFront), State::kStopped);
    session.Play(); // play never starts a stopped engine
    EXPECT_EQ(log.Last(Side::kFront), State::kStopped);
    EXPECT_FALSE(session.AnyPlaying());
}

TEST_F(PlaybackSessionTest, ASeekWaitsForTheTickAndTimeReportsPauseMeanwhile) {
    SessionCard card("seek");
    session.Open(card.front);
    ASSERT_TRUE(PlaysBeyond(200));
    session.Pause(); // a paused engine still counts for a seek's length
    // The players' "paused" clears a pending seek: seek after it has come.
    ASSERT_TRUE(WaitFor([&] { return log.Count("reported") > 0 && !log.All("reported").back().a; }, 3000));
    log.Clear();
    session.SeekToSliderPosition(625, 125, 750); // 500 of 750 positions of a 3 s recording
    ASSERT_EQ(log.Count("seek"), 1);
    const int64_t target = log.All("seek")[0].a;
    EXPECT_NEAR(static_cast<double>(target), 2000.0, 100.0);
    EXPECT_EQ(session.PendingSeekMs(), target);
    EXPECT_EQ(log.Count("applied"), 0) << "nothing reaches the engines before the tick";
    ASSERT_TRUE(WaitFor([&] { return log.Count("applied") > 0; }, PlaybackSession::kApplySeekPeriodMs + 300));
    EXPECT_EQ(log.All("applied")[0].a, target);
    EXPECT_EQ(session.PendingSeekMs(), 0);
    EXPECT_EQ(log.Count("time"), 0) << "no report while the seek was pending";
    session.Play();
    ASSERT_TRUE(PlaysBeyond(0));
    EXPECT_GE(log.All("time")[0].a, target - 300) << "playing went on from the seek";

    // A seek to the start is kept as 1 ms, since 0 means "none pending".
    session.SeekTo(-500);
    ASSERT_EQ(log.All("seek").back().a, 0);
    EXPECT_EQ(session.PendingSeekMs(), 1);
}

TEST_F(PlaybackSessionTest, MessagesOfAnEarlierOpeningAreDropped) {
    SessionCard card("generation");
    session.Open(card.front);
    ASSERT_TRUE(PlaysBeyond(0)); // the length is known once the player runs
    session.SeekTo(2000);
    session.ApplyPendingSeek();
    ASSERT_TRUE(PlaysBeyond(2000));
    // The UI thread is busy while the old players keep posting; then another recording opens.
    QThread::msleep(300);
    const uint32_t before = session.Generation();
    session.Open(card.lonelyRear);
    EXPECT_NE(session.Generation(), before);
    log.Clear();
    ASSERT_TRUE(PlaysBeyond(0));
    EXPECT_LT(log.All("time")[0].a, 1500) << "a queued report of the earlier recording came through";

    // An end whose delay runs into a new opening does not move on from the new recording.
    ASSERT_TRUE(WaitFor([&] { return log.Count("ended") > 0; }, 6000));
    session.Open(card.front);
    WaitFor([] { return false; }, PlaybackSession::kEndToNextMs + 200);
    EXPECT_EQ(log.Count("next"), 0);
    EXPECT_EQ(log.Last(Side::kFront), State::kPlaying);
}

TEST_F(PlaybackSessionTest, SwitchingTheViewPausesThePlayersOnlyWhileTheWindowLaysOut) {
    SessionCard card("switch");
    session.Open(card.front);
    ASSERT_TRUE(PlaysBeyond(100));
    std::vector<State> duringLayout;
    QObject::connect(&session, &PlaybackSession::viewModeChanged,
                     [&](int) { duringLayout.push_back(session.State(Side::kFront)); });
    session.SwitchView();
    session.SwitchView();
    session.SwitchView();
    const auto modes = log.All("view");
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_EQ(modes[0].a, 1);
    EXPECT_EQ(modes[1].a, 2);
    EXPECT_EQ(modes[2].a, 0);
    EXPECT_EQ(duringLayout, std::vector<State>(3, State::kPaused));
    EXPECT_EQ(log.Last(Side::kFront), State::kPlaying);

    // A hold around a pause the user asked for does not resume what the user paused.
    session.BeginHold();
    session.Pause();
    session.EndHold();
    EXPECT_EQ(log.Last(Side::kFront), State::kPaused);
}

TEST_F(PlaybackSessionTest, RotationGivesBackThePausedStateAtItsTime) {
    SessionCard card("rotate");
    session.Open(card.front);
    ASSERT_TRUE(PlaysBeyond(1000));
    session.Pause();
    ASSERT_TRUE(WaitFor([&] { return !log.All("reported").empty() && !log.All("reported").back().a; }, 3000));
    const int64_t pausedAt = session.LeadingTimeMs(true);
    session.Rotate();
    EXPECT_TRUE(session.Rotated());
    ASSERT_TRUE(WaitFor([&] { return log.Last(Side::kFront) == State::kPaused; }, 5000));
    EXPECT_EQ(log.Last(Side::kRear), State::kPaused);
    WaitFor([] { return false; }, 400);
    EXPECT_NEAR(static_cast<double>(session.LeadingTimeMs(true)), static_cast<double>(pausedAt), 400.0);
}

TEST_F(PlaybackSessionTest, SpeedStepsReachBothEnginesAndStopGoesBackToNormal) {
    SessionCard card("speed");
    session.Open(card.front);
    for (int press = 0; press < 3; ++press)
        session.Faster();
    EXPECT_EQ(log.All("speed").back().a, 10);
    EXPECT_FLOAT_EQ(session.Engine(Side::kFront).Rate(), 1.6f);
    EXPECT_FLOAT_EQ(session.Engine(Side::kRear).Rate(), 1.6f);
    session.Stop();
    EXPECT_EQ(log.All("speed").back().a, 7);
    EXPECT_FLOAT_EQ(session.Engine(Side::kFront).Rate(), 1.0f);

    // A closed recording (its files deleted) is not opened again by a rotation.
    session.Reopen();
    EXPECT_EQ(log.Count("opened"), 2);
    session.Close();
    session.Rotate();
    EXPECT_EQ(log.Count("opened"), 2);
    EXPECT_EQ(log.Last(Side::kFront), State::kStopped);
}

TEST_F(PlaybackSessionTest, ARecordingBelowAFolderNameThatIsNotUtf8Plays) {
    SessionCard card("latin1");
    const fs::path folder = card.root / std::string("Ausfl\xFCge"); // Latin-1, as an old FAT card gives
    fs::create_directories(folder);
    const fs::path moved = folder / card.lonelyRear.filename();
    fs::rename(card.lonelyRear, moved);
    session.Open(moved);
    EXPECT_EQ(session.CurrentPath(), moved);
    ASSERT_TRUE(PlaysBeyond(300));
    EXPECT_EQ(log.Count("error"), 0);
}

TEST_F(PlaybackSessionTest, AFileThatCannotPlayIsReportedOnceAndEndsTheOpening) {
    SessionCard card("error");
    const fs::path broken = card.root / "Movie" / RecordingName(SessionCard::kStart + 1200, ".MP4");
    std::ofstream(broken) << "not a movie";
    session.Opening().Begin();
    session.Open(broken);
    ASSERT_TRUE(WaitFor([&] { return log.Count("error") > 0; }, 5000));
    EXPECT_FALSE(session.Opening().Active()) << "list choices must not wait 100 s for a time report";
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(log.Count("error"), 1);
    EXPECT_EQ(log.Count("time"), 0);
}

TEST(PlaybackSessionWithoutLibrary, EveryOperationDoesNothingAndTheOpeningEnds) {
    SessionCard card("nolib");
    LibraryOverride missing("/nonexistent/libvlc.so.5");
    PlaybackSession session;
    SessionLog log(session);
    EXPECT_FALSE(session.Usable(Side::kFront));
    session.Opening().Begin();
    session.Open(card.front);
    EXPECT_FALSE(session.Opening().Active()) << "no engine will ever report a time";
    session.TogglePlayPause();
    session.SeekTo(1000);
    session.Rotate();
    EXPECT_EQ(log.Count("front") + log.Count("rear") + log.Count("seek"), 0);
    EXPECT_EQ(session.PendingSeekMs(), 0);
}

} // namespace
