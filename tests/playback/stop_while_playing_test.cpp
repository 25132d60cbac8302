// Stopping and reopening while time reports flow: libVLC's stop waits for running event callbacks
// while it holds the player's lock, so a callback that called back into the player would hang here.
#include "playback_test_support.h"
#include "private_message.h"

#include <QElapsedTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// Ends the process with a message when the test body has not finished in time (a hang).
class Watchdog {
  public:
    explicit Watchdog(int seconds)
        : m_thread([this, seconds] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_finished; })) {
                  std::fprintf(stderr, "hang: stop or open did not return\n");
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

TEST(StopWhilePlaying, RepeatedStopsAndOpensDuringTimeReportsReturnPromptly) {
    TestFolder folder;
    const QString clip = folder.File("clip.mp4");
    ASSERT_TRUE(MakeClip(clip, 3.0, "testsrc2=size=320x240:rate=50"));
    PanesWindow window;
    EnginePair engines;
    ASSERT_TRUE(engines.front.IsUsable());
    std::atomic<int> sliderMoves{0};
    // A slow slider hook keeps callbacks running long enough that stops meet them mid-way.
    engines.target.m_fnMoveSeekSlider = [&](int64_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        ++sliderMoves;
    };

    Watchdog watchdog(ScaledSeconds(60));
    qint64 longestStopMs = 0;
    for (int round = 0; round < 8; ++round) {
        const int before = engines.recorder.Count(MSG_PLAYER_TIME);
        ASSERT_EQ(engines.front.Open(clip, round == 0 ? window.m_pFront->winId() : 0, false, true), 1);
        ASSERT_TRUE(WaitFor([&] { return engines.recorder.Count(MSG_PLAYER_TIME) > before; }, 5000));
        WaitFor([] { return false; }, 37 * round % 150); // stop at varying moments of the report flow
        QElapsedTimer clock;
        clock.start();
        engines.front.Stop();
        longestStopMs = std::max(longestStopMs, clock.elapsed());
    }
    std::printf("longest stop while playing: %lld ms\n", static_cast<long long>(longestStopMs));
    EXPECT_GT(sliderMoves.load(), 0);
}

} // namespace
