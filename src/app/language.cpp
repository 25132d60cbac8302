#include "language.h"

#include "settings.h"
#include "string_tables.h"

namespace {

constexpr uint32_t LangWord(uint16_t primary, uint16_t sub) {
    return (uint32_t(sub) << 16) | primary;
}

// The last resort for a text a table lacks: English is read by more of our users than any
// other table's language, and its glyphs are in every font.
constexpr uint16_t kEnglishLangId = 1033;
constexpr uint16_t kPrimaryLanguageMask = 0x3FF;

// Empty when the table lacks the text or holds it empty, so the caller falls back.
std::string TextOf(uint16_t langId, unsigned id) {
    const char* text = FindLangString(FindStringTable(langId), id);
    return text ? std::string(text) : std::string();
}

} // namespace

const LanguageRow LANGUAGE_TABLE[kLanguageCount] = {
    {"ENG", "English", LangWord(0x09, 1)},    {"CHS", "简体中文", LangWord(0x04, 2)},
    {"CHT", "繁體中文", LangWord(0x04, 1)},   {"ESP", "español", LangWord(0x0A, 1)},
    {"RUS", "русский", LangWord(0x19, 1)},    {"POR", "português", LangWord(0x16, 2)},
    {"JPN", "日本語", LangWord(0x11, 1)},     {"GER", "Deutsch", LangWord(0x07, 1)},
    {"FRA", "français", LangWord(0x0C, 1)},   {"KOR", "한국의", LangWord(0x12, 1)},
    {"ITA", "italiano", LangWord(0x10, 1)},   {"LAT", "Latviski", LangWord(0x26, 1)},
    {"POL", "Polski", LangWord(0x15, 1)},     {"ROM", "Română", LangWord(0x18, 1)},
    {"SLV", "Slovenčina", LangWord(0x1B, 1)}, {"UKR", "Українська", LangWord(0x22, 1)},
};

uint16_t LanguageIdOfRow(int row) {
    if (row < 0 || row >= kLanguageCount) return 0;
    uint32_t word = LANGUAGE_TABLE[row].langWord;
    uint32_t primary = word & 0xFFFF;
    uint32_t sub = word >> 16;
    return static_cast<uint16_t>(sub * 1024 + primary);
}

int FindLanguage(std::string_view code) {
    for (int row = 0; row < kLanguageCount; ++row) {
        if (code == LANGUAGE_TABLE[row].code) return row;
    }
    return -1;
}

std::string LoadLangStringFor(uint16_t langId, unsigned id) {
    std::string text = TextOf(langId, id);
    if (text.empty()) text = TextOf(langId & kPrimaryLanguageMask, id);
    if (text.empty()) text = TextOf(kEnglishLangId, id);
    return text;
}

std::string LoadLangString(unsigned id) {
    CAppSettings& settings = GetAppSettings();
    settings.m_wLangId = LanguageIdOfRow(settings.m_nLangIndex);
    return LoadLangStringFor(settings.m_wLangId, id);
}
