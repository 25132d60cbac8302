#include "orvex_group_list_ctrl.h"

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
    return AddLine({Text(GroupIdText(group)), Text(resolution), Text(GroupStartText(startTime)),
                    Text(GroupLengthText(lengthMs)), Text(MegabytesText(totalSize))},
                   lockMarks);
}

void COrvexGroupListCtrl::Fill(const CRecordingCatalog& catalog) {
    DeleteAllLines();
    const auto& entries = catalog.Entries();
    for (const GroupRow& row : catalog.GroupRows()) {
        const size_t first = static_cast<size_t>(row.m_nFirstEntry);
        if (row.m_nFirstEntry < 0 || first >= entries.size()) continue;
        const MediaInfo& info = entries[first].m_MediaInfo;
        AddGroupLine(row.m_nGroup, ResolutionName(info.m_wWidth, info.m_wHeight), info.m_llStartTime,
                     row.m_llLengthMs, row.m_ullSize, row.m_byLockMarks);
    }
}

bool COrvexGroupListCtrl::IsGroupLineSelected(size_t line) const {
    return IsLineSelected(LineOf(line));
}

bool COrvexGroupListCtrl::IsGroupLineTicked(size_t line) const {
    return IsLineTicked(LineOf(line));
}
