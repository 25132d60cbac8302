#include "ini_file.h"
#include "language.h"
#include "settings.h"
#include "settings_test_support.h"
#include "temp_working_dir.h"

namespace {

class SettingsTest : public TempWorkingDir {
  protected:
    void SetUp() override {
        TempWorkingDir::SetUp();
        ResetAppSettingsForTest();
    }
    void TearDown() override {
        ResetAppSettingsForTest();
        TempWorkingDir::TearDown();
    }
};

TEST_F(SettingsTest, FirstStartWithoutFileUsesDefaults) {
    CAppSettings& settings = GetAppSettings();
    EXPECT_EQ(settings.m_strIniPath, HomeConfigIni()) << "no Veltrix.ini in the working folder";
    EXPECT_EQ(settings.m_nLangIndex, FindLanguage("ENG"));
    EXPECT_EQ(settings.m_wLangId, 1033);
    EXPECT_EQ(settings.m_nMapKind, 0);
    EXPECT_EQ(settings.ReadInt("UI", "MAP_ENABLE", 1), 1);
    EXPECT_EQ(settings.ReadInt("WINPOS", "RIGHT", 1250), 1250);
    EXPECT_EQ(settings.ReadString("UI", "Folder", ""), "");
    EXPECT_EQ(EntryCount(), 0u) << "reading never creates a file or folder";
    EXPECT_EQ(&GetAppSettings(), &settings);
}

TEST_F(SettingsTest, StoredLanguageCodeSelectsItsRow) {
    WriteFile(Ini(), "[UI]\nLANGID=GER\n");
    EXPECT_EQ(GetAppSettings().m_nLangIndex, 7);
    EXPECT_EQ(GetAppSettings().m_wLangId, 1031);
}

TEST_F(SettingsTest, UnknownLanguageCodeKeepsTheJapaneseRow) {
    for (const char* code : {"XYZ", "eng", "", "ENGLISH"}) {
        WriteFile(Ini(), std::string("[UI]\nLANGID=") + code + "\n");
        ResetAppSettingsForTest();
        EXPECT_EQ(GetAppSettings().m_nLangIndex, 6) << code;
        EXPECT_EQ(GetAppSettings().m_wLangId, 1041) << code;
    }
}

TEST_F(SettingsTest, OverlongLanguageCodeIsCutToSixtyThreeCharacters) {
    WriteFile(Ini(), "[UI]\nLANGID=" + std::string(200, 'A') + "\n");
    EXPECT_EQ(GetAppSettings().m_nLangIndex, 6);
}

TEST_F(SettingsTest, MapKindIsClampedToTheThreePages) {
    const std::pair<const char*, int> cases[] = {{"7", 2}, {"-1", 0}, {"1", 1}, {"2", 2}, {"x", 0}, {"3", 2}};
    for (auto [text, expected] : cases) {
        WriteFile(Ini(), std::string("[UI]\nMAP=") + text + "\n");
        ResetAppSettingsForTest();
        EXPECT_EQ(GetAppSettings().ReadMapKind(), expected) << text;
        EXPECT_EQ(GetAppSettings().m_nMapKind, expected) << text;
    }
}

TEST_F(SettingsTest, WriteIntStoresDecimalText) {
    WriteFile(Ini(), "");
    CAppSettings& settings = GetAppSettings();
    EXPECT_NE(settings.WriteInt("WINPOS", "LEFT", -300), 0);
    EXPECT_NE(settings.WriteInt("WINPOS", "TOP", 2147483647), 0);
    EXPECT_EQ(ReadFile(Ini()), "[WINPOS]\nLEFT=-300\nTOP=2147483647\n");
    EXPECT_EQ(settings.ReadInt("WINPOS", "LEFT", 0), -300);
    EXPECT_NE(settings.WriteString("UI", "Folder", "/media/card"), 0);
    EXPECT_EQ(settings.ReadString("UI", "Folder", ""), "/media/card");
}

TEST_F(SettingsTest, SetLanguageStoresTheRowCodeAndIgnoresRowsOutOfRange) {
    WriteFile(Ini(), "");
    CAppSettings& settings = GetAppSettings();
    settings.SetLanguage(16);
    settings.SetLanguage(-1);
    EXPECT_EQ(settings.m_nLangIndex, 0);
    EXPECT_EQ(ReadFile(Ini()), "");

    settings.SetLanguage(14);
    EXPECT_EQ(settings.m_nLangIndex, 14);
    EXPECT_EQ(settings.m_wLangId, 1051);
    EXPECT_EQ(GetPrivateProfileString("UI", "LANGID", "", Ini()), "SLV");

    ResetAppSettingsForTest();
    EXPECT_EQ(GetAppSettings().m_nLangIndex, 14) << "the next start reads the stored language";
}

TEST_F(SettingsTest, FailedWriteIsHarmless) {
    std::filesystem::create_directory(Ini());
    CAppSettings& settings = GetAppSettings();
    EXPECT_EQ(settings.WriteInt("UI", "MAP", 1), 0);
    settings.SetLanguage(3);
    EXPECT_EQ(settings.m_nLangIndex, 3) << "the language changes even when it cannot be stored";
    EXPECT_EQ(settings.ReadMapKind(), 0);
}

} // namespace
