// The copy job: progress, cancel between blocks (no partial file, complete files kept, an
// existing target untouched) and the free-space check that starts nothing.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include "catalog_test_support.h"
#include "copy_job.h"
#include "safe_copy.h"

using namespace catalog_test;

namespace {

// Distinct content per file, several copy blocks long.
std::string Content(char tag, size_t blocks = 2) {
    std::string s(static_cast<size_t>(kCopyBlockBytes * blocks + 12345), tag);
    for (size_t i = 0; i < s.size(); i += 4093)
        s[i] = static_cast<char>(i);
    return s;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) names.push_back(fs::relative(e.path(), folder));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(CopyJobTest, ProgressCountsFilesAndBytesAndBuildsTheFolders) {
    TempCard card("copy_progress");
    const fs::path a = card.Write("card/DCIM/a.MP4", Content('a'));
    const fs::path b = card.Write("card/DCIM/b.MP4", Content('b', 1));
    const fs::path out = card.Root() / "backup";
    CCopyJob job({{a, out / "DCIM/a.MP4"}, {b, out / "DCIM/b.MP4"}});
    std::vector<FileJobProgress> seen;
    std::atomic<bool> cancel{false};
    const FileOperationReport report = job.Run([&](const FileJobProgress& p) { seen.push_back(p); }, cancel);
    ASSERT_TRUE(report.AllDone());
    EXPECT_EQ(report.m_Files.size(), 2u);
    EXPECT_EQ(ReadAll(out / "DCIM/a.MP4"), ReadAll(a));
    EXPECT_EQ(ReadAll(out / "DCIM/b.MP4"), ReadAll(b));
    ASSERT_FALSE(seen.empty());
    const uint64_t total = fs::file_size(a) + fs::file_size(b);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].bytesDone, seen[i - 1].bytesDone);
        EXPECT_EQ(seen[i].bytesTotal, total);
    }
    EXPECT_GE(seen.size(), 5u) << "several blocks per file, and each file's start and end";
    EXPECT_EQ(seen.back().filesDone, 2u);
    EXPECT_EQ(seen.back().bytesDone, total);
    EXPECT_EQ(seen.back().SecondsLeft().value_or(-1), 0.0);
    EXPECT_TRUE(job.SpaceShortage().enough);
}

TEST(CopyJobTest, CancelMidFileRemovesThePartialFileAndKeepsTheCompleteOnes) {
    TempCard card("copy_cancel");
    const fs::path a = card.Write("card/a.MP4", Content('a'));
    const fs::path b = card.Write("card/b.MP4", Content('b', 3));
    const fs::path c = card.Write("card/c.MP4", Content('c'));
    const fs::path out = card.Root() / "backup";
    // An older copy of b is already there (the user agreed to replace it): it must survive the cancel.
    card.Write("backup/b.MP4", "the older copy");
    CCopyJob job({{a, out / "a.MP4"}, {b, out / "b.MP4"}, {c, out / "c.MP4"}});
    std::atomic<bool> cancel{false};
    const FileOperationReport report = job.Run(
        [&](const FileJobProgress& p) {
            if (p.current == b && p.bytesDone > fs::file_size(a) + kCopyBlockBytes) cancel = true;
        },
        cancel);
    ASSERT_EQ(report.m_Files.size(), 2u) << "c is never reached";
    EXPECT_EQ(report.m_Files[0].m_eOutcome, FileOperationOutcome::kDone);
    EXPECT_EQ(report.m_Files[1].m_eOutcome, FileOperationOutcome::kFailed);
    EXPECT_EQ(report.m_Files[1].m_nError, ECANCELED);
    EXPECT_EQ(ReadAll(out / "a.MP4"), ReadAll(a)) << "the complete file stays";
    EXPECT_EQ(ReadAll(out / "b.MP4"), "the older copy");
    EXPECT_EQ(FilesIn(out), (std::vector<fs::path>{"a.MP4", "b.MP4"})) << "no hidden partial file, no c";
    EXPECT_LT(job.Progress().filesDone, 3u);
}

TEST(CopyJobTest, NotEnoughFreeSpaceStartsNothingAndSaysHowMuchIsNeeded) {
    TempCard card("copy_space");
    const fs::path a = card.Write("card/a.MP4", Content('a', 1));
    const fs::path b = card.Write("card/b.MP4", Content('b', 1));
    const fs::path out = card.Root() / "backup/DCIM";
    const uint64_t needed = fs::file_size(a) + fs::file_size(b);
    std::vector<fs::path> asked;
    CCopyJob job({{a, out / "a.MP4"}, {b, out / "b.MP4"}}, [&](const fs::path& folder) {
        asked.push_back(folder);
        return std::optional<uint64_t>(needed - 1);
    });
    std::atomic<bool> cancel{false};
    int progressCalls = 0;
    const FileOperationReport report = job.Run([&](const FileJobProgress&) { ++progressCalls; }, cancel);
    EXPECT_TRUE(report.m_Files.empty());
    EXPECT_EQ(progressCalls, 0);
    EXPECT_FALSE(fs::exists(card.Root() / "backup")) << "not even the folder is made";
    const SpaceCheck& space = job.SpaceShortage();
    EXPECT_FALSE(space.enough);
    EXPECT_EQ(space.needed, needed);
    EXPECT_EQ(space.available, needed - 1);
    EXPECT_EQ(space.folder, card.Root()) << "the nearest folder that exists on that file system";
    EXPECT_EQ(asked, (std::vector<fs::path>{card.Root()})) << "one question per file system";

    CCopyJob fits({{a, out / "a.MP4"}}, [&](const fs::path&) { return std::optional<uint64_t>(needed); });
    EXPECT_TRUE(fits.Run({}, cancel).AllDone());
    EXPECT_TRUE(fits.SpaceShortage().enough);
}

// The real statvfs on a file system that is really too small (needs the right to mount).
TEST(CopyJobTest, ASmallFileSystemIsRecognisedBeforeTheCopy) {
    TempCard card("copy_tmpfs");
    const fs::path stick = card.Root() / "stick";
    fs::create_directories(stick);
    if (::mount("tmpfs", stick.c_str(), "tmpfs", 0, "size=2m") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
    const fs::path a = card.Write("card/a.MP4", Content('a', 1));
    CCopyJob job({{a, stick / "DCIM/a.MP4"}});
    std::atomic<bool> cancel{false};
    const FileOperationReport report = job.Run({}, cancel);
    const SpaceCheck space = job.SpaceShortage();
    const auto free = FreeSpaceOf(stick / "DCIM");
    const bool empty = fs::is_empty(stick);
    ::umount2(stick.c_str(), MNT_DETACH);
    EXPECT_TRUE(report.m_Files.empty());
    EXPECT_FALSE(space.enough);
    EXPECT_EQ(space.folder, stick);
    EXPECT_EQ(space.needed, fs::file_size(a));
    ASSERT_TRUE(free.has_value());
    EXPECT_LE(*free, 2u << 20);
    EXPECT_TRUE(empty);
}

TEST(CopyJobTest, SizesAsAPersonReadsThem) {
    EXPECT_EQ(FormatByteSize(512), "512 bytes");
    EXPECT_EQ(FormatByteSize(12 * 1024), "12 KB");
    EXPECT_EQ(FormatByteSize(320ull << 20), "320 MB");
    EXPECT_EQ(FormatByteSize(3ull << 29), "1.5 GB");
}
