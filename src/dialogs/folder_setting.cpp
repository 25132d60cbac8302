#include "folder_setting.h"

#include <filesystem>
#include <system_error>

#include "settings.h"

namespace {

size_t CharacterCount(const std::string& utf8) {
    size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

} // namespace

std::string StoredFolderText(const std::string& path) {
    if (path.find_first_of("\r\n") != std::string::npos) return {};
    if (CharacterCount(path) > kFolderSettingMaxChars) return {};
    return path;
}

std::string ReadFolderSetting() {
    std::string folder = GetAppSettings().ReadString("UI", "Folder", "", kFolderSettingMaxChars);
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return {};
    return folder;
}

int WriteFolderSetting(const std::string& path) {
    return GetAppSettings().WriteString("UI", "Folder", StoredFolderText(path));
}
