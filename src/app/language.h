// User-interface languages and the text lookup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct LanguageRow {
    const char* code;    // stored under "UI"/"LANGID"
    const char* name;    // shown in the language list, in the language itself (UTF-8)
    uint32_t langWord;   // primary language in the low 16 bits, sub-language in the high 16 bits
};

constexpr int kLanguageCount = 16;
extern const LanguageRow LANGUAGE_TABLE[kLanguageCount];

// Windows MAKELANGID form: sub-language * 1024 + primary language.
uint16_t LanguageIdOfRow(int row);
// Row whose code equals `code` exactly (case-sensitive), or -1.
int FindLanguage(std::string_view code);

// Text `id` in the current language: exact language id, then the neutral sub-language of the
// same primary language, then English; empty when none has it.
std::string LoadLangString(unsigned id);
// The same lookup for an explicit language id (used by tests and the configuration dialog).
std::string LoadLangStringFor(uint16_t langId, unsigned id);
