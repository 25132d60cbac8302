// Keeps the C library's allocator from holding on to memory the program has freed.
//
// libVLC's decoder and output threads allocate and free frame-sized blocks on every opening;
// glibc keeps what they free in its arenas for reuse, and the holes left between blocks still in
// use are never given back on their own, so the viewer's resident size rose with each recording
// played although nothing was leaked. The trimmer hands the free pages back now and then.
//
// Threading: the functions may be called from any thread. CAllocatorTrimmer runs its own thread;
// construct and destroy it on one thread (the destructor stops and joins it).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

// Sets the allocator's rules for the whole process; call at the start of main, before any thread.
// At most two arenas (one per thread by default kept the freed frames of every decoder thread),
// and blocks from 256 kB on mapped on their own, so a freed frame goes back to the system at once
// rather than raising the threshold and being carved out of an arena.
void SetAllocatorRules();

// Bytes the allocator holds free in its arenas (not counting blocks mapped on their own).
std::size_t AllocatorFreeBytes();

// When more than `thresholdBytes` are held free, gives every whole free page back to the system
// (malloc_trim). Returns whether it trimmed.
bool TrimAllocatorIfWasteful(std::size_t thresholdBytes);

// Calls TrimAllocatorIfWasteful every `period` on a thread of its own.
class CAllocatorTrimmer {
  public:
    CAllocatorTrimmer(std::chrono::milliseconds period, std::size_t thresholdBytes);
    ~CAllocatorTrimmer();
    CAllocatorTrimmer(const CAllocatorTrimmer&) = delete;
    CAllocatorTrimmer& operator=(const CAllocatorTrimmer&) = delete;

    // How many times it has trimmed so far.
    int Trims() const;

  private:
    void Run();

    const std::chrono::milliseconds m_period;
    const std::size_t m_nThreshold;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStop = false;
    int m_nTrims = 0;
    std::thread m_thread;
};
