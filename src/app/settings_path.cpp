#include "settings_path.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kIniFileName = "Veltrix.ini";

// A symbolic link (even a dangling one) named Veltrix.ini is the user's choice too.
bool NameExists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

bool IsAbsolute(const char* value) {
    return value && value[0] == '/';
}

// The account's home folder, for a process started without HOME.
std::string HomeOfAccount() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    return found->pw_dir;
}

} // namespace

fs::path ChooseIniPath(const fs::path& workingDir, const char* xdgConfigHome, const char* home) {
    if (!workingDir.empty() && NameExists(workingDir / kIniFileName)) return workingDir / kIniFileName;
    if (IsAbsolute(xdgConfigHome)) return fs::path(xdgConfigHome) / "veltrix" / kIniFileName;
    if (IsAbsolute(home)) return fs::path(home) / ".config" / "veltrix" / kIniFileName;
    return {};
}

fs::path IniPathOfProcess() {
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec) cwd.clear();
    const char* home = std::getenv("HOME");
    std::string accountHome;
    if (!home || !*home) {
        accountHome = HomeOfAccount();
        home = accountHome.c_str();
    }
    return ChooseIniPath(cwd, std::getenv("XDG_CONFIG_HOME"), home);
}

bool MakeParentFolders(const fs::path& file) {
    const fs::path folder = file.parent_path();
    if (folder.empty()) return true;
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
