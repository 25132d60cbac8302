// File side of the INI store: bounded reading and replacing the file through a temporary file in
// the same folder, so that a failed or interrupted write never leaves a damaged settings file.
#include "ini_file.h"

#include "file_descriptor.h"
#include "ini_text.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A settings file is a few hundred bytes; anything beyond this is not ours to parse or rewrite.
constexpr off_t kMaxIniBytes = 4 * 1024 * 1024;

enum class LoadStatus { Missing, Loaded, Failed };

struct LoadedFile {
    LoadStatus status = LoadStatus::Failed;
    std::string text;
    struct stat info {};
};

bool ReadAll(int fd, off_t limit, std::string& out) {
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (static_cast<off_t>(out.size()) + n > limit) return false;
        out.append(buffer, static_cast<size_t>(n));
    }
}

// Non-blocking open so that a FIFO in the file's place cannot hang the program.
LoadedFile LoadIniFile(const fs::path& path) {
    LoadedFile file;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        file.status = (errno == ENOENT || errno == ENOTDIR) ? LoadStatus::Missing : LoadStatus::Failed;
        return file;
    }
    if (::fstat(fd.get(), &file.info) != 0 || !S_ISREG(file.info.st_mode) || file.info.st_size > kMaxIniBytes)
        return file;
    file.text.reserve(static_cast<size_t>(file.info.st_size));
    if (!ReadAll(fd.get(), kMaxIniBytes, file.text)) {
        file.text.clear();
        return file;
    }
    file.status = LoadStatus::Loaded;
    return file;
}

std::optional<std::string> ReadValue(std::string_view section, std::string_view key, const fs::path& path) {
    LoadedFile file = LoadIniFile(path);
    if (file.status != LoadStatus::Loaded) return std::nullopt;
    return FindIniValue(file.text, section, key);
}

// At most `maxChars` characters, never cutting a UTF-8 sequence apart.
std::string Truncate(std::string s, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        bool leadByte = (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;
        if (leadByte && ++chars > maxChars) {
            s.resize(i);
            break;
        }
    }
    return s;
}

// The read-only attribute of a file is the absence of every write bit.
bool IsWritable(const LoadedFile& file, const fs::path& path) {
    if ((file.info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

fs::path TempPathFor(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                       std::to_string(counter.fetch_add(1));
    return target.parent_path() / name;
}

// Creates a new temporary file next to `target`; -1 when the folder refuses it.
int CreateTemp(const fs::path& target, mode_t mode, fs::path& tempPath) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = TempPathFor(target);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncFolder(const fs::path& folder) {
    FileDescriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

// Writes `text` to a temporary file and renames it over `target`; an existing file's
// permissions and owner carry over to the new one.
bool ReplaceFile(const fs::path& target, std::string_view text, const struct stat* existing) {
    mode_t mode = existing ? (existing->st_mode & 07777) : 0666;
    fs::path tempPath;
    FileDescriptor fd(CreateTemp(target, mode, tempPath));
    if (fd.get() < 0) return false;
    bool ok = true;
    if (existing) {
        ok = ::fchmod(fd.get(), mode) == 0;
        // Only a privileged process may hand a file to another owner; failing that is harmless.
        if (ok && ::fchown(fd.get(), existing->st_uid, existing->st_gid) != 0) errno = 0;
    }
    ok = ok && WriteAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    SyncFolder(target.parent_path());
    return true;
}

// A symbolic link named as the settings file stays a link: the file it points to is replaced.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

} // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const fs::path& path, size_t maxChars) {
    std::optional<std::string> value = ReadValue(section, key, path);
    return Truncate(value ? std::move(*value) : std::string(defaultValue), maxChars);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const fs::path& path) {
    std::optional<std::string> value = ReadValue(section, key, path);
    if (!value || value->empty()) return defaultValue;
    return ParseLeadingInt(*value);
}

int WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                              const fs::path& path) {
    fs::path target = ResolveTarget(path);
    LoadedFile file = LoadIniFile(target);
    if (file.status == LoadStatus::Failed) return 0;
    bool exists = file.status == LoadStatus::Loaded;
    if (exists && !IsWritable(file, target)) return 0;
    std::optional<std::string> edited = SetIniValue(file.text, section, key, value);
    if (!edited) return 0;
    if (exists && *edited == file.text) return 1;
    return ReplaceFile(target, *edited, exists ? &file.info : nullptr) ? 1 : 0;
}
