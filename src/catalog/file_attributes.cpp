#include "file_attributes.h"

#include <sys/stat.h>

namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

bool ReadMode(const std::filesystem::path& path, mode_t& mode) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    mode = st.st_mode & 07777;
    return true;
}

} // namespace

bool IsReadOnlyFile(const std::filesystem::path& path) {
    mode_t mode = 0;
    return ReadMode(path, mode) && (mode & kAnyWrite) == 0;
}

bool MakeFileReadOnly(const std::filesystem::path& path) {
    mode_t mode = 0;
    return ReadMode(path, mode) && ::chmod(path.c_str(), mode & ~kAnyWrite) == 0;
}

bool ClearFileReadOnly(const std::filesystem::path& path) {
    mode_t mode = 0;
    return ReadMode(path, mode) && ::chmod(path.c_str(), mode | S_IWUSR) == 0;
}
