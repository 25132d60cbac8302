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

} // namespace

FileCommandResult RunSaveAs(const FileCommandHooks& hooks) {
    if (hooks.catalogEmpty()) {
        hooks.ask(NoFilesInListMessage());
        return FileCommandResult::kEmptyList;
    }
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
    if (hooks.catalogEmpty()) {
        hooks.ask(NoFilesInListMessage());
        return FileCommandResult::kEmptyList;
    }
    const bool paused = hooks.pausePlaying();
    if (!hooks.ask(DeleteQuestion())) {
        if (paused) hooks.resumePlaying();
        return FileCommandResult::kCancelled;
    }
    hooks.stopEngines();
    hooks.hideVideoPanes();
    return Conclude(hooks, hooks.deleteMarked());
}

FileCommandResult RunLockToggle(const FileCommandHooks& hooks) {
    if (hooks.catalogEmpty()) {
        hooks.ask(NoFilesInListMessage());
        return FileCommandResult::kEmptyList;
    }
    const bool ran = hooks.currentGroupLocked() ? hooks.unlockMarked() : hooks.lockMarked();
    FileCommandResult result = FileCommandResult::kDone;
    if (!ran) {
        hooks.ask(NoSelectedFilesMessage());
        result = FileCommandResult::kNothingMarked;
    }
    hooks.showLockState(hooks.currentGroupLocked());
    return result;
}
