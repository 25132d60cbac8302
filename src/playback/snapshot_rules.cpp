#include "snapshot_rules.h"

namespace {

// Position of the dot that starts the file name's extension, or -1.
qsizetype ExtensionDot(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf('/') + 1;
    const qsizetype dot = path.lastIndexOf('.');
    if (dot <= nameStart || dot == path.size() - 1) return -1;
    return dot;
}

} // namespace

QString SnapshotExtension(const QString& path) {
    const qsizetype dot = ExtensionDot(path);
    return dot < 0 ? QString() : path.mid(dot + 1);
}

QString SnapshotPathWithExtension(const QString& path, int filterIndex) {
    if (!SnapshotExtension(path).isEmpty()) return path;
    // A trailing dot is the start of the missing extension, not a second one.
    const QString stem = path.endsWith('.') ? path.chopped(1) : path;
    return stem + (filterIndex == kSnapshotPng ? ".png" : ".jpg");
}

QString SnapshotPictureName(const QString& path, const QString& mark) {
    const qsizetype dot = ExtensionDot(path);
    if (dot < 0) return path + mark;
    return path.left(dot) + mark + path.mid(dot);
}

const char* SnapshotImageFormat(const QString& path, int filterIndex) {
    const QString extension = SnapshotExtension(path).toLower();
    if (extension == "png") return "png";
    if (extension == "jpg" || extension == "jpeg") return "jpeg";
    return filterIndex == kSnapshotPng ? "png" : "jpeg";
}

SnapshotPlan PlanSnapshot(const SnapshotChoice& choice, bool frontOpen, bool rearOpen) {
    const QString path = SnapshotPathWithExtension(choice.path, choice.filterIndex);
    SnapshotPlan plan;
    if (frontOpen) plan.frontName = SnapshotPictureName(path, "_F");
    if (rearOpen) plan.rearName = SnapshotPictureName(path, "_R");
    plan.format = SnapshotImageFormat(path, choice.filterIndex);
    return plan;
}

bool SnapshotNothingWritten(const SnapshotTally& tally) {
    const bool declinedAll = tally.planned > 0 && tally.declined == tally.planned;
    return tally.written == 0 && !declinedAll;
}
