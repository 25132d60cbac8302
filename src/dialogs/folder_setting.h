// The last source folder, kept under "UI"/"Folder" in the settings file.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kFolderSettingMaxChars = 1023;

// The text to store for a chosen folder: the path itself, or empty when it cannot be kept whole:
// longer than 1023 characters (a cut path would name another folder) or holding a line break
// (it would break the settings file's line structure).
std::string StoredFolderText(const std::string& path);

// The stored folder, empty when it no longer names an existing folder.
std::string ReadFolderSetting();
// Stores StoredFolderText(path); non-zero on success.
int WriteFolderSetting(const std::string& path);
