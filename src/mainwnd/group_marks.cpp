#include "group_marks.h"

CGroupMarksOfBothLists::CGroupMarksOfBothLists(const IGroupLineState* groups,
                                               const std::vector<FileRow>& fileRows,
                                               const std::function<bool(size_t line)>& fileLineTicked)
    : m_pGroups(groups) {
    for (size_t line = 0; line < fileRows.size(); ++line) {
        const int32_t group = fileRows[line].m_nGroup;
        if (group < 0 || !fileLineTicked(line)) continue;
        const auto index = static_cast<size_t>(group);
        if (index >= m_TickedByFiles.size()) m_TickedByFiles.resize(index + 1, false);
        m_TickedByFiles[index] = true;
    }
}

bool CGroupMarksOfBothLists::IsGroupLineSelected(size_t line) const {
    return m_pGroups && m_pGroups->IsGroupLineSelected(line);
}

bool CGroupMarksOfBothLists::IsGroupLineTicked(size_t line) const {
    if (line < m_TickedByFiles.size() && m_TickedByFiles[line]) return true;
    return m_pGroups && m_pGroups->IsGroupLineTicked(line);
}
