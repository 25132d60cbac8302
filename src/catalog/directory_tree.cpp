#include "directory_tree.h"

#include <sys/stat.h>

bool CreateDirectoryTree(const std::filesystem::path& path) {
    std::string text = path.native();
    if (text.empty()) return false;
    if (text.back() != '/') text += '/';
    for (size_t slash = text.find('/', 1); slash != std::string::npos; slash = text.find('/', slash + 1))
        ::mkdir(text.substr(0, slash).c_str(), 0777); // an existing folder fails harmlessly
    struct stat st {};
    return ::stat(text.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
