// Restarting the program after a language change: the window position is on disk first, the new
// process runs from the same program file in the same working folder (so it finds the same
// settings file), and this process ends only once the new one has started; when the start fails
// this one stays and tells the user why.
//
// Both processes run the map's web engine while they overlap. Its default profile is
// off-the-record (no cookies, cache or storage on disk), so they share no browser storage.
#pragma once

#include <QString>

#include <functional>

struct RestartHooks {
    // Writes the window position under "WINPOS" (the settings store replaces the file through a
    // temporary file and a rename).
    std::function<void()> savePosition;
    // Starts `program` detached in `workingFolder`, without arguments; false with a reason when
    // it could not be started.
    std::function<bool(const QString& program, const QString& workingFolder, QString* reason)> startProcess;
    // The main window's close handling; in the program it does not return.
    std::function<void()> endProcess;
    // Tells the user why the restart did not happen.
    std::function<void(const QString& text)> tellFailure;
};

enum class RestartOutcome { kEnded, kStayed };

// The restart in that order. `program` and `workingFolder` default to this process's own.
RestartOutcome RestartProgram(const RestartHooks& hooks, const QString& program = {},
                              const QString& workingFolder = {});

// QProcess::startDetached of `program` in `workingFolder` with no arguments.
bool StartDetachedProcess(const QString& program, const QString& workingFolder, QString* reason);

// String 1136 with the reason filled in.
QString RestartFailureText(const QString& reason);

class QWidget;

// The hooks of the program itself: StartDetachedProcess, and the failure told in a warning box
// (caption "Warning") over `window`. `savePosition` and `endProcess` are the main window's.
RestartHooks MakeRestartHooks(QWidget* window, std::function<void()> savePosition,
                              std::function<void()> endProcess);
