// The process-wide settings store: Veltrix.ini in the working folder when one is there, else in
// the user's configuration folder (settings_path.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class CAppSettings {
  public:
    std::filesystem::path m_strIniPath;
    int m_nLangIndex = 0;
    uint16_t m_wLangId = 0;
    int m_nMapKind = 0;

    // Writes `value` as "%d"; non-zero on success. Callers may ignore the result.
    int WriteInt(const char* section, const char* key, int value);
    int WriteString(const char* section, const char* key, const std::string& value);
    int ReadInt(const char* section, const char* key, int defaultValue) const;
    std::string ReadString(const char* section, const char* key, const char* defaultValue,
                           size_t maxChars = 1023) const;
    // A decimal number written with '.' whatever the locale; `defaultValue` when the key is
    // missing or its text is not wholly a finite number.
    double ReadDouble(const char* section, const char* key, double defaultValue) const;
    // "UI"/"MAP" clamped to 0..2.
    int ReadMapKind() const;
    // Rows 0..15 change the language and store its code under "UI"/"LANGID"; others do nothing.
    void SetLanguage(int row);

  private:
    int Write(const char* section, const char* key, std::string_view value);
};

// The one store, created on the first call; its file is chosen then (settings_path.h).
CAppSettings& GetAppSettings();

// Clamp rule shared by every reader of "UI"/"MAP".
constexpr int ClampMapKind(int kind) {
    return kind < 0 ? 0 : (kind > 2 ? 2 : kind);
}
