// Locale of the browser engine (page locale and accept-language list) by user-interface language.
#pragma once

#include <string>

struct EngineLocaleRow {
    const char* code;   // language code of the language table
    const char* locale; // engine locale name
};

constexpr int kEngineLocaleCount = 16;
extern const EngineLocaleRow ENGINE_LOCALE_TABLE[kEngineLocaleCount];

// The locale of the first row whose language code names row `langIndex` of the language table;
// empty when none does.
std::string EngineLocaleForLanguage(int langIndex);
