#include "file_command_flows.h"

namespace fs = std::filesystem;

namespace {

// Nothing marked, the failure report, or done.
FileCommandResult Conclude(const FileCommandHooks& hooks, const FileOperationReport& report) {
    if (!report) {
        hooks.ask(NoSelectedFilesMessage());
        return FileCommandResult::kNothingMarked;
    }
    if (const std::optional<UserMessage> failures = FailureReport(report)) {
        hooks.ask(*failures);
        return FileCommandResult::kSomeFailed;
    }
    return FileCommandResult::kDone;
}

// Empty list or nothing ticked: said so, and the command stops before it asks anything.
std::optional<FileCommandResult> RefuseWithoutMarks(const FileCommandHooks& hooks, MarkedSelection& selection) {
    if (hooks.catalogEmpty()) {
        hooks.ask(NoFilesInListMessage());
        return FileCommandResult::kEmptyList;
    }
    selection = hooks.inspectMarked();
    if (selection.Empty()) {
        hooks.ask(NoSelectedFilesMessage());
        return FileCommandResult::kNothingMarked;
    }
    return std::nullopt;
}

} // namespace

FileCommandResult RunSaveAs(const FileCommandHooks& hooks) {
    MarkedSelection selection;
    if (const auto refused = RefuseWithoutMarks(hooks, selection)) return *refused;
    // Either engine may have been the one playing (a rear file alone plays on the rear engine).
    const bool paused = hooks.pausePlaying();
    const std::optional<fs::path> folder = hooks.pickFolder();
    if (!folder) {
        if (paused) hooks.resumePlaying();
        return FileCommandResult::kCancelled;
    }
    hooks.stopEngines();
    FileCommandResult result = FileCommandResult::kNoFolder;
    std::error_code ec;
    if (fs::is_directory(*folder, ec)) {
        const ConfirmOverwriteFn confirm = [&hooks](const fs::path& target) {
            return hooks.ask(OverwriteQuestion(target));
        };
        result = Conclude(hooks, hooks.copyMarked(*folder, confirm));
    } else {
        hooks.ask(FolderNotExistMessage());
    }
    hooks.hideVideoPanes();
    return result;
}

FileCommandResult RunDelete(const FileCommandHooks& hooks) {
    MarkedSelection selection;
    if (const auto refused = RefuseWithoutMarks(hooks, selection)) return *refused;
    const bool paused = hooks.pausePlaying();
    if (!hooks.ask(DeleteQuestion(selection))) {
        if (paused) hooks.resumePlaying();
        return FileCommandResult::kCancelled;
    }
    hooks.stopEngines();
    hooks.hideVideoPanes();
    return Conclude(hooks, hooks.deleteMarked());
}

FileCommandResult RunLockToggle(const FileCommandHooks& hooks) {
    MarkedSelection selection;
    if (const auto refused = RefuseWithoutMarks(hooks, selection)) return *refused;
    const bool unlock = selection.AllLocked();
    const FileOperationReport report = unlock ? hooks.unlockMarked() : hooks.lockMarked();
    hooks.refreshLockPicture();
    if (!report) { // the ticks went between the look and the change
        hooks.ask(NoSelectedFilesMessage());
        return FileCommandResult::kNothingMarked;
    }
    const UserMessage outcome = LockOutcomeMessage(unlock, selection, report);
    hooks.ask(outcome);
    return outcome.m_eIcon == MessageIcon::kExclamation ? FileCommandResult::kSomeFailed : FileCommandResult::kDone;
}
