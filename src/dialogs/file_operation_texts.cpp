#include "file_operation_texts.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "lang_text.h"
#include "language.h"
#include "string_tables.h"

namespace {

UserMessage Message(unsigned textId, unsigned captionId, MessageIcon icon = MessageIcon::kNone,
                    MessageButtons buttons = MessageButtons::kOk) {
    return {LoadLangString(textId), LoadLangString(captionId), icon, buttons, {}};
}

bool CountsAsFailure(const FileOperationResult& result) {
    return result.m_eOutcome == FileOperationOutcome::kFailed ||
           result.m_eOutcome == FileOperationOutcome::kSkippedLocked;
}

// What the user sees of a path: its name, with U+FFFD for bytes that are not UTF-8.
std::string DisplayName(const std::filesystem::path& path) {
    return QString::fromUtf8(path.filename().native()).toStdString();
}

std::string ErrnoReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return LoadLangString(IDS_REASON_PERMISSION);
    case ENOENT:
    case ENOTDIR:
        return LoadLangString(IDS_REASON_MISSING);
    case ENOSPC:
    case EDQUOT:
        return LoadLangString(IDS_REASON_DISK_FULL);
    default:
        return std::generic_category().message(error);
    }
}

} // namespace

UserMessage NoFilesInListMessage() {
    return Message(IDS_NO_FILES, IDS_OK_CAPTION);
}

UserMessage NoSelectedFilesMessage() {
    return Message(IDS_NO_SELECTED_FILES, IDS_CONFIRM_SELECTION);
}

UserMessage FolderNotExistMessage() {
    return Message(IDS_FOLDER_NOT_EXIST, IDS_WARNING, MessageIcon::kExclamation);
}

UserMessage DeleteQuestion(const MarkedSelection& selection, size_t maxNames) {
    UserMessage message = Message(IDS_DELETE_QUESTION, IDS_DELETE_FILES, MessageIcon::kNone, MessageButtons::kYesNo);
    message.m_strText += "\n" + FillPlaceholders(LoadLangString(IDS_DELETE_SUMMARY),
                                                  {std::to_string(selection.m_Files.size()),
                                                   std::to_string(selection.m_nGroups)});
    const size_t listed = std::min(maxNames, selection.m_Files.size());
    for (size_t i = 0; i < listed; ++i)
        message.m_strDetails += (i ? "\n" : "") + DisplayName(selection.m_Files[i]);
    if (selection.m_Files.size() > listed)
        message.m_strDetails += "\n" + FillPlaceholders(LoadLangString(IDS_FILES_NOT_LISTED),
                                                        {std::to_string(selection.m_Files.size() - listed)});
    return message;
}

UserMessage LockOutcomeMessage(bool unlocked, const MarkedSelection& selection, const FileOperationReport& report) {
    UserMessage message;
    message.m_strCaption = LoadLangString(unlocked ? IDS_UNLOCK_FILES : IDS_LOCK_FILES);
    const size_t changed = report.Count(FileOperationOutcome::kDone);
    if (changed == 0 && report.m_Files.empty())
        message.m_strText = LoadLangString(IDS_NOTHING_TO_CHANGE);
    else
        message.m_strText =
            FillPlaceholders(LoadLangString(unlocked ? IDS_UNLOCKED_SUMMARY : IDS_LOCKED_SUMMARY),
                             {std::to_string(changed), std::to_string(selection.m_nGroups)});
    if (const std::optional<UserMessage> failures = FailureReport(report)) {
        message.m_strText += "\n\n" + failures->m_strText;
        message.m_eIcon = MessageIcon::kExclamation;
    }
    return message;
}

UserMessage OverwriteQuestion(const std::filesystem::path& target) {
    UserMessage message =
        Message(IDS_OVERWRITE_QUESTION, IDS_OVERWRITE_CAPTION, MessageIcon::kNone, MessageButtons::kOkCancel);
    message.m_strText = FillPlaceholders(message.m_strText, {target.string()});
    return message;
}

std::string FailureReason(const FileOperationResult& result) {
    switch (result.m_eOutcome) {
    case FileOperationOutcome::kSkippedLocked:
        return LoadLangString(IDS_REASON_LOCKED);
    case FileOperationOutcome::kFailed:
        return ErrnoReason(result.m_nError);
    default:
        return {};
    }
}

std::optional<UserMessage> FailureReport(const FileOperationReport& report, size_t maxNames) {
    size_t failedResults = 0, failedFiles = 0;
    std::string names;
    for (const FileOperationResult& result : report.m_Files) {
        if (!CountsAsFailure(result)) continue;
        failedFiles += result.m_nFiles;
        if (++failedResults > maxNames) continue;
        names += "\n" + DisplayName(result.m_Path) + ": " + FailureReason(result);
    }
    if (failedResults == 0) return std::nullopt;
    UserMessage message;
    message.m_strText = FillPlaceholders(LoadLangString(IDS_FILES_FAILED),
                                         {std::to_string(failedFiles), std::to_string(report.FileCount())}) +
                        names;
    if (failedResults > maxNames)
        message.m_strText += "\n" + FillPlaceholders(LoadLangString(IDS_FILES_NOT_LISTED),
                                                     {std::to_string(failedResults - maxNames)});
    message.m_strCaption = LoadLangString(IDS_WARNING);
    message.m_eIcon = MessageIcon::kExclamation;
    return message;
}
