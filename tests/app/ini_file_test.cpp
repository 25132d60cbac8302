#include "ini_file.h"
#include "temp_working_dir.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using IniFileTest = TempWorkingDir;

TEST_F(IniFileTest, ReadsSectionsAndKeysCaseInsensitivelyWithTrimmedValues) {
    WriteFile(Ini(), "; comment\n[ ui ]\n  LangId =  ENG  \nMap=1\n[WinPos]\nLEFT=5\n");
    EXPECT_EQ(GetPrivateProfileString("UI", "LANGID", "x", Ini()), "ENG");
    EXPECT_EQ(GetPrivateProfileString("Ui", "map", "x", Ini()), "1");
    EXPECT_EQ(GetPrivateProfileInt("winpos", "left", 0, Ini()), 5);
    EXPECT_EQ(GetPrivateProfileString("UI", "LEFT", "none", Ini()), "none");
    EXPECT_EQ(GetPrivateProfileString("NOSECTION", "MAP", "dflt", Ini()), "dflt");
    EXPECT_EQ(GetPrivateProfileString("UI", "LANGID", "dflt", m_dir / "missing.ini"), "dflt");
}

TEST_F(IniFileTest, ValueKeepsLaterEqualsSignsAndByteOrderMarkIsNotPartOfTheFirstLine) {
    WriteFile(Ini(), "\xEF\xBB\xBF[UI]\nFolder = /media/a=b \n");
    EXPECT_EQ(GetPrivateProfileString("UI", "Folder", "", Ini()), "/media/a=b");
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "1", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "\xEF\xBB\xBF[UI]\nFolder = /media/a=b \nMAP=1\n");
}

TEST_F(IniFileTest, TruncatesToMaxCharsWithoutSplittingCharacters) {
    WriteFile(Ini(), "[UI]\nFolder=/média/日本\n");
    EXPECT_EQ(GetPrivateProfileString("UI", "Folder", "", Ini(), 3), "/mé");
    EXPECT_EQ(GetPrivateProfileString("UI", "Folder", "", Ini(), 8), "/média/日");
    EXPECT_EQ(GetPrivateProfileString("UI", "Missing", "ABCDEF", Ini(), 2), "AB");
}

TEST_F(IniFileTest, IntegersUseLeadingNumberSemantics) {
    WriteFile(Ini(), "[N]\na=12abc\nb=abc\nc=-5x\nd=+7\ne=99999999999\nf=-99999999999\ng=\nh=  42 \n"
                     "i=2147483647\nj=-2147483648\nk=-\n");
    EXPECT_EQ(GetPrivateProfileInt("N", "a", 9, Ini()), 12);
    EXPECT_EQ(GetPrivateProfileInt("N", "b", 9, Ini()), 0);
    EXPECT_EQ(GetPrivateProfileInt("N", "c", 9, Ini()), -5);
    EXPECT_EQ(GetPrivateProfileInt("N", "d", 9, Ini()), 7);
    EXPECT_EQ(GetPrivateProfileInt("N", "e", 9, Ini()), INT_MAX);
    EXPECT_EQ(GetPrivateProfileInt("N", "f", 9, Ini()), INT_MIN);
    EXPECT_EQ(GetPrivateProfileInt("N", "g", 9, Ini()), 9) << "an empty value reads as the default";
    EXPECT_EQ(GetPrivateProfileInt("N", "h", 9, Ini()), 42);
    EXPECT_EQ(GetPrivateProfileInt("N", "i", 9, Ini()), INT_MAX);
    EXPECT_EQ(GetPrivateProfileInt("N", "j", 9, Ini()), INT_MIN);
    EXPECT_EQ(GetPrivateProfileInt("N", "k", 9, Ini()), 0);
    EXPECT_EQ(GetPrivateProfileInt("N", "missing", 1250, Ini()), 1250);
}

TEST_F(IniFileTest, EditsValueInPlaceKeepingEveryOtherByteAndCrlf) {
    const std::string before = "; settings\r\n[UI]\r\nLANGID = ENG \r\n  Map=0\r\n\r\n[WINPOS]\r\nLEFT=1\r\n";
    WriteFile(Ini(), before);
    EXPECT_NE(WritePrivateProfileString("ui", "map", "2", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()),
              "; settings\r\n[UI]\r\nLANGID = ENG \r\n  Map=2\r\n\r\n[WINPOS]\r\nLEFT=1\r\n");
    EXPECT_NE(WritePrivateProfileString("UI", "LANGID", "FRA", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()),
              "; settings\r\n[UI]\r\nLANGID = FRA \r\n  Map=2\r\n\r\n[WINPOS]\r\nLEFT=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("UI", "LANGID", "", Ini()), "FRA");
}

TEST_F(IniFileTest, AppendsMissingKeyAtEndOfItsSectionWithTheFileLineEnd) {
    WriteFile(Ini(), "[UI]\r\nMAP=1\r\n\r\n[WINPOS]\r\nLEFT=1\r\n");
    EXPECT_NE(WritePrivateProfileString("UI", "LANGID", "GER", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\r\nMAP=1\r\nLANGID=GER\r\n\r\n[WINPOS]\r\nLEFT=1\r\n");
    EXPECT_NE(WritePrivateProfileString("WINPOS", "TOP", "-3", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\r\nMAP=1\r\nLANGID=GER\r\n\r\n[WINPOS]\r\nLEFT=1\r\nTOP=-3\r\n");
}

TEST_F(IniFileTest, AppendsToSectionAndFileLackingFinalLineEnd) {
    WriteFile(Ini(), "[UI]");
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "1", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nMAP=1\n");
    WriteFile(Ini(), "[UI]\nMAP=1");
    EXPECT_NE(WritePrivateProfileString("WINPOS", "LEFT", "0", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nMAP=1\n[WINPOS]\nLEFT=0\n");
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileAndLeavesNoTemporaryFile) {
    ASSERT_FALSE(std::filesystem::exists(Ini()));
    EXPECT_NE(WritePrivateProfileString("UI", "LANGID", "JPN", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nLANGID=JPN\n");
    EXPECT_NE(WritePrivateProfileString("WINPOS", "RIGHT", "1250", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nLANGID=JPN\n[WINPOS]\nRIGHT=1250\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(IniFileTest, RewriteKeepsPermissions) {
    WriteFile(Ini(), "[UI]\nMAP=0\n");
    ::chmod(Ini().c_str(), 0666);
    mode_t previousMask = ::umask(022); // would strip the group and other write bits of a new file
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "1", Ini()), 0);
    ::umask(previousMask);
    EXPECT_EQ(ModeOf(Ini()), 0666u);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nMAP=1\n");
}

TEST_F(IniFileTest, DuplicateSectionsFirstOccurrenceWins) {
    WriteFile(Ini(), "[UI]\nMAP=1\n[ui]\nMAP=2\nLANGID=KOR\n");
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 0, Ini()), 1);
    EXPECT_EQ(GetPrivateProfileString("UI", "LANGID", "ENG", Ini()), "ENG");
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "0", Ini()), 0);
    EXPECT_NE(WritePrivateProfileString("UI", "LANGID", "POL", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nMAP=0\nLANGID=POL\n[ui]\nMAP=2\nLANGID=KOR\n");
}

TEST_F(IniFileTest, GarbageLinesAreNotKeysAndSurviveWrites) {
    const std::string garbage = "junk before sections\n=novalue\n[broken header\n";
    const std::string body = "noequals\n\x01\xff\xfe binary\n;MAP=9\nMAP=1\n";
    WriteFile(Ini(), garbage + "[UI]\n" + body);
    EXPECT_EQ(GetPrivateProfileString("UI", "noequals", "d", Ini()), "d");
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 5, Ini()), 1);
    EXPECT_EQ(GetPrivateProfileString("", "", "d", Ini()), "d");
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "2", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), garbage + "[UI]\nnoequals\n\x01\xff\xfe binary\n;MAP=9\nMAP=2\n");
}

TEST_F(IniFileTest, RefusesNamesAndValuesThatWouldBreakTheLineStructure) {
    const std::string before = "[UI]\nMAP=1\n";
    WriteFile(Ini(), before);
    EXPECT_EQ(WritePrivateProfileString("UI", "MAP", "1\n[EVIL]", Ini()), 0);
    EXPECT_EQ(WritePrivateProfileString("UI", "A=B", "1", Ini()), 0);
    EXPECT_EQ(WritePrivateProfileString("U]I", "MAP", "1", Ini()), 0);
    EXPECT_EQ(WritePrivateProfileString("", "MAP", "1", Ini()), 0);
    EXPECT_EQ(WritePrivateProfileString("UI", " ", "1", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), before);
}

TEST_F(IniFileTest, LongLineWithinLimitIsKeptAndOversizedFileIsNeverRewritten) {
    const std::string longLine(1024 * 1024, 'x');
    WriteFile(Ini(), "[UI]\n" + longLine + "\nMAP=1\n");
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 0, Ini()), 1);
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "2", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\n" + longLine + "\nMAP=2\n");

    const std::string huge = "[UI]\nMAP=1\n" + std::string(10 * 1024 * 1024, 'y') + "\n";
    WriteFile(Ini(), huge);
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 7, Ini()), 7);
    EXPECT_EQ(WritePrivateProfileString("UI", "MAP", "2", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), huge);
}

TEST_F(IniFileTest, ReadOnlyFileReadsButRefusesWrites) {
    const std::string before = "[UI]\nMAP=1\n";
    WriteFile(Ini(), before);
    ::chmod(Ini().c_str(), 0444);
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 0, Ini()), 1);
    EXPECT_EQ(WritePrivateProfileString("UI", "MAP", "2", Ini()), 0);
    EXPECT_EQ(WritePrivateProfileString("WINPOS", "LEFT", "2", Ini()), 0);
    EXPECT_EQ(ReadFile(Ini()), before);
    EXPECT_EQ(ModeOf(Ini()), 0444u);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(IniFileTest, DirectoryInPlaceOfTheFileGivesDefaultsAndFailedWrites) {
    std::filesystem::create_directory(Ini());
    WriteFile(Ini() / "inside", "keep");
    EXPECT_EQ(GetPrivateProfileString("UI", "LANGID", "ENG", Ini()), "ENG");
    EXPECT_EQ(GetPrivateProfileInt("WINPOS", "RIGHT", 1250, Ini()), 1250);
    EXPECT_EQ(WritePrivateProfileString("UI", "LANGID", "FRA", Ini()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(Ini()));
    EXPECT_EQ(ReadFile(Ini() / "inside"), "keep");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(IniFileTest, FifoInPlaceOfTheFileNeitherHangsNorIsReplaced) {
    ASSERT_EQ(::mkfifo(Ini().c_str(), 0644), 0);
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 3, Ini()), 3);
    EXPECT_EQ(WritePrivateProfileString("UI", "MAP", "1", Ini()), 0);
    struct stat info {};
    ASSERT_EQ(::stat(Ini().c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(IniFileTest, UnreadableFileGivesDefaultsAndIsNotOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads files regardless of permissions";
    WriteFile(Ini(), "[UI]\nMAP=1\n");
    ::chmod(Ini().c_str(), 0200);
    EXPECT_EQ(GetPrivateProfileInt("UI", "MAP", 2, Ini()), 2);
    EXPECT_EQ(WritePrivateProfileString("UI", "LANGID", "FRA", Ini()), 0);
    ::chmod(Ini().c_str(), 0600);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nMAP=1\n");
}

TEST_F(IniFileTest, UnwritableFolderFailsTheWriteWithoutTouchingTheFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
    WriteFile(Ini(), "[UI]\nMAP=1\n");
    ::chmod(m_dir.c_str(), 0555);
    EXPECT_EQ(WritePrivateProfileString("UI", "MAP", "2", Ini()), 0);
    EXPECT_EQ(WritePrivateProfileString("UI", "MAP", "2", m_dir / "new.ini"), 0);
    ::chmod(m_dir.c_str(), 0755);
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nMAP=1\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(IniFileTest, WriteThroughSymbolicLinkKeepsTheLink) {
    WriteFile(m_dir / "real.ini", "[UI]\nMAP=0\n");
    std::filesystem::create_symlink("real.ini", Ini());
    EXPECT_NE(WritePrivateProfileString("UI", "MAP", "2", Ini()), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(Ini()));
    EXPECT_EQ(ReadFile(m_dir / "real.ini"), "[UI]\nMAP=2\n");
}

} // namespace
