#include "orvex_file_list_ctrl.h"

#include "list_columns.h"
#include "private_message.h"
#include "recording_catalog.h"

namespace {

// ID, File Name, Start Time, End Time, File Size, Folder: each 3/10 of the control's width, so the
// view scrolls sideways.
constexpr ListColumnSpec kFileColumns[] = {
    {123, 3, 10}, {124, 3, 10}, {120, 3, 10}, {125, 3, 10}, {122, 3, 10}, {126, 3, 10},
};

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

COrvexFileListCtrl::COrvexFileListCtrl(QWidget* parent)
    : COrvexListCtrl(MSG_FILE_CHOSEN, kFileColumns, parent) {}

bool COrvexFileListCtrl::AddFileLine(int group, int position, const std::string& fileName,
                                     const std::string& folder, int64_t startTime, uint32_t durationMs,
                                     uint64_t size, int lockMarks) {
    return AddLine({Text(FileIdText(group, position)), Text(FileNameColumnText(fileName)),
                    Text(TimeOfDayText(startTime)), Text(EndTimeText(startTime, durationMs)),
                    Text(MegabytesText(size)), Text(folder)},
                   lockMarks);
}

void COrvexFileListCtrl::Fill(const CRecordingCatalog& catalog) {
    DeleteAllLines();
    const auto& entries = catalog.Entries();
    for (const FileRow& row : catalog.FileRows()) {
        const size_t index = static_cast<size_t>(row.m_nEntry);
        if (row.m_nEntry < 0 || index >= entries.size()) continue;
        const RecordingEntry& entry = entries[index];
        AddFileLine(row.m_nGroup, row.m_nPosition, entry.m_strFileName, catalog.EntryFolderText(index),
                    entry.m_MediaInfo.m_llStartTime, row.m_uDurationMs, row.m_ullSize, entry.m_nLockMarks);
    }
}
