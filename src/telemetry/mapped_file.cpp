#include "mapped_file.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool CReadOnlyMapping::Open(const std::filesystem::path& path) {
    Close();
    // Non-blocking: a FIFO or device named like a recording must not stall the caller on open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
        ::close(fd);
        return false;
    }
    void* view = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    // The mapping keeps its own reference to the file.
    ::close(fd);
    if (view == MAP_FAILED) return false;
    m_pData = static_cast<const uint8_t*>(view);
    m_ullSize = static_cast<uint64_t>(st.st_size);
    return true;
}

void CReadOnlyMapping::Close() {
    if (m_pData) ::munmap(const_cast<uint8_t*>(m_pData), static_cast<size_t>(m_ullSize));
    m_pData = nullptr;
    m_ullSize = 0;
}

bool CReadOnlyMapping::Read(uint64_t offset, void* out, size_t count) const {
    if (offset > m_ullSize || count > m_ullSize - offset) return false;
    std::memcpy(out, m_pData + offset, count);
    return true;
}

void CReadOnlyMapping::Advise(Access access, uint64_t offset, uint64_t length) const {
    if (!m_pData || offset >= m_ullSize) return;
    const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    const uint64_t begin = offset / page * page;
    const uint64_t end = length > m_ullSize - offset ? m_ullSize : offset + length;
    const int advice = access == Access::kRandom       ? MADV_RANDOM
                       : access == Access::kSequential ? MADV_SEQUENTIAL
                                                       : MADV_WILLNEED;
    // Only a hint: a refusal changes nothing but speed.
    ::madvise(const_cast<uint8_t*>(m_pData) + begin, static_cast<size_t>(end - begin), advice);
}
