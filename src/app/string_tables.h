// The compiled string tables: one table of numbered UTF-8 texts per language identifier.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

struct LangString {
    unsigned id;
    const char* text;
};

struct StringTable {
    uint16_t langId;
    std::span<const LangString> strings;
};

// Every table, in no particular order.
std::span<const StringTable* const> AllStringTables();
// The table stored under exactly `langId`, or nullptr.
const StringTable* FindStringTable(uint16_t langId);
// The text `id` of `table`, or nullptr when the table (or the text) is missing.
const char* FindLangString(const StringTable* table, unsigned id);

extern const StringTable kStringTableEnglish;
extern const StringTable kStringTableSimplifiedChinese;
extern const StringTable kStringTableTraditionalChinese;
extern const StringTable kStringTableSpanish;
extern const StringTable kStringTableRussian;
extern const StringTable kStringTablePortuguese;
extern const StringTable kStringTableJapanese;
extern const StringTable kStringTableGerman;
extern const StringTable kStringTableFrench;
extern const StringTable kStringTableKorean;
extern const StringTable kStringTableItalian;
extern const StringTable kStringTableLatvian;
extern const StringTable kStringTablePolish;
extern const StringTable kStringTableRomanian;
extern const StringTable kStringTableSlovak;
extern const StringTable kStringTableUkrainian;
