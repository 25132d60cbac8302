#include "settings.h"

#include "ini_file.h"
#include "language.h"
#include "settings_path.h"
#include "settings_test_support.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr size_t kLangCodeMaxChars = 63;

CAppSettings* g_pAppSettings = nullptr;

CAppSettings* CreateAppSettings() {
    auto* settings = new CAppSettings;
    settings->m_nLangIndex = FindLanguage("JPN");
    settings->m_wLangId = LanguageIdOfRow(settings->m_nLangIndex);
    settings->m_strIniPath = IniPathOfProcess();
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
    return Write(section, key, text);
}

int CAppSettings::WriteString(const char* section, const char* key, const std::string& value) {
    return Write(section, key, value);
}

// The file's folder (the configuration folder on a first start) is made on the first write;
// with no usable place at all nothing is written, not even beside the working folder.
int CAppSettings::Write(const char* section, const char* key, std::string_view value) {
    if (m_strIniPath.empty() || !MakeParentFolders(m_strIniPath)) return 0;
    return WritePrivateProfileString(section, key, value, m_strIniPath);
}

int CAppSettings::ReadInt(const char* section, const char* key, int defaultValue) const {
    return GetPrivateProfileInt(section, key, defaultValue, m_strIniPath);
}

std::string CAppSettings::ReadString(const char* section, const char* key, const char* defaultValue,
                                     size_t maxChars) const {
    return GetPrivateProfileString(section, key, defaultValue, m_strIniPath, maxChars);
}

double CAppSettings::ReadDouble(const char* section, const char* key, double defaultValue) const {
    const std::string text = ReadString(section, key, "");
    const char* end = text.data() + text.size();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value) ? value : defaultValue;
}

int CAppSettings::ReadMapKind() const {
    return ClampMapKind(ReadInt("UI", "MAP", 0));
}

void CAppSettings::SetLanguage(int row) {
    if (row < 0 || row >= kLanguageCount) return;
    m_nLangIndex = row;
    m_wLangId = LanguageIdOfRow(row);
    Write("UI", "LANGID", LANGUAGE_TABLE[row].code);
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
