#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

#include "allocator_trim.h"

namespace {

// Resident size of this process in bytes, from /proc/self/statm.
long ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

constexpr std::size_t kBlock = 4096;
constexpr std::size_t kBlocks = 16384; // 64 MB
constexpr std::size_t kMB = 1024 * 1024;

// Fills the heap with written blocks and frees 15 of every 16, so the freed memory lies in holes
// between blocks still in use and the allocator cannot give it back by shrinking its top.
class FragmentedHeap {
  public:
    FragmentedHeap() {
        m_blocks.reserve(kBlocks);
        for (std::size_t i = 0; i < kBlocks; ++i) {
            char* block = static_cast<char*>(std::malloc(kBlock));
            std::memset(block, 0x5a, kBlock);
            m_blocks.push_back(block);
        }
        for (std::size_t i = 0; i < kBlocks; ++i) {
            if (i % 16 != 15) {
                std::free(m_blocks[i]);
                m_blocks[i] = nullptr;
            }
        }
    }
    ~FragmentedHeap() {
        for (char* block : m_blocks) std::free(block);
    }
    // The blocks kept are intact.
    bool KeptIntact() const {
        for (char* block : m_blocks)
            if (block && (block[0] != 0x5a || block[kBlock - 1] != 0x5a)) return false;
        return true;
    }

  private:
    std::vector<char*> m_blocks;
};

} // namespace

TEST(AllocatorTrim, GivesFreedHolesBackOnlyAboveTheThreshold) {
    FragmentedHeap heap;
    const std::size_t freeBytes = AllocatorFreeBytes();
    EXPECT_GE(freeBytes, 56 * kMB);

    // Below the threshold nothing happens.
    const long before = ResidentBytes();
    EXPECT_FALSE(TrimAllocatorIfWasteful(std::numeric_limits<std::size_t>::max() / 2));
    EXPECT_GT(ResidentBytes(), before - static_cast<long>(8 * kMB));

    ASSERT_TRUE(TrimAllocatorIfWasteful(8 * kMB));
    const long after = ResidentBytes();
    EXPECT_LT(after, before - static_cast<long>(40 * kMB)) << "resident before " << before << ", after " << after;
    EXPECT_TRUE(heap.KeptIntact());
}

TEST(AllocatorTrim, TrimmerTrimsOnItsThreadAndStopsAtOnce) {
    {
        FragmentedHeap heap;
        const long before = ResidentBytes();
        CAllocatorTrimmer trimmer(std::chrono::milliseconds(10), 8 * kMB);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (trimmer.Trims() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_GE(trimmer.Trims(), 1);
        EXPECT_LT(ResidentBytes(), before - static_cast<long>(40 * kMB));
        EXPECT_TRUE(heap.KeptIntact());
    }
    // A trimmer waiting out a long period is stopped without waiting for it.
    const auto start = std::chrono::steady_clock::now();
    {
        CAllocatorTrimmer idle(std::chrono::hours(1), 8 * kMB);
        EXPECT_EQ(idle.Trims(), 0);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
