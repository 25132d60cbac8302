// Copying a recording so that the target name never holds a half-written file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

// Copies `source` into a hidden temporary file in the target's folder, gives it the
// source's permission bits and modification time, flushes it and renames it to `target`,
// replacing an existing file. The source is only read. Refuses (false) when source and
// target are the same file, when the target is read-only (a locked recording is not
// overwritten) or when the source is not a regular file. On failure the temporary file
// is removed and an existing target is left as it was, and `error` (when given) receives the
// errno of the step that failed (EINVAL for the refused source or same file, EACCES for the
// read-only target).
//
// `afterBlock` (when given) is called after every block of at most kCopyBlockBytes with the bytes
// of this file copied so far; when it returns false the copy stops there: the temporary file is
// removed, an existing target is left as it was, and `error` receives ECANCELED.
using CopyBlockObserver = std::function<bool(uint64_t bytesCopied)>;
constexpr uint64_t kCopyBlockBytes = 4u << 20;
bool CopyFileViaTemporary(const std::filesystem::path& source, const std::filesystem::path& target,
                          int* error = nullptr, const CopyBlockObserver& afterBlock = {});

// True when both paths name the same existing file.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);
