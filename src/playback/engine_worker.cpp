#include "engine_worker.h"

#include <chrono>

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A drain that waits this long at destruction is a card that stopped answering, not a slow stop.
constexpr int kDestructionWaitMs = 2000;

} // namespace

CEngineWorker::CEngineWorker() : m_pShared(std::make_shared<Shared>()) {
    // The loop holds its own reference: an abandoned thread keeps the queue alive until it returns.
    m_thread = std::thread(&CEngineWorker::Loop, m_pShared);
}

CEngineWorker::~CEngineWorker() {
    Finish(kDestructionWaitMs);
}

void CEngineWorker::Loop(std::shared_ptr<Shared> shared) {
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return shared->stopping || !shared->jobs.empty(); });
        if (shared->jobs.empty()) break; // stopping and drained
        Job job = std::move(shared->jobs.front());
        shared->jobs.pop_front();
        shared->running = true;
        shared->startedMs = NowMs();
        lock.unlock();
        job();
        job = nullptr; // whatever the job held goes on this thread, before the worker counts as idle
        lock.lock();
        shared->running = false;
        shared->startedMs = 0;
        if (shared->jobs.empty()) shared->drained.notify_all();
    }
    shared->drained.notify_all();
}

void CEngineWorker::Post(Job job) {
    {
        std::lock_guard lock(m_pShared->mutex);
        if (m_pShared->stopping) return;
        m_pShared->jobs.push_back(std::move(job));
    }
    m_pShared->wake.notify_one();
}

bool CEngineWorker::Idle() const {
    std::lock_guard lock(m_pShared->mutex);
    return m_pShared->jobs.empty() && !m_pShared->running;
}

int64_t CEngineWorker::RunningForMs() const {
    std::lock_guard lock(m_pShared->mutex);
    return m_pShared->running ? NowMs() - m_pShared->startedMs : 0;
}

bool CEngineWorker::Finish(int waitMs) {
    if (!m_thread.joinable()) return true;
    bool drained = false;
    {
        std::unique_lock lock(m_pShared->mutex);
        m_pShared->stopping = true;
        m_pShared->wake.notify_one();
        drained = m_pShared->drained.wait_for(lock, std::chrono::milliseconds(waitMs), [&] {
            return m_pShared->jobs.empty() && !m_pShared->running;
        });
    }
    if (!drained) {
        Abandon();
        return false;
    }
    m_thread.join();
    return true;
}

void CEngineWorker::Abandon() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard lock(m_pShared->mutex);
        m_pShared->jobs.clear();
        m_pShared->stopping = true;
    }
    m_pShared->wake.notify_one();
    m_thread.detach();
}

void CEngineWorker::Retire(Job last) {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard lock(m_pShared->mutex);
        m_pShared->jobs.clear();
        m_pShared->jobs.push_back(std::move(last));
        m_pShared->stopping = true;
    }
    m_pShared->wake.notify_one();
    m_thread.detach();
}
