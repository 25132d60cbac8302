// Read-only file access where every read is checked against the file size. A read that
// cannot be satisfied whole (past the end, device error) raises FileReadError, which the
// readers catch at their own boundary; nothing escapes Parse or the track procedures.
// Reads go through pread, never through a mapping: a file that shrinks or a card that is pulled
// while it is read gives a short read (FileReadError), not a fatal SIGBUS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

class FileReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class BoundedFile {
  public:
    BoundedFile() = default;
    ~BoundedFile();
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    bool Open(const std::filesystem::path& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    uint64_t Size() const { return m_ullSize; }

    // True when [pos, pos + count) lies inside the file.
    bool Holds(uint64_t pos, uint64_t count) const { return pos <= m_ullSize && count <= m_ullSize - pos; }

    // Bytes from `pos` to the end of the file (0 past the end).
    uint64_t Remaining(uint64_t pos) const { return pos < m_ullSize ? m_ullSize - pos : 0; }

    // Reads exactly `count` bytes at `pos` or throws FileReadError.
    void ReadAt(uint64_t pos, void* out, size_t count);
    // False when [pos, pos + count) is not inside the file; otherwise reads it whole. A file that
    // holds less than it did at Open (shrunk, card pulled) still throws FileReadError.
    bool TryReadAt(uint64_t pos, void* out, size_t count);
    // ReadAt for large blocks: straight into `out`, past the small read-ahead window.
    void ReadBlockAt(uint64_t pos, void* out, size_t count);
    uint8_t ReadByte(uint64_t pos);
    uint32_t ReadBE32(uint64_t pos);
    uint64_t ReadBE64(uint64_t pos);

  private:
    bool FillWindow(uint64_t pos);

    int m_fd = -1;
    uint64_t m_ullSize = 0;
    // Small read-ahead window: box walks read many tiny headers close to each other.
    std::vector<uint8_t> m_window;
    uint64_t m_ullWindowPos = 0;
    size_t m_windowLen = 0;
};

// Big-endian and little-endian helpers over byte buffers.
inline uint16_t LoadBE16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t LoadBE32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline uint64_t LoadBE64(const uint8_t* p) {
    return (uint64_t{LoadBE32(p)} << 32) | LoadBE32(p + 4);
}
inline uint16_t LoadLE16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t LoadLE32(const uint8_t* p) {
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
