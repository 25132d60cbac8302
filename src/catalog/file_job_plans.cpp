#include "file_job_plans.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "file_attributes.h"

namespace fs = std::filesystem;

namespace {

// Calls `act` for each file with the progress told before and after; stops on cancel.
template <class Act>
FileOperationReport EachFile(const std::vector<fs::path>& files, const FileWorkProgressFn& progress,
                             const std::atomic<bool>& cancel, Act act) {
    FileOperationReport report;
    report.m_bRan = true;
    FileJobProgress state;
    state.filesTotal = files.size();
    const auto start = std::chrono::steady_clock::now();
    const auto tell = [&] {
        state.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (progress) progress(state);
    };
    for (const fs::path& file : files) {
        state.current = file;
        tell();
        if (cancel) break; // also when asked while the progress was told
        act(file, report);
        ++state.filesDone;
    }
    tell();
    return report;
}

} // namespace

FileOperationReport DeleteFiles(const std::vector<fs::path>& files, const FileWorkProgressFn& progress,
                                const std::atomic<bool>& cancel) {
    return EachFile(files, progress, cancel, [](const fs::path& file, FileOperationReport& report) {
        if (IsReadOnlyFile(file)) { // locked since the plan: still never deleted
            report.Add(file, FileOperationOutcome::kSkippedLocked);
            return;
        }
        if (::unlink(file.c_str()) != 0)
            report.Add(file, FileOperationOutcome::kFailed, errno);
        else
            report.Add(file, FileOperationOutcome::kDone);
    });
}

FileOperationReport ChangeFilesReadOnly(const std::vector<fs::path>& files, bool makeReadOnly,
                                        const FileWorkProgressFn& progress, const std::atomic<bool>& cancel) {
    return EachFile(files, progress, cancel, [makeReadOnly](const fs::path& file, FileOperationReport& report) {
        errno = 0;
        if (makeReadOnly ? MakeFileReadOnly(file) : ClearFileReadOnly(file))
            report.Add(file, FileOperationOutcome::kDone);
        else
            report.Add(file, FileOperationOutcome::kFailed, errno != 0 ? errno : EIO);
    });
}

void MergeReports(FileOperationReport& into, const FileOperationReport& work) {
    into.m_bRan = into.m_bRan || work.m_bRan;
    into.m_Files.insert(into.m_Files.end(), work.m_Files.begin(), work.m_Files.end());
}
