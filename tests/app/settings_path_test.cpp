#include "settings.h"
#include "settings_path.h"
#include "settings_test_support.h"
#include "temp_working_dir.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(ChooseIniPath, WorkingFolderFileWinsThenXdgThenHome) {
    const fs::path none = "/nonexistent-veltrix-folder";
    EXPECT_EQ(ChooseIniPath(none, "/x/config", "/home/u"), "/x/config/veltrix/Veltrix.ini");
    EXPECT_EQ(ChooseIniPath(none, nullptr, "/home/u"), "/home/u/.config/veltrix/Veltrix.ini");
    EXPECT_EQ(ChooseIniPath(none, "", "/home/u"), "/home/u/.config/veltrix/Veltrix.ini");
    EXPECT_EQ(ChooseIniPath(none, "config", "/home/u"), "/home/u/.config/veltrix/Veltrix.ini")
        << "a relative XDG_CONFIG_HOME is ignored";
    EXPECT_EQ(ChooseIniPath(none, nullptr, nullptr), fs::path());
    EXPECT_EQ(ChooseIniPath(none, nullptr, ""), fs::path());
    EXPECT_EQ(ChooseIniPath(none, "", "relative/home"), fs::path());
    EXPECT_EQ(ChooseIniPath({}, nullptr, "/home/u"), "/home/u/.config/veltrix/Veltrix.ini")
        << "an unknown working folder holds no settings file";
}

// Each test runs in <tmp>/work, with HOME=<tmp>/home and XDG_CONFIG_HOME unset.
class SettingsPlaceTest : public TempWorkingDir {
  protected:
    void SetUp() override {
        TempWorkingDir::SetUp();
        fs::create_directory(Home());
        fs::create_directory(Work());
        fs::current_path(Work());
        ResetAppSettingsForTest();
    }
    void TearDown() override {
        ResetAppSettingsForTest();
        TempWorkingDir::TearDown();
    }

    fs::path Work() const { return m_dir / "work"; }
    static size_t Entries(const fs::path& folder) {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_F(SettingsPlaceTest, FirstWriteCreatesThePrivateConfigFolderAndNothingElse) {
    CAppSettings& settings = GetAppSettings();
    EXPECT_EQ(settings.m_strIniPath, HomeConfigIni());
    EXPECT_EQ(settings.ReadInt("WINPOS", "RIGHT", 1250), 1250);
    EXPECT_EQ(Entries(Home()), 0u) << "reading creates neither folder nor file";

    EXPECT_NE(settings.WriteInt("WINPOS", "LEFT", 40), 0);
    EXPECT_EQ(ReadFile(HomeConfigIni()), "[WINPOS]\nLEFT=40\n");
    EXPECT_EQ(ModeOf(Home() / ".config"), 0700u);
    EXPECT_EQ(ModeOf(Home() / ".config" / "veltrix"), 0700u);
    EXPECT_EQ(Entries(Home()), 1u) << "only .config in the home folder's root";
    EXPECT_EQ(Entries(Home() / ".config" / "veltrix"), 1u) << "no temporary file left";
    EXPECT_EQ(Entries(Work()), 0u) << "the working folder without Veltrix.ini stays untouched";

    settings.SetLanguage(7);
    ResetAppSettingsForTest();
    EXPECT_EQ(GetAppSettings().m_nLangIndex, 7) << "the next start reads the configuration folder";
    EXPECT_EQ(GetAppSettings().ReadInt("WINPOS", "LEFT", 0), 40);
}

TEST_F(SettingsPlaceTest, XdgConfigHomeIsUsedWhenSetAndAbsolute) {
    const fs::path xdg = m_dir / "xdg";
    ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    EXPECT_NE(GetAppSettings().WriteString("UI", "Folder", "/media/card"), 0);
    EXPECT_EQ(ReadFile(xdg / "veltrix" / "Veltrix.ini"), "[UI]\nFolder=/media/card\n");
    EXPECT_EQ(ModeOf(xdg), 0700u);
    EXPECT_EQ(Entries(Home()), 0u);

    ResetAppSettingsForTest();
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(GetAppSettings().m_strIniPath, HomeConfigIni());
}

TEST_F(SettingsPlaceTest, WorkingFolderFileWinsOverTheConfigFolder) {
    WriteFile(Work() / "Veltrix.ini", "[UI]\nMAP=1\n");
    fs::create_directories(HomeConfigIni().parent_path());
    WriteFile(HomeConfigIni(), "[UI]\nMAP=2\nLANGID=GER\n");

    CAppSettings& settings = GetAppSettings();
    EXPECT_EQ(settings.m_strIniPath, Work() / "Veltrix.ini");
    EXPECT_EQ(settings.m_nMapKind, 1);
    EXPECT_EQ(settings.m_nLangIndex, 0) << "nothing is read from the configuration folder";
    EXPECT_NE(settings.WriteInt("UI", "MAP", 0), 0);
    EXPECT_EQ(ReadFile(Work() / "Veltrix.ini"), "[UI]\nMAP=0\n");
    EXPECT_EQ(ReadFile(HomeConfigIni()), "[UI]\nMAP=2\nLANGID=GER\n");
}

TEST_F(SettingsPlaceTest, WithoutAnyUsablePlaceDefaultsAreReadAndNothingIsWritten) {
    ::setenv("HOME", "relative-home", 1);
    CAppSettings& settings = GetAppSettings();
    EXPECT_TRUE(settings.m_strIniPath.empty());
    EXPECT_EQ(settings.ReadInt("WINPOS", "BOTTOM", 560), 560);
    EXPECT_EQ(settings.WriteInt("WINPOS", "LEFT", 1), 0);
    settings.SetLanguage(3);
    EXPECT_EQ(settings.m_nLangIndex, 3);
    EXPECT_EQ(Entries(Work()), 0u);
}

TEST_F(SettingsPlaceTest, ConfigFolderThatCannotBeMadeFailsTheWriteHarmlessly) {
    WriteFile(m_dir / "plain-file", "x");
    ::setenv("XDG_CONFIG_HOME", (m_dir / "plain-file").c_str(), 1);
    CAppSettings& settings = GetAppSettings();
    EXPECT_EQ(settings.ReadMapKind(), 0);
    EXPECT_EQ(settings.WriteInt("UI", "MAP", 2), 0);
    EXPECT_EQ(ReadFile(m_dir / "plain-file"), "x");
    EXPECT_EQ(Entries(Work()), 0u);
}

TEST_F(SettingsPlaceTest, UnsetHomeFallsBackToTheAccountsHomeFolder) {
    ::unsetenv("HOME");
    struct passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    // Only the chosen path is checked: writing would touch the real account's folder.
    EXPECT_EQ(IniPathOfProcess(), fs::path(account->pw_dir) / ".config/veltrix/Veltrix.ini");
    ::setenv("HOME", "", 1);
    EXPECT_EQ(IniPathOfProcess(), fs::path(account->pw_dir) / ".config/veltrix/Veltrix.ini");
}

TEST_F(SettingsPlaceTest, LinkNamedVeltrixIniInTheWorkingFolderCounts) {
    fs::create_symlink(m_dir / "elsewhere.ini", Work() / "Veltrix.ini");
    EXPECT_EQ(GetAppSettings().m_strIniPath, Work() / "Veltrix.ini") << "even before its target exists";
    EXPECT_FALSE(fs::exists(Home() / ".config"));
}

TEST(MakeParentFolders, RefusesAPathThroughAFile) {
    EXPECT_TRUE(MakeParentFolders("Veltrix.ini")) << "a bare name needs no folder";
    EXPECT_FALSE(MakeParentFolders("/dev/null/veltrix/Veltrix.ini"));
}

} // namespace
