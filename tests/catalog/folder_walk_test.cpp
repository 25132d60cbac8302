#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "catalog_test_support.h"
#include "folder_walk.h"

using namespace catalog_test;

namespace {

struct Visit {
    std::string relative, name;
    bool isFolder;
};

std::vector<Visit> Walk(const fs::path& root, bool* found = nullptr) {
    std::vector<Visit> visits;
    const bool ok = FindFilesRecursive(
        root, [&](const std::string& r, const std::string& rel, const std::string& name, bool isFolder) {
            EXPECT_EQ(r.back(), '/');
            visits.push_back({rel, name, isFolder});
        });
    if (found) *found = ok;
    return visits;
}

std::set<std::string> Files(const std::vector<Visit>& visits) {
    std::set<std::string> files;
    for (const Visit& v : visits)
        if (!v.isFolder) files.insert(v.relative + v.name);
    return files;
}

} // namespace

TEST(FolderWalk, ReportsFoldersAndFilesWithRelativePathsAndSkipsHiddenOnes) {
    TempCard card("walk_basic");
    card.Write("a.MP4");
    card.Write("Movie/b.MP4");
    card.Write("Movie/2024/c.MP4");
    card.Write(".Trash/d.MP4");
    card.Write("Movie/.e.MP4");
    std::vector<Visit> visits = Walk(card.Root());
    EXPECT_EQ(Files(visits), (std::set<std::string>{"a.MP4", "Movie/b.MP4", "Movie/2024/c.MP4"}));
    int folders = 0;
    for (const Visit& v : visits)
        if (v.isFolder) {
            ++folders;
            EXPECT_TRUE((v.relative.empty() && v.name == "Movie") ||
                        (v.relative == "Movie/" && v.name == "2024"));
        }
    EXPECT_EQ(folders, 2);

    bool found = true;
    EXPECT_TRUE(Walk(card.Root() / "nothing", &found).empty());
    EXPECT_FALSE(found);
    Walk(card.Root() / "a.MP4", &found);
    EXPECT_FALSE(found);
    Walk(card.Root().string() + "/", &found);
    EXPECT_TRUE(found);
}

TEST(FolderWalk, FollowsLinksButNeverIntoALoopAndSkipsPipesAndDanglingLinks) {
    TempCard card("walk_links");
    card.Write("Movie/a.MP4");
    card.Write("Other/b.MP4");
    fs::create_directory_symlink(card.Root(), card.Root() / "Movie/loop");
    fs::create_directory_symlink(card.Root() / "Movie", card.Root() / "Movie/self");
    fs::create_directory_symlink(card.Root() / "Other", card.Root() / "Link");
    fs::create_symlink(card.Root() / "Movie/a.MP4", card.Root() / "Movie/alias.MP4");
    fs::create_symlink(card.Root() / "gone.MP4", card.Root() / "dangling.MP4");
    ASSERT_EQ(::mkfifo((card.Root() / "pipe.MP4").c_str(), 0644), 0);

    const auto files = Files(Walk(card.Root()));
    EXPECT_EQ(files.count("Movie/a.MP4"), 1u);
    EXPECT_EQ(files.count("Movie/alias.MP4"), 1u);
    EXPECT_EQ(files.count("pipe.MP4"), 0u) << "opening a pipe would block the scan";
    EXPECT_EQ(files.count("dangling.MP4"), 0u);
    // "Other" is reached once, through itself or through "Link", whichever comes first.
    EXPECT_EQ(files.count("Other/b.MP4") + files.count("Link/b.MP4"), 1u);
    EXPECT_EQ(files.size(), 3u);
}

TEST(FolderWalk, SixtyLevelsDeepVisitsFortyLevelsAndStops) {
    TempCard card("walk_deep");
    std::string relative;
    for (int level = 1; level <= 60; ++level) {
        relative += "d" + std::to_string(level) + "/";
        card.Write(relative + "f.MP4");
    }
    const auto visits = Walk(card.Root());
    const auto files = Files(visits);
    EXPECT_EQ(files.size(), kMaxFolderDepth);
    size_t deepest = 0;
    for (const std::string& f : files)
        deepest = std::max<size_t>(deepest, std::count(f.begin(), f.end(), '/'));
    EXPECT_EQ(deepest, kMaxFolderDepth);
    // The folder one level further is still reported, but not entered.
    EXPECT_TRUE(std::any_of(visits.begin(), visits.end(),
                            [](const Visit& v) { return v.isFolder && v.name == "d41"; }));
    EXPECT_FALSE(std::any_of(visits.begin(), visits.end(), [](const Visit& v) { return v.name == "d42"; }));
}
