// In-memory side of the INI store: finding a value in the text of an INI file and editing that
// text so that only the line of the edited key changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The trimmed value of `key` in the first section named `section` (both case-insensitive), without
// one pair of matching double or single quotes around it, or nothing when the section or the key
// is missing. Lines without "=" are not keys.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// `text` with `key` of `section` set to `value`: the value is replaced in place when the key
// exists, the key is appended at the end of the first such section otherwise, and the section is
// appended at the end of the text when missing. Every other byte is kept; new lines use the line
// end of the text. Nothing when a name or the value cannot be stored on one line.
std::optional<std::string> SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                                       std::string_view value);

// Leading-number reading of an integer value: optional sign and decimal digits, the rest
// ignored; "abc" is 0 and values beyond the int range saturate.
int ParseLeadingInt(std::string_view value);
