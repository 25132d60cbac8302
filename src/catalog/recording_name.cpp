#include "recording_name.h"

#include <cctype>
#include <cstdio>

#include "file_attributes.h"
#include "local_time.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kTimePartLength = 20; // "YYYY_MM_DD_hhmmss_NN"

bool IsLeadCharacter(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '-';
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// The candidate itself, then shifted by +1, +2, -1, -2 seconds: the two cameras may
// start their files up to two seconds apart.
fs::path FirstExisting(const fs::path& candidate) {
    if (Exists(candidate)) return candidate;
    for (int64_t shift : {1, 2, -1, -2}) {
        const auto shifted = ShiftRecordingName(candidate, shift);
        if (shifted && Exists(*shifted)) return *shifted;
    }
    return {};
}

} // namespace

bool ParseRecordingName(const fs::path& folder, const std::string& name, bool& locked) {
    bool acceptable = true;
    for (size_t i = 0; i < name.size() && i < 4; ++i)
        if (!IsLeadCharacter(name[i])) acceptable = false;
    int year, month, day, hour, minute, second;
    if (std::sscanf(name.c_str(), "%4d_%2d_%2d_%2d%2d%2d", &year, &month, &day, &hour, &minute, &second) != 6)
        acceptable = false;
    if (IsReadOnlyFile(folder / name)) locked = true;
    return acceptable;
}

bool IsRearRecording(const std::string& pathOrName) {
    const size_t lastDot = pathOrName.rfind('.');
    if (lastDot != std::string::npos && lastDot >= 2 &&
        pathOrName.find('b', lastDot - 1) != std::string::npos)
        return true;
    for (const char* mark : {"R.MOV", "R.MP4", "R.TS"})
        if (pathOrName.find(mark) != std::string::npos) return true;
    return false;
}

std::optional<fs::path> ShiftRecordingName(const fs::path& path, int64_t seconds) {
    const std::string& text = path.native();
    const size_t slash = text.rfind('/');
    if (slash == std::string::npos || slash < 2) return std::nullopt;
    const std::string folder = text.substr(0, slash);
    const std::string name = text.substr(slash + 1);
    int year, month, day, hour, minute, second, number;
    if (std::sscanf(name.c_str(), "%04d_%02d_%02d_%02d%02d%02d_%02d", &year, &month, &day, &hour, &minute,
                    &second, &number) != 7)
        return std::nullopt;
    const auto start = TryLocalWallClockToTime(year, month, day, hour, minute, second);
    if (!start) return std::nullopt; // outside what the C library can represent
    const LocalDateTime moved = TimeToLocalWallClock(*start + seconds);
    char timePart[96];
    std::snprintf(timePart, sizeof timePart, "/%04d_%02d_%02d_%02d%02d%02d_%02d", moved.year, moved.month,
                  moved.day, moved.hour, moved.minute, moved.second, number);
    const std::string tail = name.size() > kTimePartLength ? name.substr(kTimePartLength) : std::string();
    return fs::path(folder + timePart + tail);
}

fs::path FindRearPartner(const fs::path& frontPath) {
    std::string candidate = frontPath.native();
    const size_t slash = candidate.rfind('/');
    const size_t dot = candidate.rfind('.');
    // The rear mark goes into the file name and into the folder name; without an
    // extension or without a folder name there is no place for it.
    if (slash == std::string::npos || slash < 1 || candidate[slash - 1] == '/' || dot == std::string::npos ||
        dot < slash)
        return {};
    candidate.insert(dot, "_b");
    candidate.insert(slash - 1, "_b");
    return FirstExisting(candidate);
}

fs::path FindFrontPartner(const fs::path& rearPath) {
    const std::string& path = rearPath.native();
    // The rear mark is in the recording's own folder name and file name; the folders above them
    // are named by the user (car_backup/) and stay as they are.
    const size_t slash = path.rfind('/');
    const size_t ownFolder = slash == std::string::npos || slash == 0 ? 0 : path.rfind('/', slash - 1) + 1;
    std::string own = path.substr(ownFolder);
    for (size_t at = own.find("_b"); at != std::string::npos; at = own.find("_b", at))
        own.erase(at, 2);
    return FirstExisting(path.substr(0, ownFolder) + own);
}
