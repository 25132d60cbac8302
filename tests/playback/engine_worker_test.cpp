// The engine's worker: jobs in order on their own thread, the idle state the engine relies on before
// it touches a player itself, and a worker whose job never returns (a card that stopped answering)
// left behind instead of waited for.
#include "engine_worker.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// A job that waits until Release, as a read on a hung card does.
class Gate {
  public:
    void Wait() {
        std::unique_lock lock(m_mutex);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    void WaitEntered() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered; });
    }
    void Release() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_open = false;
};

bool Eventually(const std::function<bool()>& done, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return done();
}

TEST(EngineWorker, JobsRunInOrderOffTheCallingThreadAndIdleFollowsTheQueue) {
    CEngineWorker worker;
    EXPECT_TRUE(worker.Idle());
    EXPECT_EQ(worker.RunningForMs(), 0);
    auto gate = std::make_shared<Gate>();
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<bool> onCaller{false};
    const std::thread::id caller = std::this_thread::get_id();
    worker.Post([gate] { gate->Wait(); });
    for (int i = 0; i < 5; ++i)
        worker.Post([&, i] {
            if (std::this_thread::get_id() == caller) onCaller = true;
            std::lock_guard lock(mutex);
            order.push_back(i);
        });
    gate->WaitEntered();
    EXPECT_FALSE(worker.Idle()) << "a running job and queued ones";
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(worker.RunningForMs(), 20);
    gate->Release();
    ASSERT_TRUE(Eventually([&] { return worker.Idle(); }));
    EXPECT_EQ(worker.RunningForMs(), 0);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(onCaller);
    EXPECT_TRUE(worker.Finish(1000));
}

TEST(EngineWorker, FinishWaitsForWorkThatEndsButLeavesAStuckJobBehind) {
    {
        CEngineWorker worker;
        std::atomic<int> ran{0};
        for (int i = 0; i < 3; ++i)
            worker.Post([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ++ran;
            });
        EXPECT_TRUE(worker.Finish(2000));
        EXPECT_EQ(ran, 3) << "slow but answering work is waited for";
    }

    auto gate = std::make_shared<Gate>();
    auto held = std::make_shared<int>(7); // what the stuck job holds, like its player
    std::weak_ptr<int> watch = held;
    auto laterRan = std::make_shared<std::atomic<bool>>(false);
    auto worker = std::make_unique<CEngineWorker>();
    worker->Post([gate, held = std::move(held)] { gate->Wait(); });
    worker->Post([laterRan] { *laterRan = true; });
    gate->WaitEntered();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(worker->Finish(100));
    worker.reset();
    EXPECT_LT(clock.elapsed(), 1000) << "the owner must not wait for the stuck job";
    EXPECT_FALSE(watch.expired()) << "the stuck job keeps what it holds";

    gate->Release(); // the card answers again
    EXPECT_TRUE(Eventually([&] { return watch.expired(); })) << "released once the job returned";
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(*laterRan) << "work queued behind a stuck job is dropped";
}

TEST(EngineWorker, RetireDropsTheWaitingJobsAndRunsItsLastWordWithoutWaitingAndAbandonDropsAll) {
    auto gate = std::make_shared<Gate>();
    auto ran = std::make_shared<std::atomic<int>>(0);
    auto held = std::make_shared<int>(1); // the old player, released by the last word
    std::weak_ptr<int> watch = held;
    {
        CEngineWorker worker;
        worker.Post([gate] { gate->Wait(); });
        worker.Post([ran] { ++*ran; }); // a media for the old player: must never reach it
        gate->WaitEntered();
        QElapsedTimer clock;
        clock.start();
        worker.Retire([ran, held = std::move(held)]() mutable {
            *ran += 10;
            held.reset();
        });
        worker.Post([ran] { *ran += 100; }); // refused once retired
        EXPECT_LT(clock.elapsed(), 500);
    }
    EXPECT_FALSE(watch.expired()) << "released only once the stuck job returned";
    gate->Release();
    EXPECT_TRUE(Eventually([&] { return watch.expired(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(*ran, 10) << "only the last word ran after the stuck job";

    auto second = std::make_shared<Gate>();
    auto dropped = std::make_shared<std::atomic<bool>>(false);
    {
        CEngineWorker worker;
        worker.Post([second] { second->Wait(); });
        worker.Post([dropped] { *dropped = true; });
        second->WaitEntered();
        worker.Abandon();
    }
    second->Release();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(*dropped);
}

} // namespace
