#include "allocator_trim.h"

#include <malloc.h>

#include "trace.h"

namespace {

constexpr int kArenas = 2;
constexpr int kOwnMappingFrom = 256 * 1024;

} // namespace

void SetAllocatorRules() {
    mallopt(M_ARENA_MAX, kArenas);
    // Setting the threshold also stops glibc from raising it after each freed mapping.
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
}

std::size_t AllocatorFreeBytes() {
    return mallinfo2().fordblks;
}

bool TrimAllocatorIfWasteful(std::size_t thresholdBytes) {
    const std::size_t free = AllocatorFreeBytes();
    if (free <= thresholdBytes) return false;
    // Each arena is locked while its pages are given back: threads allocating from it wait that
    // long (about 5 ms for each MB given back on the build machine).
    const auto start = std::chrono::steady_clock::now();
    malloc_trim(0);
    if (TraceEnabled()) {
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        Trace("==>> allocator trim: %zu kB free, %.1f ms\n", free / 1024, took.count());
    }
    return true;
}

CAllocatorTrimmer::CAllocatorTrimmer(std::chrono::milliseconds period, std::size_t thresholdBytes)
    : m_period(period), m_nThreshold(thresholdBytes), m_thread([this] { Run(); }) {}

CAllocatorTrimmer::~CAllocatorTrimmer() {
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

int CAllocatorTrimmer::Trims() const {
    std::lock_guard lock(m_mutex);
    return m_nTrims;
}

void CAllocatorTrimmer::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, m_period, [this] { return m_bStop; })) {
        lock.unlock();
        const bool trimmed = TrimAllocatorIfWasteful(m_nThreshold);
        lock.lock();
        if (trimmed) ++m_nTrims;
    }
}
