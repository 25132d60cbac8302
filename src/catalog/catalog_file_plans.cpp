// The plans and apply steps of the file commands whose file work runs on a worker thread.
#include <algorithm>
#include <set>
#include <system_error>

#include "file_attributes.h"
#include "recording_catalog.h"
#include "safe_copy.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kAnyLockMark = kLockMarkG | kLockMarkM;

struct EntrySpan {
    size_t first, end;
};
EntrySpan SpanOf(const GroupRow& row, size_t entryCount) {
    const size_t first = static_cast<size_t>(std::max(row.m_nFirstEntry, 0));
    const size_t end = first + static_cast<size_t>(std::max(row.m_nFileCount, 0));
    return {std::min(first, entryCount), std::min(end, entryCount)};
}

} // namespace

DeletePlan CRecordingCatalog::PlanDeleteMarked() {
    DeletePlan plan;
    plan.report.m_bRan = MarkGroups();
    if (!plan.report) return plan;
    // Last group first and, inside a group, last file first, as DeleteMarked visits them.
    for (size_t r = m_GroupRows.size(); r-- > 0;) {
        const GroupRow& row = m_GroupRows[r];
        if (!row.m_nMarked) continue;
        const EntrySpan span = SpanOf(row, m_Entries.size());
        // A locked event is kept whole: its rear and its neighbours are part of the evidence.
        if (GroupHoldsLockedFile(row)) {
            size_t locked = span.first;
            while (locked + 1 < span.end && !(m_Entries[locked].m_nLockMarks & kAnyLockMark) &&
                   !IsReadOnlyFile(EntryPath(locked)))
                ++locked;
            plan.report.Add(EntryPath(locked), FileOperationOutcome::kSkippedLocked, 0, span.end - span.first);
            continue;
        }
        for (size_t index = span.end; index-- > span.first;)
            plan.files.push_back(EntryPath(index));
    }
    return plan;
}

void CRecordingCatalog::ForgetDeletedFiles(const FileOperationReport& report) {
    std::set<fs::path> deleted;
    for (const FileOperationResult& result : report.m_Files)
        if (result.m_eOutcome == FileOperationOutcome::kDone) deleted.insert(result.m_Path);
    if (deleted.empty()) return;
    bool removed = false;
    // Backwards, so the indices still to be visited stay valid while entries go.
    for (size_t index = m_Entries.size(); index-- > 0;)
        if (deleted.count(EntryPath(index)) != 0) removed = RemoveEntry(index) || removed;
    if (removed) GroupCatalog();
}

ReadOnlyPlan CRecordingCatalog::PlanReadOnlyMarked(bool makeReadOnly) {
    ReadOnlyPlan plan;
    plan.makeReadOnly = makeReadOnly;
    plan.report.m_bRan = MarkGroups();
    if (!plan.report) return plan;
    for (GroupRow& row : m_GroupRows) {
        if (!row.m_nMarked) continue;
        const EntrySpan span = SpanOf(row, m_Entries.size());
        for (size_t i = span.first; i < span.end; ++i) {
            RecordingEntry& entry = m_Entries[i];
            const fs::path path = EntryPath(i);
            const bool marked = (entry.m_nLockMarks & kAnyLockMark) != 0;
            if (makeReadOnly) {
                if (marked) continue;
                if (IsReadOnlyFile(path)) { // locked already, by the camera or by hand: show it
                    entry.m_nLockMarks = kLockMarkM;
                    continue;
                }
                plan.files.push_back(path);
            } else if (marked || IsReadOnlyFile(path)) { // no mark but no write bit: locked too
                plan.files.push_back(path);
            }
        }
    }
    return plan;
}

void CRecordingCatalog::ApplyReadOnlyChanges(bool madeReadOnly, const FileOperationReport& report) {
    std::set<fs::path> changed;
    for (const FileOperationResult& result : report.m_Files)
        if (result.m_eOutcome == FileOperationOutcome::kDone) changed.insert(result.m_Path);
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        if (changed.empty()) break;
        if (changed.count(EntryPath(i)) == 0) continue;
        if (madeReadOnly)
            m_Entries[i].m_nLockMarks = kLockMarkM;
        else
            m_Entries[i].m_nLockMarks &= ~kAnyLockMark;
    }
    // The groups show what their files carry, also when a change failed.
    for (GroupRow& row : m_GroupRows)
        RecomputeGroupLockMarks(row);
    NotifyRowsChanged();
}

CopyPlan CRecordingCatalog::PlanCopyMarked(const fs::path& destination, const ConfirmOverwriteFn& confirmOverwrite) {
    CopyPlan plan;
    plan.report.m_bRan = MarkGroups();
    if (!plan.report) return plan;
    for (const GroupRow& row : m_GroupRows) {
        if (!row.m_nMarked) continue;
        const EntrySpan span = SpanOf(row, m_Entries.size());
        for (size_t i = span.first; i < span.end; ++i) {
            const RecordingEntry& entry = m_Entries[i];
            const fs::path target = destination / entry.m_strSubfolder / entry.m_strFileName;
            std::error_code ec;
            if (fs::exists(fs::symlink_status(target, ec))) {
                if (!(confirmOverwrite && confirmOverwrite(target))) {
                    plan.report.Add(target, FileOperationOutcome::kSkippedDeclined);
                    continue;
                }
                if (IsReadOnlyFile(target)) { // a locked recording is not overwritten
                    plan.report.Add(target, FileOperationOutcome::kSkippedLocked);
                    continue;
                }
            }
            const fs::path source = EntryPath(i);
            if (IsSameFile(source, target)) {
                plan.report.Add(target, FileOperationOutcome::kSkippedSameFile);
                continue;
            }
            plan.items.push_back({source, target});
        }
    }
    return plan;
}
