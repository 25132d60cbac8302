// One thread that runs an engine's libVLC work in order, so that the calls that can wait for a card
// (a player's stop, a media change on a playing player, a player's release) never run on the UI
// thread. Jobs run one at a time in the order they were posted.
//
// Threading contract: Post, Idle, RunningForMs, Finish, Abandon, Retire and the destructor are called on one thread
// (the engine's owner, the UI thread). While Idle() is true nothing runs on the worker and nothing
// will until the owner posts again, so the owner may then use the libVLC objects itself.
// A worker whose job never returns (a read blocked on a card that stopped answering) is left behind
// by Abandon: its thread is detached, its pending jobs are dropped, and whatever its running job holds
// stays alive until that job returns (for ever if the card never answers again).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>


class CEngineWorker {
  public:
    using Job = std::function<void()>;

    CEngineWorker();
    // Waits for the jobs posted so far, at most waitMs (see Finish); a worker still busy then is
    // abandoned rather than waited for.
    ~CEngineWorker();
    CEngineWorker(const CEngineWorker&) = delete;
    CEngineWorker& operator=(const CEngineWorker&) = delete;

    void Post(Job job);
    // Nothing queued and nothing running.
    bool Idle() const;
    // How long the running job has been running; 0 when none runs.
    int64_t RunningForMs() const;
    // Lets the jobs posted so far run, waiting for them at most waitMs; true when they all ran and
    // the thread ended. Otherwise the worker is abandoned (see above) and false is returned.
    bool Finish(int waitMs);
    // Leaves the thread behind now: pending jobs dropped, the running one left to end on its own.
    void Abandon();
    // Leaves the thread to end on its own, without waiting for it: pending jobs dropped, then last
    // runs after the running job returns (a release of what the worker worked on).
    void Retire(Job last);

  private:
    struct Shared {
        mutable std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable drained;
        std::deque<Job> jobs;
        bool running = false;
        bool stopping = false;
        int64_t startedMs = 0; // steady clock of the running job's start
    };
    static void Loop(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> m_pShared;
    std::thread m_thread;
};
