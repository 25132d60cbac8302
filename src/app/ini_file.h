// A small INI store with the semantics of the Windows private-profile functions:
// case-insensitive sections and keys, values edited in place, every other line kept,
// file and section created on the first write, integers read with leading-number semantics.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The value of `key` in `section`, or `defaultValue` when the file, section or key is missing
// or unreadable. At most `maxChars` characters are returned.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::filesystem::path& path,
                                    size_t maxChars = 1023);

// Leading-number semantics: "12abc" is 12, "abc" is 0, missing gives `defaultValue`.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::filesystem::path& path);

// Non-zero on success, 0 when the file could not be written.
int WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                              const std::filesystem::path& path);
