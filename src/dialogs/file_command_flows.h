// The save-as, delete and lock/unlock commands as step sequences over the main window's pieces,
// given as callbacks, so that every path (empty list, cancel, nothing marked, failures) runs
// without real boxes, engines or files.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "catalog_view.h"
#include "file_operation_report.h"
#include "file_operation_texts.h"

struct FileCommandHooks {
    std::function<bool()> catalogEmpty;
    // Pauses each engine that is playing; true when one was paused here (front or rear).
    std::function<bool()> pausePlaying;
    // The play/pause command: playback goes on.
    std::function<void()> resumePlaying;
    std::function<void()> stopEngines;
    // Hides the front pane (unless the view mode is 2) and the rear pane, those not hidden yet.
    std::function<void()> hideVideoPanes;
    // The folder picker titled "Select a folder"; none when cancelled or without a path.
    std::function<std::optional<std::filesystem::path>()> pickFolder;
    // What the ticked lines mark (read before anything is asked or changed).
    std::function<MarkedSelection()> inspectMarked;
    std::function<FileOperationReport(const std::filesystem::path&, const ConfirmOverwriteFn&)> copyMarked;
    std::function<FileOperationReport()> deleteMarked;
    std::function<FileOperationReport()> lockMarked;
    std::function<FileOperationReport()> unlockMarked;
    // Sets the lock button's picture from the playing group's state.
    std::function<void()> refreshLockPicture;
    // Every box goes through here (for a box with only OK the answer does not matter).
    AskUserFn ask;
};

enum class FileCommandResult {
    kEmptyList,     // "No files in list."
    kCancelled,     // the picker or the question was cancelled; playback resumed if it was paused
    kNothingMarked, // "No seletected files. ..."
    kNoFolder,      // "Folder is not exist."
    kDone,          // every file reached was done (or skipped on the user's answer); lock: outcome said
    kSomeFailed,    // the failure report was shown
};

// Command 1005.
FileCommandResult RunSaveAs(const FileCommandHooks& hooks);
// Command 1014 (also the Delete key).
FileCommandResult RunDelete(const FileCommandHooks& hooks);
// Command 1027: unlocks when every ticked group holds a locked file, else locks; says the outcome.
FileCommandResult RunLockToggle(const FileCommandHooks& hooks);
