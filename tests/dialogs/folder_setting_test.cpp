// The last folder in the settings file: what is read back is exactly the folder that was stored,
// blanks at either end and bytes that are not UTF-8 included; a name the file cannot hold exactly
// is not stored and the folder stored before stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "folder_setting.h"
#include "settings.h"

namespace fs = std::filesystem;

namespace {

class FolderSettingScratch {
  public:
    FolderSettingScratch()
        : m_root(fs::temp_directory_path() / ("veltrix_folder_setting_" + std::to_string(::getpid()))) {
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        CAppSettings& settings = GetAppSettings();
        m_savedIni = settings.m_strIniPath;
        settings.m_strIniPath = m_root / "Veltrix.ini";
    }
    ~FolderSettingScratch() {
        GetAppSettings().m_strIniPath = m_savedIni;
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    fs::path MakeFolder(const std::string& name) const {
        const fs::path folder = m_root / name;
        fs::create_directories(folder);
        return folder;
    }
    std::string IniBytes() const {
        std::ifstream in(m_root / "Veltrix.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    fs::path m_root;
    fs::path m_savedIni;
};

} // namespace

TEST(FolderSettingRoundTrip, BlanksAtEitherEndAndQuotesReadBackExactly) {
    FolderSettingScratch scratch;
    for (const std::string name : {"  card with blanks  ", " lead", "trail\t", "\"quoted\"", "'single'"}) {
        const fs::path folder = scratch.MakeFolder(name);
        EXPECT_NE(WriteFolderSetting(folder.native()), 0) << name;
        EXPECT_EQ(ReadFolderSetting(), folder.native()) << "[" << name << "]";
    }
    // An ordinary folder is written as it stands, as before.
    const fs::path plain = scratch.MakeFolder("card");
    WriteFolderSetting(plain.native());
    EXPECT_NE(scratch.IniBytes().find("Folder=" + plain.native() + "\n"), std::string::npos);
    EXPECT_EQ(ReadFolderSetting(), plain.native());
}

TEST(FolderSettingRoundTrip, ANameTheFileCannotHoldKeepsThePreviousFolder) {
    FolderSettingScratch scratch;
    const fs::path previous = scratch.MakeFolder("cardA");
    ASSERT_NE(WriteFolderSetting(previous.native()), 0);
    for (const std::string name : {"ca\nrd", "ca\rrd"}) {
        const fs::path broken = scratch.MakeFolder(name);
        EXPECT_EQ(WriteFolderSetting(broken.native()), 0) << "not stored";
        EXPECT_EQ(ReadFolderSetting(), previous.native()) << "the folder stored before stays";
    }
    fs::path deep = previous;
    while (deep.native().size() <= kFolderSettingMaxChars)
        deep /= std::string(200, 'd');
    ASSERT_TRUE(fs::create_directories(deep));
    EXPECT_EQ(WriteFolderSetting(deep.native()), 0) << "a cut path would name another folder";
    EXPECT_EQ(ReadFolderSetting(), previous.native());
    // A folder that is gone is stored as the empty text, as a choice of nothing.
    EXPECT_NE(WriteFolderSetting(""), 0);
    EXPECT_EQ(GetAppSettings().ReadString("UI", "Folder", "<none>"), "");
}

// Folder names are the file system's bytes; the settings file keeps them as they are (the file is
// text for every line this viewer writes, and a stray byte in this one value is the folder's own).
TEST(FolderSettingRoundTrip, BytesThatAreNotUtf8AreKeptAsTheyAre) {
    FolderSettingScratch scratch;
    const fs::path latin1 = scratch.MakeFolder("Fahrt_M\xFCnchen");
    ASSERT_NE(WriteFolderSetting(latin1.native()), 0);
    EXPECT_EQ(ReadFolderSetting(), latin1.native());
    EXPECT_NE(scratch.IniBytes().find("Fahrt_M\xFCnchen"), std::string::npos);
    const fs::path both = scratch.MakeFolder(" M\xFC ");
    ASSERT_NE(WriteFolderSetting(both.native()), 0);
    EXPECT_EQ(ReadFolderSetting(), both.native());
}
