#include "language.h"
#include "settings.h"
#include "settings_test_support.h"
#include "string_tables.h"
#include "temp_working_dir.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

TEST(LanguageTable, RowsCarryTheirCodesNamesAndIdentifiers) {
    const std::pair<const char*, uint16_t> expected[kLanguageCount] = {
        {"ENG", 1033}, {"CHS", 2052}, {"CHT", 1028}, {"ESP", 1034}, {"RUS", 1049}, {"POR", 2070},
        {"JPN", 1041}, {"GER", 1031}, {"FRA", 1036}, {"KOR", 1042}, {"ITA", 1040}, {"LAT", 1062},
        {"POL", 1045}, {"ROM", 1048}, {"SLV", 1051}, {"UKR", 1058}};
    for (int row = 0; row < kLanguageCount; ++row) {
        EXPECT_STREQ(LANGUAGE_TABLE[row].code, expected[row].first);
        EXPECT_EQ(LanguageIdOfRow(row), expected[row].second) << row;
        EXPECT_EQ(FindLanguage(expected[row].first), row);
    }
    EXPECT_EQ(LANGUAGE_TABLE[1].langWord, 0x00020004u) << "primary low, sub-language high";
    EXPECT_STREQ(LANGUAGE_TABLE[9].name, "한국의");
    EXPECT_STREQ(LANGUAGE_TABLE[13].name, "Română");
    EXPECT_STREQ(LANGUAGE_TABLE[15].name, "Українська");
    EXPECT_EQ(LanguageIdOfRow(-1), 0);
    EXPECT_EQ(LanguageIdOfRow(16), 0);
}

TEST(LanguageTable, FindLanguageIsExactAndCaseSensitive) {
    EXPECT_EQ(FindLanguage("jpn"), -1);
    EXPECT_EQ(FindLanguage("SVK"), -1);
    EXPECT_EQ(FindLanguage("EN"), -1);
    EXPECT_EQ(FindLanguage("ENGL"), -1);
    EXPECT_EQ(FindLanguage(""), -1);
}

TEST(TextLookup, NeutralSubLanguageTablesServeSpanishAndItalian) {
    EXPECT_EQ(FindStringTable(1034), nullptr);
    EXPECT_EQ(FindStringTable(1040), nullptr);
    EXPECT_EQ(LoadLangStringFor(1034, 109), "Cancelar");
    EXPECT_EQ(LoadLangStringFor(1034, 109), FindLangString(FindStringTable(10), 109));
    EXPECT_EQ(LoadLangStringFor(1040, 109), "Annulla");
    EXPECT_EQ(LoadLangStringFor(1040, 109), FindLangString(FindStringTable(16), 109));
    EXPECT_EQ(LoadLangStringFor(2058, 216), "Detener") << "any Spanish variant finds the neutral table";
}

TEST(TextLookup, TextsMissingFromATableFallBackToEnglish) {
    EXPECT_EQ(LoadLangStringFor(1055, 136), "Warning") << "a language without a table shows English";
    EXPECT_EQ(LoadLangStringFor(1029, 1083), "Accelerator");
    EXPECT_EQ(LoadLangStringFor(1036, 136), "Avertissement");
    EXPECT_EQ(LoadLangStringFor(1036, 1083), "Accélérateur") << "French has its own vehicle texts";
    EXPECT_EQ(LoadLangStringFor(1028, 171), "開放街圖");
}

TEST(TextLookup, TextMissingEverywhereIsEmpty) {
    EXPECT_EQ(LoadLangStringFor(1033, 102), "");
    EXPECT_EQ(LoadLangStringFor(1036, 99999), "");
    EXPECT_EQ(LoadLangStringFor(0, 0), "");
}

using CurrentLanguageTest = TempWorkingDir;

TEST_F(CurrentLanguageTest, LoadLangStringFollowsTheStoredAndTheChosenLanguage) {
    WriteFile(Ini(), "[UI]\nLANGID=FRA\n");
    ResetAppSettingsForTest();
    EXPECT_EQ(LoadLangString(109), "Annuler");
    EXPECT_EQ(LoadLangString(1093), "Vitesse");
    GetAppSettings().SetLanguage(0);
    EXPECT_EQ(LoadLangString(109), "Cancel");
    GetAppSettings().m_nLangIndex = 3;
    EXPECT_EQ(LoadLangString(109), "Cancelar");
    EXPECT_EQ(GetAppSettings().m_wLangId, 1034) << "the lookup refreshes the language identifier";
    ResetAppSettingsForTest();
}

std::set<unsigned> AllTextIds() {
    std::set<unsigned> ids = {101, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115,
                              116, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 129, 130, 132,
                              134, 135, 136, 138, 140, 141, 143, 145, 147, 149, 151, 153, 155, 157,
                              160, 162, 166, 171, 210, 211, 212, 213, 214, 215, 216, 217, 218, 220,
                              222, 225, 228, 230, 233, 236, 238, 241, 243, 246, 247};
    for (unsigned id = 1083; id <= 1097; ++id)
        ids.insert(id);
    // Accessible names of the main window's controls, in every language.
    for (unsigned id = IDS_ACC_PREVIOUS_FILE; id <= IDS_ACC_GFORCE; ++id)
        ids.insert(id);
    // Keyboard commands, shortcut list, failure report and restart failure, in every language.
    for (unsigned id = IDS_CMD_FULL_VIDEO; id <= IDS_RESTART_FAILED; ++id)
        ids.insert(id);
    ids.insert(IDS_SNAPSHOT_NOT_SAVED);
    return ids;
}

std::set<unsigned> IdsOf(const StringTable& table) {
    std::set<unsigned> ids;
    for (const LangString& entry : table.strings)
        ids.insert(entry.id);
    return ids;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return true;
}

size_t CountOf(std::string_view s, std::string_view what) {
    size_t n = 0;
    for (size_t pos = s.find(what); pos != std::string_view::npos; pos = s.find(what, pos + 1))
        ++n;
    return n;
}

TEST(StringTables, EveryLanguageRowHasATableWithEveryText) {
    EXPECT_EQ(AllStringTables().size(), 16u);
    std::set<uint16_t> tableIds;
    std::set<unsigned> everyId = AllTextIds();
    for (const StringTable* table : AllStringTables()) {
        tableIds.insert(table->langId);
        std::set<unsigned> ids = IdsOf(*table);
        everyId.insert(ids.begin(), ids.end());
    }
    EXPECT_EQ(tableIds.size(), 16u) << "no language is stored twice";
    for (int row = 0; row < kLanguageCount; ++row) {
        uint16_t langId = LanguageIdOfRow(row);
        const StringTable* table = FindStringTable(langId);
        if (!table) table = FindStringTable(langId & 0x3FF);
        ASSERT_NE(table, nullptr) << LANGUAGE_TABLE[row].code;
        std::vector<unsigned> ids;
        for (const LangString& entry : table->strings) {
            ids.push_back(entry.id);
            EXPECT_TRUE(entry.text && *entry.text) << table->langId << " " << entry.id;
            EXPECT_TRUE(IsValidUtf8(entry.text)) << table->langId << " " << entry.id;
        }
        std::set<unsigned> idSet(ids.begin(), ids.end());
        EXPECT_EQ(idSet.size(), ids.size()) << LANGUAGE_TABLE[row].code << " has a duplicate id";
        // Every id any table knows, so a text added to one table only is caught here.
        for (unsigned id : everyId) {
            if (!idSet.count(id)) {
                ADD_FAILURE() << LANGUAGE_TABLE[row].code << " lacks " << id;
                continue;
            }
            EXPECT_EQ(LoadLangStringFor(langId, id), FindLangString(table, id))
                << LANGUAGE_TABLE[row].code << " " << id << " is shown from its own table";
        }
    }
}

TEST(StringTables, VehicleTextsAreTranslatedInEveryLanguage) {
    const StringTable* english = FindStringTable(1033);
    for (const StringTable* table : AllStringTables()) {
        if (table == english) continue;
        int copies = 0;
        for (unsigned id = 1083; id <= 1097; ++id)
            copies += std::string_view(FindLangString(table, id)) == FindLangString(english, id);
        EXPECT_EQ(copies, 0) << table->langId << ": a gauge caption is the English text";
        EXPECT_STRNE(FindLangString(table, 171), FindLangString(english, 171)) << table->langId;
    }
}

TEST(StringTables, EnglishTextsAreTheSystemsOwn) {
    EXPECT_EQ(LoadLangStringFor(1033, 101), "&About Halvorn Veltrix");
    EXPECT_EQ(LoadLangStringFor(1033, 103), "Media player encountered a error.");
    EXPECT_EQ(LoadLangStringFor(1033, 129), "Save KML file:%s Failed.");
    EXPECT_EQ(LoadLangStringFor(1033, 143),
              "No seletected files. Please select some files and try this operation again.");
    EXPECT_EQ(LoadLangStringFor(1033, 155), "File \"%s\" is already exist. Are you sure to overwrite it?");
    EXPECT_EQ(LoadLangStringFor(1033, 247), "Change Speed Unit KPH/MPH.");
    EXPECT_EQ(LoadLangStringFor(1033, 1097), "On+Auto");
}

TEST(StringTables, TranslationsAreRealAndKeepPlaceholdersAndAccelerators) {
    const StringTable* english = FindStringTable(1033);
    for (const StringTable* table : AllStringTables()) {
        if (table == english) continue;
        size_t same = 0;
        for (const LangString& entry : table->strings) {
            std::string_view source = FindLangString(english, entry.id);
            std::string_view text = entry.text;
            same += text == source;
            EXPECT_EQ(CountOf(text, "%"), CountOf(source, "%")) << table->langId << " " << entry.id;
            EXPECT_EQ(CountOf(text, "%s"), CountOf(source, "%s")) << table->langId << " " << entry.id;
        }
        EXPECT_LT(same * 10, table->strings.size()) << table->langId << ": too many English copies";
        EXPECT_NE(CountOf(FindLangString(table, 101), "&"), 0u) << table->langId;
        EXPECT_NE(CountOf(FindLangString(table, 155), "\"%s\""), 0u) << table->langId;
    }
}

} // namespace
