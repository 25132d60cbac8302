#include "window_dialogs.h"

#include "file_operation_texts.h"
#include "folder_dialog.h"
#include "lang_text.h"
#include "native_path.h"
#include "program_restart.h"
#include "user_message_box.h"

WindowDialogs RealWindowDialogs(QWidget* parent) {
    WindowDialogs dialogs;
    dialogs.ask = [parent](const UserMessage& message) { return ShowUserMessage(parent, message); };
    dialogs.pickSaveAsFolder = [parent]() -> std::optional<std::filesystem::path> {
        CFolderDialog dialog(LangText(IDS_SELECT_FOLDER), QString(), parent);
        if (dialog.DoModal() != CFolderDialog::kOk || dialog.m_szSelectedPath.isEmpty()) return std::nullopt;
        std::filesystem::path folder = NativePathOf(dialog.m_szSelectedPath);
        if (folder.empty()) return std::nullopt;
        return folder;
    };
    dialogs.startRestarted = [](const QString& program, const QString& folder, QString* reason) {
        return StartDetachedProcess(program, folder, reason);
    };
    return dialogs;
}
