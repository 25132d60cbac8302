// The recording name grammar, the front/rear rule and the partner searches.
// Names begin with their start time: "%04d_%02d_%02d_%02d%02d%02d_%02d" (20 characters),
// followed by a tail (letters, the rear mark "_b", the extension).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// True when `name` follows the grammar. `locked` is set (never cleared) when
// folder/name is read-only (no write bit for anyone), whether or not the name is accepted.
bool ParseRecordingName(const std::filesystem::path& folder, const std::string& name, bool& locked);

// Rear recording: a lowercase "b" at or after the character just before the last ".",
// or "R.MOV", "R.MP4", "R.TS" anywhere. Works on a name or a full path.
bool IsRearRecording(const std::string& pathOrName);

// The same path with the start time in the file name moved by `seconds` (local wall clock,
// daylight saving decided by the C library). Empty when the name does not carry a time.
std::optional<std::filesystem::path> ShiftRecordingName(const std::filesystem::path& path, int64_t seconds);

// The rear file of a front file: "_b" before the extension and before the last character
// of the folder name, then the same shifted by +1, +2, -1, -2 seconds. Empty when none exists.
std::filesystem::path FindRearPartner(const std::filesystem::path& frontPath);

// The front file of a rear file: every "_b" removed from the name of the file and of the folder
// that holds it (never from the folders above), then shifted as above. Empty when none exists.
std::filesystem::path FindFrontPartner(const std::filesystem::path& rearPath);
