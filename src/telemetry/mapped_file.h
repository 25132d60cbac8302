// A whole file mapped read-only into memory. The readers of the AVI and transport stream
// containers walk the mapping instead of issuing one read per chunk or packet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

class CReadOnlyMapping {
  public:
    CReadOnlyMapping() = default;
    ~CReadOnlyMapping() { Close(); }
    CReadOnlyMapping(const CReadOnlyMapping&) = delete;
    CReadOnlyMapping& operator=(const CReadOnlyMapping&) = delete;

    // Maps the whole file; false (nothing held) when it cannot be opened or mapped, or is empty.
    bool Open(const std::filesystem::path& path);
    void Close();

    const uint8_t* Data() const { return m_pData; }
    uint64_t Size() const { return m_ullSize; }

    // Access hints for the kernel's read-ahead: kRandom reads only the pages touched, kWillNeed
    // fetches [offset, offset + length) ahead of use, kSequential reads far ahead.
    enum class Access { kRandom, kSequential, kWillNeed };
    void Advise(Access access, uint64_t offset = 0, uint64_t length = UINT64_MAX) const;

    // Copies `count` bytes at `offset` into `out`; false when they do not all lie inside the file.
    bool Read(uint64_t offset, void* out, size_t count) const;
    // Bytes from `offset` to the end of the file (0 past the end).
    uint64_t Remaining(uint64_t offset) const { return offset < m_ullSize ? m_ullSize - offset : 0; }

  private:
    const uint8_t* m_pData = nullptr;
    uint64_t m_ullSize = 0;
};
