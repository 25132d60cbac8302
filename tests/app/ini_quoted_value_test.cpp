// Values in quotes: the reader drops one pair of matching quotes around a value, as the Windows
// private-profile reader does, so a value with blanks at either end can be written in quotes and
// read back whole.
#include "ini_file.h"
#include "temp_working_dir.h"

namespace {

using IniQuotedValueTest = TempWorkingDir;

} // namespace

TEST_F(IniQuotedValueTest, OnePairOfMatchingQuotesIsDroppedOnRead) {
    WriteFile(Ini(), "[UI]\nA=\"  blanks kept  \"\nB='single'\nC=\"\"\"twice\"\"\"\nD=\"open\nE=mixed'\nF=\"\n");
    EXPECT_EQ(GetPrivateProfileString("UI", "A", "x", Ini()), "  blanks kept  ");
    EXPECT_EQ(GetPrivateProfileString("UI", "B", "x", Ini()), "single");
    EXPECT_EQ(GetPrivateProfileString("UI", "C", "x", Ini()), "\"\"twice\"\"");
    EXPECT_EQ(GetPrivateProfileString("UI", "D", "x", Ini()), "\"open") << "no pair, nothing dropped";
    EXPECT_EQ(GetPrivateProfileString("UI", "E", "x", Ini()), "mixed'");
    EXPECT_EQ(GetPrivateProfileString("UI", "F", "x", Ini()), "\"") << "one quote is no pair";
}

TEST_F(IniQuotedValueTest, AQuotedValueWrittenReadsBackWithoutItsQuotes) {
    ASSERT_NE(WritePrivateProfileString("UI", "Folder", "\" /media/card \"", Ini()), 0);
    EXPECT_EQ(GetPrivateProfileString("UI", "Folder", "x", Ini()), " /media/card ");
    EXPECT_EQ(ReadFile(Ini()), "[UI]\nFolder=\" /media/card \"\n");
}
