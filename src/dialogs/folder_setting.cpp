#include "folder_setting.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "settings.h"

namespace {

size_t CharacterCount(const std::string& utf8) {
    size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

// The settings reader trims blanks around a value and drops one pair of matching quotes; a path
// that either would change is written in double quotes, which that reader takes off again.
bool NeedsQuotes(const std::string& path) {
    if (path.empty()) return false;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    if (blank(path.front()) || blank(path.back())) return true;
    return path.size() >= 2 && (path.front() == '"' || path.front() == '\'') && path.back() == path.front();
}

} // namespace

std::string StoredFolderText(const std::string& path) {
    if (path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return {};
    if (CharacterCount(path) > kFolderSettingMaxChars) return {};
    return NeedsQuotes(path) ? '"' + path + '"' : path;
}

std::string ReadFolderSetting() {
    std::string folder = GetAppSettings().ReadString("UI", "Folder", "", kFolderSettingMaxChars);
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return {};
    return folder;
}

int WriteFolderSetting(const std::string& path) {
    const std::string text = StoredFolderText(path);
    // A folder the file cannot hold exactly is not stored: the one stored before stays.
    if (text.empty() && !path.empty()) return 0;
    return GetAppSettings().WriteString("UI", "Folder", text);
}
