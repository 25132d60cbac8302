#include "clip_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "file_descriptor.h"

namespace fs = std::filesystem;

namespace {
std::string ErrnoText(int error) {
    return std::strerror(error);
}

bool SyncPath(const fs::path& path, int flags) {
    FileDescriptor fd(::open(path.c_str(), flags | O_CLOEXEC));
    return fd.get() >= 0 && ::fsync(fd.get()) == 0;
}

// rename without replacing: the kernel's atomic no-replace where the file system has it, else a
// hard link (which fails on an existing name) and the removal of the old name.
int RenameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}
} // namespace

WorkFolder::~WorkFolder() {
    if (m_path.empty()) return;
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

bool WorkFolder::Create(std::string& error) {
    std::error_code code;
    std::string pattern = (fs::temp_directory_path(code) / "veltrix-clip-XXXXXX").string();
    if (code) pattern = "/tmp/veltrix-clip-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        error = "cannot make a temporary folder: " + ErrnoText(errno);
        return false;
    }
    m_path = pattern;
    return true;
}

PartialOutput::~PartialOutput() {
    if (!m_path.empty()) ::unlink(m_path.c_str());
}

bool PartialOutput::Create(const fs::path& target, std::string& error) {
    std::random_device entropy;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) +
                                             "-" + std::to_string(entropy() % 1000000) + ".part");
        FileDescriptor fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() >= 0) {
            m_path = candidate;
            m_target = target;
            return true;
        }
        if (errno != EEXIST) {
            error = folder.string() + ": cannot write there: " + ErrnoText(errno);
            return false;
        }
    }
    error = folder.string() + ": no free temporary name";
    return false;
}

bool PartialOutput::Commit(bool replace, std::string& error) {
    if (!SyncPath(m_path, O_RDONLY)) {
        error = m_path.string() + ": cannot be flushed to the disk: " + ErrnoText(errno);
        return false;
    }
    const int result = replace ? (::rename(m_path.c_str(), m_target.c_str()) == 0 ? 0 : errno)
                               : RenameNoReplace(m_path, m_target);
    if (result == EEXIST) {
        error = m_target.string() + " exists: not overwritten";
        return false;
    }
    if (result != 0) {
        error = m_target.string() + ": cannot be written: " + ErrnoText(result);
        return false;
    }
    m_path.clear();
    const fs::path folder = m_target.parent_path().empty() ? fs::path(".") : m_target.parent_path();
    SyncPath(folder, O_RDONLY | O_DIRECTORY);
    return true;
}

bool WriteTextFile(const fs::path& path, const std::string& text, std::string& error) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (fd.get() < 0 || !WriteAll(fd.get(), text) || !fd.Close()) {
        error = path.string() + ": cannot be written: " + ErrnoText(errno);
        return false;
    }
    return true;
}
