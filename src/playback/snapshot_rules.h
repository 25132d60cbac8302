// The rules of the snapshot command, without dialogs or engines: the name the user chose completed
// from the chosen filter, the front and rear picture names, the picture format, which engines the
// command pauses and when the user must hear that nothing was saved.
#pragma once

#include <QString>

// The save dialog's filters, in this order; the index of the chosen one comes back with the name.
inline constexpr const char* kSnapshotJpegFilter = "Jpeg File(*.jpg)";
inline constexpr const char* kSnapshotPngFilter = "Png File(*.png)";
enum SnapshotFilter { kSnapshotJpeg = 0, kSnapshotPng = 1 };

// What the save dialog answered.
struct SnapshotChoice {
    QString path;                    // full path as chosen
    int filterIndex = kSnapshotJpeg; // SnapshotFilter of the chosen filter
};

// The extension of the file name (not of a folder): what follows its last dot, without the dot.
// Empty when the name has no dot, ends with one, or its only dot starts it (".jpg" is a hidden name).
QString SnapshotExtension(const QString& path);

// path with ".jpg" (JPEG filter) or ".png" (PNG filter) appended when its file name has no extension.
QString SnapshotPathWithExtension(const QString& path, int filterIndex);

// The name of one camera's picture: mark ("_F", "_R") inserted before the dot of the file name's
// extension, so folders with dots keep their names; appended when there is no extension.
// "/home/j.doe/clip.jpg" -> "/home/j.doe/clip_F.jpg".
QString SnapshotPictureName(const QString& path, const QString& mark);

// Image format the picture is written in ("jpeg" or "png"): from the extension when it names one
// of the two, else from the chosen filter.
const char* SnapshotImageFormat(const QString& path, int filterIndex);

// The pictures one snapshot writes: a name per engine that shows a recording, empty for the others.
struct SnapshotPlan {
    QString frontName;
    QString rearName;
    const char* format = "jpeg";
};
SnapshotPlan PlanSnapshot(const SnapshotChoice& choice, bool frontOpen, bool rearOpen);

// An engine is paused for the snapshot (and resumed after it) when it is usable and playing;
// a paused or stopped engine is left as it is.
inline bool PausesForSnapshot(bool usable, bool playing) {
    return usable && playing;
}

// How the writing went: names planned, names the user refused to overwrite, pictures written.
struct SnapshotTally {
    int planned = 0;
    int declined = 0;
    int written = 0;
};
// The user is told when no picture was written, unless that is because they declined every
// overwrite; no usable engine at all is a failure too.
bool SnapshotNothingWritten(const SnapshotTally& tally);
