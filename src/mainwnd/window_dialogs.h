// The modal steps of the main window's commands: a message box, the save-as folder picker and the
// start of the restarted program. The window holds one set and asks through it, so that a caller
// (a test, a scripted run) can answer them without a window system.
#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

class QWidget;
struct UserMessage;

struct WindowDialogs {
    // A message box; true on OK or Yes.
    std::function<bool(const UserMessage&)> ask;
    // The folder for "Save as"; none when cancelled.
    std::function<std::optional<std::filesystem::path>()> pickSaveAsFolder;
    // Starts `program` in `folder` as a new process; false with the reason when it could not.
    std::function<bool(const QString& program, const QString& folder, QString* reason)> startRestarted;
};

// The real dialogs, shown modal over `parent`, and the real process start.
WindowDialogs RealWindowDialogs(QWidget* parent);
