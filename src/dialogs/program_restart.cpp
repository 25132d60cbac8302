#include "program_restart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "file_operation_texts.h"
#include "lang_text.h"
#include "language.h"
#include "string_tables.h"
#include "user_message_box.h"

RestartOutcome RestartProgram(const RestartHooks& hooks, const QString& program,
                              const QString& workingFolder) {
    const QString file = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    const QString folder = workingFolder.isEmpty() ? QDir::currentPath() : workingFolder;
    // The new process reads the position at its start, so it must be on disk before it exists.
    if (hooks.savePosition) hooks.savePosition();
    QString reason;
    if (!hooks.startProcess(file, folder, &reason)) {
        if (hooks.tellFailure) hooks.tellFailure(RestartFailureText(reason));
        return RestartOutcome::kStayed;
    }
    hooks.endProcess();
    return RestartOutcome::kEnded;
}

bool StartDetachedProcess(const QString& program, const QString& workingFolder, QString* reason) {
    QProcess process;
    process.setProgram(program);
    process.setArguments({});
    process.setWorkingDirectory(workingFolder);
    if (process.startDetached()) return true;
    if (reason) {
        *reason = process.errorString();
        if (reason->isEmpty() || !QFileInfo(program).isExecutable())
            reason->append(QStringLiteral(": ") + program);
    }
    return false;
}

QString RestartFailureText(const QString& reason) {
    return QString::fromStdString(
        FillPlaceholders(LoadLangString(IDS_RESTART_FAILED), {reason.toStdString()}));
}

RestartHooks MakeRestartHooks(QWidget* window, std::function<void()> savePosition,
                              std::function<void()> endProcess) {
    RestartHooks hooks;
    hooks.savePosition = std::move(savePosition);
    hooks.startProcess = StartDetachedProcess;
    hooks.endProcess = std::move(endProcess);
    hooks.tellFailure = [window](const QString& text) {
        ShowUserMessage(window, {text.toStdString(), LoadLangString(IDS_WARNING), MessageIcon::kExclamation,
                                 MessageButtons::kOk, {}});
    };
    return hooks;
}
