// The file commands in three steps, so that the file work can run on a worker thread while the
// catalog (which is not thread-safe) is only read and changed on its own thread:
//   1. plan   (catalog thread): CRecordingCatalog::Plan*Marked reads the marked groups and says
//             which files the work may touch, and what it leaves out already (locked groups,
//             declined or locked targets); nothing on disk changes.
//   2. work   (any thread):     DeleteFiles, ChangeFilesReadOnly or a CCopyJob act on the plan's
//             plain paths only, report progress and stop between files (or blocks) on cancel.
//   3. apply  (catalog thread): CRecordingCatalog::ForgetDeletedFiles / ApplyReadOnlyChanges take
//             the work's report back into the entries and the lists.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <vector>

#include "copy_job.h"
#include "file_operation_report.h"

// What is left out from the start is already in `report` (converting to false when nothing was
// marked); the work's own report is appended to it with MergeReports.
struct DeletePlan {
    FileOperationReport report;               // locked groups, kept whole
    std::vector<std::filesystem::path> files; // in the order of DeleteMarked
};

struct ReadOnlyPlan {
    bool makeReadOnly = true; // lock; false: unlock
    FileOperationReport report;
    std::vector<std::filesystem::path> files; // only those whose state changes
};

struct CopyPlan {
    FileOperationReport report; // declined, locked or same-file targets
    std::vector<CopyItem> items;
};

using FileWorkProgressFn = std::function<void(const FileJobProgress&)>;

// Deletes `files` in order. A file that has become read-only since the plan is kept
// (kSkippedLocked); cancel is heard between files, and the files not reached are not listed.
FileOperationReport DeleteFiles(const std::vector<std::filesystem::path>& files, const FileWorkProgressFn& progress,
                                const std::atomic<bool>& cancel);

// Clears (makeReadOnly) or gives back the write bits of `files` in order: kDone or kFailed with
// the errno; cancel is heard between files.
FileOperationReport ChangeFilesReadOnly(const std::vector<std::filesystem::path>& files, bool makeReadOnly,
                                        const FileWorkProgressFn& progress, const std::atomic<bool>& cancel);

// `work`'s results appended to `into`.
void MergeReports(FileOperationReport& into, const FileOperationReport& work);
