// Making every missing folder of a path.
#pragma once

#include <filesystem>

// Creates each folder of `path` from the top down. True when `path` is a folder afterwards
// (an already existing folder is success).
bool CreateDirectoryTree(const std::filesystem::path& path);
