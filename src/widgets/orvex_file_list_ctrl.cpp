#include "orvex_file_list_ctrl.h"

#include <algorithm>

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

uint32_t COrvexFileListCtrl::FolderIndex(const std::string& folder) {
    // Rows come folder by folder: the last folders are the likely ones.
    for (size_t i = m_Folders.size(); i-- > 0 && m_Folders.size() - i <= 4;)
        if (m_Folders[i] == folder) return static_cast<uint32_t>(i);
    m_Folders.push_back(folder);
    return static_cast<uint32_t>(m_Folders.size() - 1);
}

void COrvexFileListCtrl::StoreLine(int group, int position, const std::string& fileName,
                                   const std::string& folder, int64_t startTime, uint32_t durationMs,
                                   uint64_t size) {
    m_Lines.push_back({group, position, startTime, durationMs, FolderIndex(folder), size, fileName});
}

bool COrvexFileListCtrl::AddFileLine(int group, int position, const std::string& fileName,
                                     const std::string& folder, int64_t startTime, uint32_t durationMs,
                                     uint64_t size, int lockMarks) {
    StoreLine(group, position, fileName, folder, startTime, durationMs, size);
    LinesStored({static_cast<uint8_t>(lockMarks)});
    return true;
}

void COrvexFileListCtrl::Fill(const CRecordingCatalog& catalog) {
    DeleteAllLines();
    AppendRows(catalog, 0, catalog.FileRows().size());
}

size_t COrvexFileListCtrl::AppendRows(const CRecordingCatalog& catalog, size_t first, size_t count) {
    const auto& rows = catalog.FileRows();
    const auto& entries = catalog.Entries();
    const size_t end = first < rows.size() ? first + std::min(count, rows.size() - first) : first;
    std::vector<uint8_t> lockMarks;
    lockMarks.reserve(end - first);
    m_Lines.reserve(m_Lines.size() + (end - first));
    for (size_t line = first; line < end; ++line) {
        const FileRow& row = rows[line];
        const size_t index = static_cast<size_t>(row.m_nEntry);
        if (row.m_nEntry < 0 || index >= entries.size()) continue;
        const RecordingEntry& entry = entries[index];
        StoreLine(row.m_nGroup, row.m_nPosition, entry.m_strFileName, catalog.EntryFolderText(index),
                  entry.m_MediaInfo.m_llStartTime, row.m_uDurationMs, row.m_ullSize);
        lockMarks.push_back(static_cast<uint8_t>(entry.m_nLockMarks));
    }
    LinesStored(lockMarks);
    return end - first;
}

QString COrvexFileListCtrl::CellText(int line, int column) const {
    if (line < 0 || static_cast<size_t>(line) >= m_Lines.size()) return {};
    const FileLine& l = m_Lines[static_cast<size_t>(line)];
    switch (column) {
    case 0:
        return Text(FileIdText(l.group, l.position));
    case 1:
        return Text(FileNameColumnText(l.fileName));
    case 2:
        return Text(TimeOfDayText(l.startTime));
    case 3:
        return Text(EndTimeText(l.startTime, l.durationMs));
    case 4:
        return Text(MegabytesText(l.size));
    case 5:
        return l.folder < m_Folders.size() ? Text(m_Folders[l.folder]) : QString();
    default:
        return {};
    }
}

void COrvexFileListCtrl::ForgetLines() {
    m_Lines.clear();
    m_Lines.shrink_to_fit();
    m_Folders.clear();
}
