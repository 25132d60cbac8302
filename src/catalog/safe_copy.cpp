#include "safe_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "file_attributes.h"
#include "file_descriptor.h"

namespace {

// Tells the observer after each block; false when it asked to stop (errno ECANCELED).
bool BlockDone(const CopyBlockObserver& afterBlock, off_t done) {
    if (!afterBlock || afterBlock(static_cast<uint64_t>(done))) return true;
    errno = ECANCELED;
    return false;
}

bool CopyByReadWrite(int in, int out, off_t done, const CopyBlockObserver& afterBlock) {
    if (::lseek(in, done, SEEK_SET) < 0 || ::lseek(out, done, SEEK_SET) < 0) return false;
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!WriteAll(out, std::string_view(buffer.data(), static_cast<size_t>(n)))) return false;
        done += n;
        if (!BlockDone(afterBlock, done)) return false;
    }
}

// The kernel copies (and keeps holes on file systems that can); plain reads and writes
// where it cannot. With an observer the kernel copies block by block, so a cancel is heard.
bool CopyContent(int in, int out, const CopyBlockObserver& afterBlock) {
    off_t done = 0;
    const size_t step = afterBlock ? kCopyBlockBytes : size_t{1} << 30;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, step, 0);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
                return CopyByReadWrite(in, out, done, afterBlock);
            return false;
        }
        done += n;
        if (!BlockDone(afterBlock, done)) return false;
    }
}

bool SameFile(const struct stat& a, const std::filesystem::path& other) {
    struct stat st {};
    return ::stat(other.c_str(), &st) == 0 && st.st_dev == a.st_dev && st.st_ino == a.st_ino;
}

bool WriteTemporary(int in, const struct stat& sourceStat, int out, const CopyBlockObserver& afterBlock) {
    if (!CopyContent(in, out, afterBlock)) return false;
    const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    ::futimens(out, times); // a copy without the original time is still a good copy
    return ::fchmod(out, sourceStat.st_mode & 07777) == 0 && ::fsync(out) == 0;
}

} // namespace

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat st {};
    return ::stat(a.c_str(), &st) == 0 && SameFile(st, b);
}

bool CopyFileViaTemporary(const std::filesystem::path& source, const std::filesystem::path& target,
                          int* error, const CopyBlockObserver& afterBlock) {
    const auto fail = [error](int code) {
        if (error) *error = code != 0 ? code : EIO;
        return false;
    };
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceStat {};
    if (in.get() < 0 || ::fstat(in.get(), &sourceStat) != 0) return fail(errno);
    if (!S_ISREG(sourceStat.st_mode) || SameFile(sourceStat, target)) return fail(EINVAL);
    if (IsReadOnlyFile(target)) return fail(EACCES);
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::string pattern = (folder / ("." + target.filename().native() + ".partial-XXXXXX")).native();
    FileDescriptor out(::mkostemp(pattern.data(), O_CLOEXEC));
    if (out.get() < 0) return fail(errno);
    errno = 0;
    const bool written = WriteTemporary(in.get(), sourceStat, out.get(), afterBlock);
    int code = written ? 0 : errno;
    if (!out.Close() && code == 0) code = errno;
    if (written && code == 0 && ::rename(pattern.c_str(), target.c_str()) == 0) return true;
    if (code == 0) code = errno;
    ::unlink(pattern.c_str());
    return fail(code);
}
