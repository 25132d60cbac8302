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

enum class MessageIcon { kNone, kExclamation };
enum class MessageButtons { kOk, kOkCancel };

struct UserMessage {
    std::string m_strText;
    std::string m_strCaption;
    MessageIcon m_eIcon = MessageIcon::kNone;
    MessageButtons m_eButtons = MessageButtons::kOk;
};

// Shows a box modally; true when it was answered with OK.
using AskUserFn = std::function<bool(const UserMessage&)>;

UserMessage NoFilesInListMessage();   // 145, caption 166
UserMessage NoSelectedFilesMessage(); // 143, caption 162
UserMessage FolderNotExistMessage();  // 138, caption 136, exclamation icon
UserMessage DeleteQuestion();         // 134, caption 132, OK and Cancel
// 155 with the target path, caption 153, OK and Cancel.
UserMessage OverwriteQuestion(const std::filesystem::path& target);

// Why one file was not done, in the current language: locked, permission, missing, disk full,
// or the system's own words for any other error. Empty for a file that was done, skipped on the
// user's answer or skipped as being its own target.
std::string FailureReason(const FileOperationResult& result);

// The one box after an operation in which some files were not done for a reason the user did not
// choose: how many of how many, then the first `maxNames` file names with their reasons, then how
// many more there were. None when every file was done or skipped on purpose.
std::optional<UserMessage> FailureReport(const FileOperationReport& report, size_t maxNames = 5);
