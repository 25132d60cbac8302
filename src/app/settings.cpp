#include "settings.h"

#include "ini_file.h"
#include "language.h"
#include "settings_test_support.h"

#include <cstdio>

namespace {

constexpr const char* kIniFileName = "Veltrix.ini";
constexpr size_t kLangCodeMaxChars = 63;

CAppSettings* g_pAppSettings = nullptr;

// The working directory, not the program's folder, decides where the settings file lies.
std::filesystem::path IniPathInWorkingDirectory() {
    std::error_code ec;
    std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(kIniFileName) : cwd / kIniFileName;
}

CAppSettings* CreateAppSettings() {
    auto* settings = new CAppSettings;
    settings->m_nLangIndex = FindLanguage("JPN");
    settings->m_wLangId = LanguageIdOfRow(settings->m_nLangIndex);
    settings->m_strIniPath = IniPathInWorkingDirectory();
    std::string code = settings->ReadString("UI", "LANGID", "ENG", kLangCodeMaxChars);
    int row = FindLanguage(code);
    if (row >= 0) settings->m_nLangIndex = row;
    settings->m_wLangId = LanguageIdOfRow(settings->m_nLangIndex);
    settings->m_nMapKind = settings->ReadMapKind();
    return settings;
}

} // namespace

int CAppSettings::WriteInt(const char* section, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileString(section, key, text, m_strIniPath);
}

int CAppSettings::WriteString(const char* section, const char* key, const std::string& value) {
    return WritePrivateProfileString(section, key, value, m_strIniPath);
}

int CAppSettings::ReadInt(const char* section, const char* key, int defaultValue) const {
    return GetPrivateProfileInt(section, key, defaultValue, m_strIniPath);
}

std::string CAppSettings::ReadString(const char* section, const char* key, const char* defaultValue,
                                     size_t maxChars) const {
    return GetPrivateProfileString(section, key, defaultValue, m_strIniPath, maxChars);
}

int CAppSettings::ReadMapKind() const {
    return ClampMapKind(ReadInt("UI", "MAP", 0));
}

void CAppSettings::SetLanguage(int row) {
    if (row < 0 || row >= kLanguageCount) return;
    m_nLangIndex = row;
    m_wLangId = LanguageIdOfRow(row);
    WritePrivateProfileString("UI", "LANGID", LANGUAGE_TABLE[row].code, m_strIniPath);
}

// Created once and never freed: the process ends without tearing anything down.
CAppSettings& GetAppSettings() {
    if (!g_pAppSettings) g_pAppSettings = CreateAppSettings();
    return *g_pAppSettings;
}

void ResetAppSettingsForTest() {
    delete g_pAppSettings;
    g_pAppSettings = nullptr;
}
