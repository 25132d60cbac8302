#include "file_operation_texts.h"

#include <cerrno>
#include <system_error>

#include "lang_text.h"
#include "language.h"
#include "string_tables.h"

namespace {

UserMessage Message(unsigned textId, unsigned captionId, MessageIcon icon = MessageIcon::kNone,
                    MessageButtons buttons = MessageButtons::kOk) {
    return {LoadLangString(textId), LoadLangString(captionId), icon, buttons};
}

bool CountsAsFailure(const FileOperationResult& result) {
    return result.m_eOutcome == FileOperationOutcome::kFailed ||
           result.m_eOutcome == FileOperationOutcome::kSkippedLocked;
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

UserMessage DeleteQuestion() {
    return Message(IDS_DELETE_QUESTION, IDS_DELETE_FILES, MessageIcon::kNone, MessageButtons::kOkCancel);
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
    size_t failed = 0;
    std::string names;
    for (const FileOperationResult& result : report.m_Files) {
        if (!CountsAsFailure(result)) continue;
        if (++failed > maxNames) continue;
        names += "\n" + result.m_Path.filename().string() + ": " + FailureReason(result);
    }
    if (failed == 0) return std::nullopt;
    UserMessage message;
    message.m_strText = FillPlaceholders(LoadLangString(IDS_FILES_FAILED),
                                         {std::to_string(failed), std::to_string(report.m_Files.size())}) +
                        names;
    if (failed > maxNames)
        message.m_strText += "\n" + FillPlaceholders(LoadLangString(IDS_FILES_NOT_LISTED),
                                                     {std::to_string(failed - maxNames)});
    message.m_strCaption = LoadLangString(IDS_WARNING);
    message.m_eIcon = MessageIcon::kExclamation;
    return message;
}
