#include "start_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(StartFolderTest, RelativeDottedAndFilePathsBecomeTheCardFolder) {
    const fs::path root = fs::temp_directory_path() / ("veltrix_start_" + std::to_string(getpid()));
    fs::create_directories(root / "card" / "Movie");
    std::ofstream(root / "card" / "Movie" / "2024_06_01_120000_01.MP4") << "x";
    const fs::path card = fs::canonical(root / "card");

    EXPECT_EQ(StartFolderOf(root / "card" / "Movie" / ".." / "."), card);
    // A recording handed over by a file manager opens the folder it lies in.
    EXPECT_EQ(StartFolderOf(root / "card" / "Movie" / "2024_06_01_120000_01.MP4"), card / "Movie");
    // A missing folder stays what it is, so the window can say that it does not exist.
    EXPECT_EQ(StartFolderOf(root / "gone"), fs::weakly_canonical(root / "gone"));

    const fs::path before = fs::current_path();
    fs::current_path(root);
    EXPECT_EQ(StartFolderOf("card"), card);
    fs::current_path(before);
    fs::remove_all(root);
}
