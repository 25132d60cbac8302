// What the catalog's delete and copy did to each file, so that the main window can tell the user.
//
// CRecordingCatalog::DeleteMarked and CopyMarked return a FileOperationReport with one
// FileOperationResult per file of the marked groups that the operation reached, in the order the
// files were visited (delete: last marked group first and, inside a group, last file first; copy:
// list order). Outcomes:
//   kDone             the file was deleted / copied.
//   kSkippedLocked    delete: the group holds a locked recording (lock mark or no write bit) and
//                     none of its files is deleted; one result per such group, naming its first
//                     locked file, with m_nFiles = the files of the group. Copy: the target exists
//                     and is locked, so it is not overwritten.
//   kSkippedDeclined  copy: the target exists and the overwrite question was answered no (or
//                     there was no way to ask).
//   kSkippedSameFile  copy: the target is the source itself.
//   kFailed           the system refused; m_nError holds the errno value (std::strerror or
//                     std::generic_category().message() give the words).
// Lock and unlock report the files whose state changed (kDone) or could not be changed (kFailed);
// a file already in the wanted state is not listed.
// A report converts to true when at least one group was marked, i.e. the operation ran at all
// (false: nothing was marked, nothing was tried, the list is empty).
#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <vector>

enum class FileOperationOutcome { kDone, kSkippedLocked, kSkippedDeclined, kSkippedSameFile, kFailed };

struct FileOperationResult {
    std::filesystem::path m_Path; // the catalog file (delete) or the target (copy)
    FileOperationOutcome m_eOutcome = FileOperationOutcome::kDone;
    int m_nError = 0; // errno when m_eOutcome is kFailed, else 0
    size_t m_nFiles = 1; // files this result stands for (a whole locked group when deleting)
};

struct FileOperationReport {
    bool m_bRan = false; // at least one group was marked
    std::vector<FileOperationResult> m_Files;

    explicit operator bool() const { return m_bRan; }
    size_t Count(FileOperationOutcome outcome) const {
        return static_cast<size_t>(
            std::count_if(m_Files.begin(), m_Files.end(),
                          [&](const FileOperationResult& r) { return r.m_eOutcome == outcome; }));
    }
    // Files of all results (a locked group counts with all of its files).
    size_t FileCount() const {
        size_t files = 0;
        for (const FileOperationResult& r : m_Files)
            files += r.m_nFiles;
        return files;
    }
    // Every file reached was done (also true when there was none).
    bool AllDone() const { return Count(FileOperationOutcome::kDone) == m_Files.size(); }
    void Add(const std::filesystem::path& path, FileOperationOutcome outcome, int error = 0, size_t files = 1) {
        m_Files.push_back({path, outcome, error, files});
    }
};

// The groups a command would act on, read before it runs: how many are marked, how many of them
// hold a locked file (lock mark or no write bit), and their files in list order.
struct MarkedSelection {
    size_t m_nGroups = 0;
    size_t m_nLockedGroups = 0;
    std::vector<std::filesystem::path> m_Files;

    bool Empty() const { return m_nGroups == 0; }
    // Every marked group holds a locked file: the lock command unlocks.
    bool AllLocked() const { return m_nGroups > 0 && m_nLockedGroups == m_nGroups; }
};
