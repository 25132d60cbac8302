#include "bounded_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kWindowSize = 4096;
}

BoundedFile::~BoundedFile() {
    Close();
}

bool BoundedFile::Open(const std::filesystem::path& path) {
    Close();
    // Non-blocking, so that a FIFO or device that merely carries a recording's name cannot hang the
    // reader; anything but a regular file is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_ullSize = static_cast<uint64_t>(st.st_size);
    m_windowLen = 0;
    return true;
}

void BoundedFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_ullSize = 0;
    m_windowLen = 0;
}

bool BoundedFile::FillWindow(uint64_t pos) {
    m_window.resize(kWindowSize);
    size_t filled = 0;
    while (filled < kWindowSize && pos + filled < m_ullSize) {
        const ssize_t n =
            ::pread(m_fd, m_window.data() + filled, kWindowSize - filled, static_cast<off_t>(pos + filled));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        filled += static_cast<size_t>(n);
    }
    m_ullWindowPos = pos;
    m_windowLen = filled;
    return filled > 0;
}

void BoundedFile::ReadAt(uint64_t pos, void* out, size_t count) {
    if (m_fd < 0 || !Holds(pos, count)) throw FileReadError("read beyond the end of the file");
    auto* dst = static_cast<uint8_t*>(out);
    while (count > 0) {
        const bool inWindow = pos >= m_ullWindowPos && pos < m_ullWindowPos + m_windowLen;
        if (!inWindow && !FillWindow(pos)) throw FileReadError("device error while reading");
        const size_t offset = static_cast<size_t>(pos - m_ullWindowPos);
        const size_t take = std::min(count, m_windowLen - offset);
        std::memcpy(dst, m_window.data() + offset, take);
        dst += take;
        pos += take;
        count -= take;
    }
}

bool BoundedFile::TryReadAt(uint64_t pos, void* out, size_t count) {
    if (m_fd < 0 || !Holds(pos, count)) return false;
    ReadAt(pos, out, count);
    return true;
}

void BoundedFile::ReadBlockAt(uint64_t pos, void* out, size_t count) {
    if (m_fd < 0 || !Holds(pos, count)) throw FileReadError("read beyond the end of the file");
    auto* dst = static_cast<uint8_t*>(out);
    while (count > 0) {
        const ssize_t n = ::pread(m_fd, dst, count, static_cast<off_t>(pos));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw FileReadError("device error while reading");
        dst += n;
        pos += static_cast<uint64_t>(n);
        count -= static_cast<size_t>(n);
    }
}

uint8_t BoundedFile::ReadByte(uint64_t pos) {
    uint8_t b = 0;
    ReadAt(pos, &b, 1);
    return b;
}

uint32_t BoundedFile::ReadBE32(uint64_t pos) {
    uint8_t b[4];
    ReadAt(pos, b, 4);
    return LoadBE32(b);
}

uint64_t BoundedFile::ReadBE64(uint64_t pos) {
    uint8_t b[8];
    ReadAt(pos, b, 8);
    return LoadBE64(b);
}
