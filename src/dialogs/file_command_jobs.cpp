#include "file_command_jobs.h"

#include <QEventLoop>
#include <QProgressDialog>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "lang_text.h"
#include "language.h"
#include "string_tables.h"

namespace {

constexpr unsigned IDS_SAVE_AS_TITLE = 212; // "Save as"

UserMessage Warning(std::string text) {
    UserMessage message;
    message.m_strText = std::move(text);
    message.m_strCaption = LoadLangString(IDS_WARNING);
    message.m_eIcon = MessageIcon::kExclamation;
    return message;
}

// The file the Cancel left out is no failure of the system.
void DropCancelled(FileOperationReport& report) {
    auto& files = report.m_Files;
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const FileOperationResult& r) {
                                   return r.m_eOutcome == FileOperationOutcome::kFailed && r.m_nError == ECANCELED;
                               }),
                files.end());
}

} // namespace

// The folder as the user reads it (U+FFFD for bytes that are not UTF-8).
UserMessage NoSpaceMessage(const SpaceCheck& shortage) {
    return Warning(FillPlaceholders(LoadLangString(IDS_JOB_NO_SPACE),
                                    {QString::fromUtf8(shortage.folder.native()).toStdString(), FormatByteSize(shortage.needed),
                                     FormatByteSize(shortage.available)}));
}

CFileCommandJobs::CFileCommandJobs(QWidget* dialogParent, AskUserFn ask, QObject* parent)
    : QObject(parent), m_Ask(std::move(ask)), m_Runner(dialogParent) {}

bool CFileCommandJobs::RefuseWhileBusy() {
    if (!Busy()) return false;
    m_Ask(Warning(m_Runner.RefusalText().toStdString()));
    return true;
}

std::optional<FileJobOutcome> CFileCommandJobs::RunAndWait(const QString& title, FileJob job) {
    std::optional<FileJobOutcome> outcome;
    QEventLoop loop;
    QString refusal;
    const bool started = m_Runner.Start(
        title, std::move(job),
        [&](const FileJobOutcome& ended) {
            outcome = ended;
            loop.quit();
        },
        &refusal);
    if (!started) {
        m_Ask(Warning(refusal.toStdString()));
        return std::nullopt;
    }
    if (!outcome) loop.exec(); // the window goes on answering and playing here
    return outcome;
}

FileOperationReport CFileCommandJobs::Copy(CopyPlan plan) {
    FileOperationReport report = std::move(plan.report);
    if (!report || plan.items.empty()) return report;
    auto job = std::make_shared<CCopyJob>(std::move(plan.items), m_FreeSpace);
    const std::optional<FileJobOutcome> outcome =
        RunAndWait(LangText(IDS_SAVE_AS_TITLE),
                   [job](const auto& progress, const std::atomic<bool>& cancel) { return job->Run(progress, cancel); });
    if (!outcome) return report;
    // The worker has ended: its job can be read here.
    if (!job->SpaceShortage().enough) {
        m_Ask(NoSpaceMessage(job->SpaceShortage()));
        return report;
    }
    FileOperationReport work = outcome->report;
    if (outcome->cancelled) DropCancelled(work);
    MergeReports(report, work);
    return report;
}

FileOperationReport CFileCommandJobs::Delete(DeletePlan plan) {
    FileOperationReport report = std::move(plan.report);
    if (!report || plan.files.empty()) return report;
    const std::optional<FileJobOutcome> outcome =
        RunAndWait(LangText(IDS_DELETE_FILES), [files = std::move(plan.files)](const auto& progress,
                                                                             const std::atomic<bool>& cancel) {
            return DeleteFiles(files, progress, cancel);
        });
    if (outcome) MergeReports(report, outcome->report);
    return report;
}

FileOperationReport CFileCommandJobs::ChangeReadOnly(ReadOnlyPlan plan) {
    FileOperationReport report = std::move(plan.report);
    if (!report || plan.files.empty()) return report;
    const bool readOnly = plan.makeReadOnly;
    const std::optional<FileJobOutcome> outcome =
        RunAndWait(LangText(readOnly ? IDS_LOCK_FILES : IDS_UNLOCK_FILES),
                   [files = std::move(plan.files), readOnly](const auto& progress, const std::atomic<bool>& cancel) {
                       return ChangeFilesReadOnly(files, readOnly, progress, cancel);
                   });
    if (outcome) MergeReports(report, outcome->report);
    return report;
}
