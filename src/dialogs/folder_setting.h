// The last source folder, kept under "UI"/"Folder" in the settings file.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kFolderSettingMaxChars = 1023;

// The folder is kept as the file system's bytes, as they are: a name that is not UTF-8 stays the
// same bytes in the settings file, so it reads back as the same folder.

// The text to store for a chosen folder: the path itself, in double quotes when it begins or ends
// with a blank or is itself in quotes (the reader would take those off), or empty when it cannot be
// kept whole: longer than 1023 characters (a cut path would name another folder) or holding a line
// break or a NUL (the settings file's lines could not hold it).
std::string StoredFolderText(const std::string& path);

// The stored folder, empty when it no longer names an existing folder.
std::string ReadFolderSetting();
// Stores StoredFolderText(path); non-zero on success. A path that cannot be kept whole is not
// written at all (0 is returned) and the folder stored before stays; an empty path is stored empty.
int WriteFolderSetting(const std::string& path);
