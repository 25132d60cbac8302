#include <gtest/gtest.h>

#include "group_marks.h"

#include <set>

namespace {

struct Lines : IGroupLineState {
    bool IsGroupLineSelected(size_t line) const override { return selected.count(line) != 0; }
    bool IsGroupLineTicked(size_t line) const override { return ticked.count(line) != 0; }
    std::set<size_t> selected, ticked;
};

// Three groups: 0 with files 0 and 1, 1 with file 2, 2 with files 3 and 4.
std::vector<FileRow> Rows() {
    std::vector<FileRow> rows(5);
    const int groups[] = {0, 0, 1, 2, 2};
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].m_nGroup = groups[i];
        rows[i].m_nEntry = static_cast<int32_t>(i);
    }
    return rows;
}

} // namespace

TEST(GroupMarks, ATickedFileLineMarksItsGroupBesideTheGroupListsOwnTicks) {
    Lines groups;
    groups.ticked = {1};
    groups.selected = {0};
    const CGroupMarksOfBothLists marks(&groups, Rows(), [](size_t line) { return line == 4; });
    EXPECT_FALSE(marks.IsGroupLineTicked(0)) << "a selected group line is not a tick";
    EXPECT_TRUE(marks.IsGroupLineTicked(1));
    EXPECT_TRUE(marks.IsGroupLineTicked(2)); // by its second file
    EXPECT_FALSE(marks.IsGroupLineTicked(3)); // no such group
}

TEST(GroupMarks, WithoutAGroupListOnlyTheFileLinesCount) {
    const CGroupMarksOfBothLists none(nullptr, Rows(), [](size_t) { return false; });
    for (size_t group = 0; group < 3; ++group)
        EXPECT_FALSE(none.IsGroupLineSelected(group) || none.IsGroupLineTicked(group));
    const CGroupMarksOfBothLists first(nullptr, Rows(), [](size_t line) { return line == 1; });
    EXPECT_TRUE(first.IsGroupLineTicked(0));
    EXPECT_FALSE(first.IsGroupLineTicked(1));
    EXPECT_FALSE(first.IsGroupLineSelected(0));
    // A row outside any group (negative number) marks nothing.
    std::vector<FileRow> odd = Rows();
    odd[0].m_nGroup = -1;
    const CGroupMarksOfBothLists stray(nullptr, odd, [](size_t line) { return line == 0; });
    EXPECT_FALSE(stray.IsGroupLineTicked(0));
}
