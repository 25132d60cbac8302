// The snapshot command (1006): each engine saves its current picture, the front one and the rear one
// in two files named after the one the user chose. The questions and messages go through callbacks,
// so the command runs the same with the real dialogs (SnapshotDialogs) and without them.
#pragma once

#include "snapshot_rules.h"

#include <QString>
#include <functional>
#include <optional>

class CVideoEngine;
class QFileDialog;
class QWidget;

struct SnapshotUi {
    // The catalog is empty: nothing to take a picture of.
    std::function<void()> tellNoFiles;
    // The save dialog; nullopt when cancelled.
    std::function<std::optional<SnapshotChoice>()> askName;
    // A picture's name exists already: true to overwrite it.
    std::function<bool(const QString& name)> confirmOverwrite;
    // Neither picture could be saved.
    std::function<void()> tellNothingWritten;
    // The front picture was saved, the rear one could not be.
    std::function<void()> tellRearFailed;
};

// The save dialog: non-native, for saving, the JPEG and PNG filters, no overwrite question of its own
// (asked for the two picture names instead), titled and named "Snapshot" (string 211).
void SetUpSnapshotDialog(QFileDialog& dialog);
// The name and filter chosen in an accepted save dialog; nullopt without a name.
std::optional<SnapshotChoice> SnapshotChoiceOf(const QFileDialog& dialog);

// The real dialogs, owned by parent: the non-native save dialog with the JPEG and PNG filters,
// the overwrite question (strings 153, 155) and the messages (145 with 166; 1137 and 1145 with 136).
SnapshotUi SnapshotDialogs(QWidget* parent);

struct SnapshotResult {
    bool cancelled = false; // no name (empty catalog or dialog cancelled)
    SnapshotPlan plan;      // the names planned (empty for an unusable engine)
    bool frontWritten = false;
    bool rearWritten = false;
    bool pausedFront = false; // paused for the snapshot and resumed after it
    bool pausedRear = false;
};

// The command: with an empty catalog (catalogCount 0) only tells so. Otherwise pauses the playing
// engines, asks for the name, asks before overwriting either picture, lets each engine that has a
// recording open (playing or paused) save its picture in the chosen format, resumes the engines it
// paused and tells the user when no picture was saved, or when the rear one failed beside a saved
// front one.
SnapshotResult SaveSnapshot(int catalogCount, CVideoEngine& front, CVideoEngine& rear, const SnapshotUi& ui);

// One engine's current picture written to name in format ("jpeg" or "png"), whole or not at all.
// libVLC always encodes PNG into a scratch file; the picture is read back and written here, which
// also tells whether a picture existed at all.
bool SaveEnginePicture(CVideoEngine& engine, const QString& name, const char* format);
