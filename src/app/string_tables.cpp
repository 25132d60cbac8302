#include "string_tables.h"

namespace {

const StringTable* const kAllTables[] = {
    &kStringTableEnglish,
    &kStringTableSimplifiedChinese,
    &kStringTableTraditionalChinese,
    &kStringTableSpanish,
    &kStringTableRussian,
    &kStringTablePortuguese,
    &kStringTableJapanese,
    &kStringTableGerman,
    &kStringTableFrench,
    &kStringTableKorean,
    &kStringTableItalian,
    &kStringTableLatvian,
    &kStringTablePolish,
    &kStringTableRomanian,
    &kStringTableSlovak,
    &kStringTableUkrainian,
};

} // namespace

std::span<const StringTable* const> AllStringTables() {
    return kAllTables;
}

const StringTable* FindStringTable(uint16_t langId) {
    for (const StringTable* table : kAllTables) {
        if (table->langId == langId) return table;
    }
    return nullptr;
}

const char* FindLangString(const StringTable* table, unsigned id) {
    if (!table) return nullptr;
    for (const LangString& entry : table->strings) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}
