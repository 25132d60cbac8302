// Which groups a file command acts on, seen through both lists. The group list is hidden in this
// window, so the file list is where the user picks recordings: a ticked file line marks its whole
// group, as the group's own ticked line does. Selection is not a mark.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "catalog_rows.h"
#include "catalog_view.h"

class CGroupMarksOfBothLists : public IGroupLineState {
  public:
    // `groups`: the group list's lines (may be null). `fileLineTicked(i)`: file line i is ticked;
    // file line i shows fileRows[i]. Taken once, at construction.
    CGroupMarksOfBothLists(const IGroupLineState* groups, const std::vector<FileRow>& fileRows,
                           const std::function<bool(size_t line)>& fileLineTicked);

    // The group's line is selected.
    bool IsGroupLineSelected(size_t line) const override;
    // The group's line is ticked, or a line of one of its files is.
    bool IsGroupLineTicked(size_t line) const override;

  private:
    const IGroupLineState* m_pGroups;
    std::vector<bool> m_TickedByFiles; // by group number
};
