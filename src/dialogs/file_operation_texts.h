// The message boxes around save as, delete and lock, as plain values: which text, which caption,
// which icon and buttons. The main window shows them; tests read them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "file_operation_report.h"

constexpr unsigned IDS_DELETE_FILES = 132;     // "Delete Files"
constexpr unsigned IDS_DELETE_QUESTION = 134;  // "Are you sure to delete the checked files?"
constexpr unsigned IDS_SELECT_FOLDER = 135;    // "Select a folder"
constexpr unsigned IDS_WARNING = 136;          // "Warning"
constexpr unsigned IDS_FOLDER_NOT_EXIST = 138; // "Folder is not exist."
constexpr unsigned IDS_NO_SELECTED_FILES = 143;
constexpr unsigned IDS_NO_FILES = 145;           // "No files in list."
constexpr unsigned IDS_OVERWRITE_CAPTION = 153;  // "Confirm to overwrite the file."
constexpr unsigned IDS_OVERWRITE_QUESTION = 155; // File "%s" is already exist. ...
constexpr unsigned IDS_CONFIRM_SELECTION = 162;  // "Confirm file selection"
constexpr unsigned IDS_OK_CAPTION = 166;         // "OK"
constexpr unsigned IDS_UNLOCK_FILES = 236;       // "Unlock files"

enum class MessageIcon { kNone, kExclamation };
// kYesNo: a question whose default answer is No (Enter does not confirm it).
enum class MessageButtons { kOk, kOkCancel, kYesNo };

struct UserMessage {
    std::string m_strText;
    std::string m_strCaption;
    MessageIcon m_eIcon = MessageIcon::kNone;
    MessageButtons m_eButtons = MessageButtons::kOk;
    std::string m_strDetails; // shown in the box's details area when not empty
};

// Shows a box modally; true when it was answered with OK or Yes.
using AskUserFn = std::function<bool(const UserMessage&)>;

UserMessage NoFilesInListMessage();   // 145, caption 166
UserMessage NoSelectedFilesMessage(); // 143, caption 162
UserMessage FolderNotExistMessage();  // 138, caption 136, exclamation icon
// 134 and how many files in how many groups will go, caption 132, Yes and No (default No); the
// details list the first `maxNames` file names and how many more there are.
UserMessage DeleteQuestion(const MarkedSelection& selection, size_t maxNames = 10);
// What lock or unlock did: the files changed in how many groups, or "Nothing to change.", then the
// files that could not be changed with their reasons. Caption: the command's own name.
UserMessage LockOutcomeMessage(bool unlocked, const MarkedSelection& selection,
                               const FileOperationReport& report);
// 155 with the target path, caption 153, OK and Cancel.
UserMessage OverwriteQuestion(const std::filesystem::path& target);

// Why one file was not done, in the current language: locked, permission, missing, disk full,
// or the system's own words for any other error. Empty for a file that was done, skipped on the
// user's answer or skipped as being its own target.
std::string FailureReason(const FileOperationResult& result);

// The one box after an operation in which some files were not done for a reason the user did not
// choose: how many of how many (a locked group counts with all of its files), then the first `maxNames` file names with their reasons, then how
// many more there were. None when every file was done or skipped on purpose.
std::optional<UserMessage> FailureReport(const FileOperationReport& report, size_t maxNames = 5);
