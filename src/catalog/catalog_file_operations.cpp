// Lock, unlock, delete and copy of the marked groups.
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <system_error>

#include "directory_tree.h"
#include "file_attributes.h"
#include "recording_catalog.h"
#include "safe_copy.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kAnyLockMark = kLockMarkG | kLockMarkM;

// Entry indices [first, end) of a row, clamped to the entries that exist.
struct EntryRange {
    size_t first, end;
};
EntryRange EntriesOf(const GroupRow& row, size_t entryCount) {
    const size_t first = static_cast<size_t>(std::max(row.m_nFirstEntry, 0));
    const size_t end = first + static_cast<size_t>(std::max(row.m_nFileCount, 0));
    return {std::min(first, entryCount), std::min(end, entryCount)};
}

} // namespace

bool CRecordingCatalog::MarkGroups() {
    bool any = false;
    for (size_t line = 0; line < m_GroupRows.size(); ++line) {
        // Only a ticked line marks: a line that is merely selected (a click on a recording to
        // play it) must never make a recording go.
        const bool marked = m_pGroupLines && m_pGroupLines->IsGroupLineTicked(line);
        m_GroupRows[line].m_nMarked = marked ? 1 : 0;
        any = any || marked;
    }
    return any;
}

int CRecordingCatalog::CurrentGroup() {
    m_nCurrentGroup = -1;
    if (m_nCurrentEntry < 0) return -1;
    for (const GroupRow& row : m_GroupRows)
        if (static_cast<int64_t>(row.m_nFirstEntry) + row.m_nFileCount > m_nCurrentEntry) {
            m_nCurrentGroup = row.m_nGroup;
            break;
        }
    return m_nCurrentGroup;
}

bool CRecordingCatalog::CurrentGroupLocked() {
    const int group = CurrentGroup();
    if (group < 0 || static_cast<size_t>(group) >= m_GroupRows.size()) return false;
    return GroupHoldsLockedFile(m_GroupRows[static_cast<size_t>(group)]);
}

// The group shows what its files carry, also when an attribute change failed.
void CRecordingCatalog::RecomputeGroupLockMarks(GroupRow& row) const {
    row.m_byLockMarks = 0;
    const EntryRange range = EntriesOf(row, m_Entries.size());
    for (size_t i = range.first; i < range.end; ++i)
        row.m_byLockMarks |= static_cast<uint8_t>(m_Entries[i].m_nLockMarks);
}

bool CRecordingCatalog::GroupHoldsLockedFile(const GroupRow& row) const {
    const EntryRange range = EntriesOf(row, m_Entries.size());
    for (size_t i = range.first; i < range.end; ++i)
        if ((m_Entries[i].m_nLockMarks & kAnyLockMark) || IsReadOnlyFile(EntryPath(i))) return true;
    return false;
}

MarkedSelection CRecordingCatalog::InspectMarked() {
    MarkedSelection selection;
    if (!MarkGroups()) return selection;
    for (const GroupRow& row : m_GroupRows) {
        if (!row.m_nMarked) continue;
        ++selection.m_nGroups;
        if (GroupHoldsLockedFile(row)) ++selection.m_nLockedGroups;
        const EntryRange range = EntriesOf(row, m_Entries.size());
        for (size_t i = range.first; i < range.end; ++i)
            selection.m_Files.push_back(EntryPath(i));
    }
    return selection;
}

FileOperationReport
CRecordingCatalog::ChangeMarkedEntries(const std::function<void(size_t, FileOperationReport&)>& change) {
    FileOperationReport report;
    report.m_bRan = MarkGroups();
    if (!report) return report;
    for (GroupRow& row : m_GroupRows) {
        if (!row.m_nMarked) continue;
        const EntryRange range = EntriesOf(row, m_Entries.size());
        for (size_t i = range.first; i < range.end; ++i)
            change(i, report);
        RecomputeGroupLockMarks(row);
    }
    NotifyRowsChanged();
    return report;
}

namespace {

// One attribute change, reported with the system's reason when it fails.
bool ReportChange(FileOperationReport& report, const fs::path& path, bool (*changeFile)(const fs::path&)) {
    errno = 0;
    if (changeFile(path)) {
        report.Add(path, FileOperationOutcome::kDone);
        return true;
    }
    report.Add(path, FileOperationOutcome::kFailed, errno != 0 ? errno : EIO);
    return false;
}

} // namespace

FileOperationReport CRecordingCatalog::LockMarked() {
    return ChangeMarkedEntries([this](size_t i, FileOperationReport& report) {
        RecordingEntry& entry = m_Entries[i];
        if (entry.m_nLockMarks & kAnyLockMark) return;
        const fs::path path = EntryPath(i);
        if (IsReadOnlyFile(path)) { // locked already, by the camera or by hand: show it
            entry.m_nLockMarks = kLockMarkM;
            return;
        }
        if (ReportChange(report, path, MakeFileReadOnly)) entry.m_nLockMarks = kLockMarkM;
    });
}

FileOperationReport CRecordingCatalog::UnlockMarked() {
    return ChangeMarkedEntries([this](size_t i, FileOperationReport& report) {
        RecordingEntry& entry = m_Entries[i];
        const fs::path path = EntryPath(i);
        // A file without a mark but without a write bit is locked too.
        if ((entry.m_nLockMarks & kAnyLockMark) == 0 && !IsReadOnlyFile(path)) return;
        if (ReportChange(report, path, ClearFileReadOnly)) entry.m_nLockMarks &= ~kAnyLockMark;
    });
}

bool CRecordingCatalog::RemoveEntry(size_t index) {
    if (index >= m_Entries.size()) return false;
    ++m_llRevision;
    m_Entries.erase(m_Entries.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < m_FileRows.size()) m_FileRows.erase(m_FileRows.begin() + static_cast<std::ptrdiff_t>(index));
    // The entry being played keeps its place; when it is gone there is none.
    const int removed = static_cast<int>(index);
    if (m_nCurrentEntry == removed)
        m_nCurrentEntry = -1;
    else if (m_nCurrentEntry > removed)
        --m_nCurrentEntry;
    return true;
}

FileOperationReport CRecordingCatalog::DeleteMarked() {
    FileOperationReport report;
    report.m_bRan = MarkGroups();
    if (!report) return report;
    int deleted = 0;
    // Backwards, so the entry indices still to be visited stay valid while entries go.
    for (size_t r = m_GroupRows.size(); r-- > 0;) {
        const GroupRow row = m_GroupRows[r];
        if (!row.m_nMarked) continue;
        const EntryRange range = EntriesOf(row, m_Entries.size());
        // A locked event is kept whole: its rear and its neighbours are part of the evidence.
        if (GroupHoldsLockedFile(row)) {
            size_t locked = range.first;
            while (locked + 1 < range.end && !(m_Entries[locked].m_nLockMarks & kAnyLockMark) &&
                   !IsReadOnlyFile(EntryPath(locked)))
                ++locked;
            report.Add(EntryPath(locked), FileOperationOutcome::kSkippedLocked, 0, range.end - range.first);
            continue;
        }
        for (size_t index = range.end; index-- > range.first;) {
            const fs::path path = EntryPath(index);
            // Locked between the check above and now: still never deleted.
            if ((m_Entries[index].m_nLockMarks & kAnyLockMark) || IsReadOnlyFile(path)) {
                report.Add(path, FileOperationOutcome::kSkippedLocked);
                continue;
            }
            if (::unlink(path.c_str()) != 0) {
                report.Add(path, FileOperationOutcome::kFailed, errno);
                continue;
            }
            report.Add(path, FileOperationOutcome::kDone);
            if (RemoveEntry(index)) ++deleted;
        }
    }
    if (deleted > 0) GroupCatalog();
    return report;
}

FileOperationReport CRecordingCatalog::CopyMarked(const fs::path& destination,
                                                  const ConfirmOverwriteFn& confirmOverwrite) {
    FileOperationReport report;
    report.m_bRan = MarkGroups();
    if (!report) return report;
    for (const GroupRow& row : m_GroupRows) {
        if (!row.m_nMarked) continue;
        const EntryRange range = EntriesOf(row, m_Entries.size());
        for (size_t i = range.first; i < range.end; ++i) {
            const RecordingEntry& entry = m_Entries[i];
            const fs::path folder = destination / entry.m_strSubfolder;
            const fs::path target = folder / entry.m_strFileName;
            std::error_code ec;
            errno = 0;
            if (!fs::is_directory(folder, ec) && !CreateDirectoryTree(folder)) {
                report.Add(target, FileOperationOutcome::kFailed, errno != 0 ? errno : ENOTDIR);
                continue;
            }
            if (fs::exists(fs::symlink_status(target, ec))) {
                if (!(confirmOverwrite && confirmOverwrite(target))) {
                    report.Add(target, FileOperationOutcome::kSkippedDeclined);
                    continue;
                }
                if (IsReadOnlyFile(target)) { // a locked recording is not overwritten
                    report.Add(target, FileOperationOutcome::kSkippedLocked);
                    continue;
                }
            }
            const fs::path source = EntryPath(i);
            if (IsSameFile(source, target)) {
                report.Add(target, FileOperationOutcome::kSkippedSameFile);
                continue;
            }
            int error = 0;
            if (CopyFileViaTemporary(source, target, &error))
                report.Add(target, FileOperationOutcome::kDone);
            else
                report.Add(target, FileOperationOutcome::kFailed, error);
        }
    }
    return report;
}
