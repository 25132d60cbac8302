// The read-only attribute on Linux: a file is read-only (locked) when nobody has the
// write bit. Locking clears every write bit; unlocking gives the owner write back.
// Only the mode bits count: root may write to such files anyway, the lock is a mark
// that the camera and this viewer agree on, not an access control.
#pragma once

#include <filesystem>

// False when the file cannot be examined.
bool IsReadOnlyFile(const std::filesystem::path& path);

// Clears the write bits for owner, group and others. True on success.
bool MakeFileReadOnly(const std::filesystem::path& path);

// Gives the owner the write bit back. True on success.
bool ClearFileReadOnly(const std::filesystem::path& path);
