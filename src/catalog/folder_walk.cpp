#include "folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// One open folder of the walk: its search state and its path below the root.
struct SearchState {
    DirHandle dir;
    std::string relative;
};

using FolderId = std::pair<dev_t, ino_t>;

enum class EntryKind { Folder, File, Other };

EntryKind KindOf(int parentFd, const dirent& entry) {
    if (entry.d_type == DT_DIR) return EntryKind::Folder;
    if (entry.d_type == DT_REG) return EntryKind::File;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return EntryKind::Other;
    struct stat st {};
    if (::fstatat(parentFd, entry.d_name, &st, 0) != 0)
        return EntryKind::Other; // dangling link or vanished entry
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
}

// Opens a folder (following links) unless it was entered before; null otherwise.
DirHandle OpenFolderOnce(int fd, std::set<FolderId>& visited) {
    struct stat st {};
    if (fd < 0) return nullptr;
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || !visited.insert({st.st_dev, st.st_ino}).second) {
        ::close(fd);
        return nullptr;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) ::close(fd);
    return DirHandle(dir);
}

} // namespace

bool FindFilesRecursive(const std::filesystem::path& root, const FolderWalkCallback& callback) {
    struct stat rootStat {};
    if (root.empty() || ::stat(root.c_str(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode)) return false;
    std::string rootText = root.native();
    if (rootText.back() != '/') rootText += '/';

    std::set<FolderId> visited;
    std::vector<SearchState> stack;
    DirHandle rootDir = OpenFolderOnce(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), visited);
    if (!rootDir) return true; // exists but cannot be read: nothing to list
    stack.push_back({std::move(rootDir), std::string()});

    while (!stack.empty()) {
        DIR* dir = stack.back().dir.get();
        const dirent* entry = ::readdir(dir);
        if (!entry) { // end of this folder, or it vanished: resume the parent's search
            stack.pop_back();
            continue;
        }
        if (entry->d_name[0] == '.') continue;
        const std::string name = entry->d_name;
        const std::string relative = stack.back().relative;
        switch (KindOf(::dirfd(dir), *entry)) {
        case EntryKind::File:
            callback(rootText, relative, name, false);
            break;
        case EntryKind::Folder: {
            callback(rootText, relative, name, true);
            if (stack.size() > kMaxFolderDepth) break;
            const int fd = ::openat(::dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (DirHandle child = OpenFolderOnce(fd, visited))
                stack.push_back({std::move(child), relative + name + "/"});
            break;
        }
        case EntryKind::Other:
            break;
        }
    }
    return true;
}
