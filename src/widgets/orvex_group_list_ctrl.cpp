#include "orvex_group_list_ctrl.h"

#include <algorithm>
#include <climits>

#include "list_columns.h"
#include "private_message.h"
#include "recording_catalog.h"

namespace {

// Group, Resolution, Start Time, Length, File Size: each 1/5 of the control's width.
constexpr ListColumnSpec kGroupColumns[] = {
    {118, 1, 5}, {119, 1, 5}, {120, 1, 5}, {121, 1, 5}, {122, 1, 5},
};

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

int LineOf(size_t line) {
    return line > static_cast<size_t>(INT_MAX) ? -1 : static_cast<int>(line);
}

} // namespace

COrvexGroupListCtrl::COrvexGroupListCtrl(QWidget* parent)
    : COrvexListCtrl(MSG_GROUP_CHOSEN, kGroupColumns, parent) {}

bool COrvexGroupListCtrl::AddGroupLine(int group, const std::string& resolution, int64_t startTime,
                                       int64_t lengthMs, uint64_t totalSize, int lockMarks) {
    m_Lines.push_back({group, startTime, lengthMs, totalSize, resolution});
    LinesStored({static_cast<uint8_t>(lockMarks)});
    return true;
}

void COrvexGroupListCtrl::Fill(const CRecordingCatalog& catalog) {
    DeleteAllLines();
    AppendRows(catalog, 0, catalog.GroupRows().size());
}

size_t COrvexGroupListCtrl::AppendRows(const CRecordingCatalog& catalog, size_t first, size_t count) {
    const auto& rows = catalog.GroupRows();
    const auto& entries = catalog.Entries();
    const size_t end = first < rows.size() ? first + std::min(count, rows.size() - first) : first;
    std::vector<uint8_t> lockMarks;
    lockMarks.reserve(end - first);
    for (size_t line = first; line < end; ++line) {
        const GroupRow& row = rows[line];
        const size_t firstEntry = static_cast<size_t>(row.m_nFirstEntry);
        if (row.m_nFirstEntry < 0 || firstEntry >= entries.size()) continue;
        const MediaInfo& info = entries[firstEntry].m_MediaInfo;
        m_Lines.push_back({row.m_nGroup, info.m_llStartTime, row.m_llLengthMs, row.m_ullSize,
                           ResolutionName(info.m_wWidth, info.m_wHeight)});
        lockMarks.push_back(row.m_byLockMarks);
    }
    LinesStored(lockMarks);
    return end - first;
}

QString COrvexGroupListCtrl::CellText(int line, int column) const {
    if (line < 0 || static_cast<size_t>(line) >= m_Lines.size()) return {};
    const GroupLine& l = m_Lines[static_cast<size_t>(line)];
    switch (column) {
    case 0:
        return Text(GroupIdText(l.group));
    case 1:
        return Text(l.resolution);
    case 2:
        return Text(GroupStartText(l.startTime));
    case 3:
        return Text(GroupLengthText(l.lengthMs));
    case 4:
        return Text(MegabytesText(l.totalSize));
    default:
        return {};
    }
}

void COrvexGroupListCtrl::ForgetLines() {
    m_Lines.clear();
    m_Lines.shrink_to_fit();
}

bool COrvexGroupListCtrl::IsGroupLineSelected(size_t line) const {
    return IsLineSelected(LineOf(line));
}

bool COrvexGroupListCtrl::IsGroupLineTicked(size_t line) const {
    return IsLineTicked(LineOf(line));
}
