#include "engine_locale.h"

#include "language.h"

const EngineLocaleRow ENGINE_LOCALE_TABLE[kEngineLocaleCount] = {
    {"ENG", "en-US"}, {"CHS", "zh-CN"}, {"CHT", "zh-TW"}, {"ESP", "es"}, {"RUS", "ru"}, {"POR", "pt"},
    {"JPN", "ja"},    {"GER", "de"},    {"FRA", "fr"},    {"KOR", "ko"}, {"ITA", "it"}, {"LAT", "lv"},
    {"POL", "pl"},    {"ROM", "ro"},    {"SLV", "sk"},    {"UKR", "uk"},
};

std::string EngineLocaleForLanguage(int langIndex) {
    for (const EngineLocaleRow& row : ENGINE_LOCALE_TABLE) {
        if (FindLanguage(row.code) == langIndex) return row.locale;
    }
    return {};
}
