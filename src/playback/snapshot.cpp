#include "snapshot.h"

#include "language.h"
#include "string_tables.h"
#include "video_engine.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QMessageBox>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

constexpr unsigned IDS_NO_FILES = 145;
constexpr unsigned IDS_OK = 166;
constexpr unsigned IDS_WARNING = 136;
constexpr unsigned IDS_SNAPSHOT = 211;
constexpr unsigned IDS_CONFIRM_OVERWRITE = 153;
constexpr unsigned IDS_FILE_EXISTS = 155;

QString LangText(unsigned id) {
    return QString::fromStdString(LoadLangString(id));
}

// Pauses the playing engines for the snapshot and resumes those it paused on every way out.
class SnapshotPause {
  public:
    SnapshotPause(CVideoEngine& front, CVideoEngine& rear)
        : m_front(front), m_rear(rear), m_pausedFront(PauseIfPlaying(front)),
          m_pausedRear(PauseIfPlaying(rear)) {}
    ~SnapshotPause() {
        if (m_pausedFront) Resume(m_front);
        if (m_pausedRear) Resume(m_rear);
    }
    SnapshotPause(const SnapshotPause&) = delete;
    SnapshotPause& operator=(const SnapshotPause&) = delete;
    bool PausedFront() const { return m_pausedFront; }
    bool PausedRear() const { return m_pausedRear; }

  private:
    static bool PauseIfPlaying(CVideoEngine& engine) {
        if (!PausesForSnapshot(engine.IsUsable(), engine.IsPlaying())) return false;
        return engine.PausePlaying();
    }
    static void Resume(CVideoEngine& engine) { engine.ResumePaused(); }
    CVideoEngine& m_front;
    CVideoEngine& m_rear;
    const bool m_pausedFront;
    const bool m_pausedRear;
};

bool HasOpenRecording(const CVideoEngine& engine) {
    return engine.IsActive(true);
}

// Asks before replacing an existing picture; true when name may be written.
bool MayWrite(const QString& name, const SnapshotUi& ui, SnapshotTally& tally) {
    if (name.isEmpty()) return false;
    ++tally.planned;
    if (QFile::exists(name) && ui.confirmOverwrite && !ui.confirmOverwrite(name)) {
        ++tally.declined;
        return false;
    }
    return true;
}

std::optional<SnapshotChoice> AskSnapshotName(QWidget* parent) {
    QFileDialog dialog(parent);
    SetUpSnapshotDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return SnapshotChoiceOf(dialog);
}

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, unsigned textId, unsigned captionId) {
    QMessageBox box(icon, LangText(captionId), LangText(textId), QMessageBox::Ok, parent);
    box.setAccessibleName(LangText(captionId));
    box.exec();
}

bool AskOverwrite(QWidget* parent, const QString& name) {
    const QString text = LangText(IDS_FILE_EXISTS).replace("%s", QDir::toNativeSeparators(name));
    QMessageBox box(QMessageBox::Question, LangText(IDS_CONFIRM_OVERWRITE), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setAccessibleName(LangText(IDS_CONFIRM_OVERWRITE));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void SetUpSnapshotDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(LangText(IDS_SNAPSHOT));
    dialog.setAccessibleName(LangText(IDS_SNAPSHOT));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The question is asked for the two picture names, not for the name typed here.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kSnapshotJpegFilter, kSnapshotPngFilter});
}

std::optional<SnapshotChoice> SnapshotChoiceOf(const QFileDialog& dialog) {
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
    const bool png = dialog.selectedNameFilter() == kSnapshotPngFilter;
    return SnapshotChoice{files.first(), png ? kSnapshotPng : kSnapshotJpeg};
}

SnapshotUi SnapshotDialogs(QWidget* parent) {
    SnapshotUi ui;
    ui.tellNoFiles = [parent] { ShowMessage(parent, QMessageBox::Information, IDS_NO_FILES, IDS_OK); };
    ui.askName = [parent] { return AskSnapshotName(parent); };
    ui.confirmOverwrite = [parent](const QString& name) { return AskOverwrite(parent, name); };
    ui.tellNothingWritten = [parent] {
        ShowMessage(parent, QMessageBox::Warning, IDS_SNAPSHOT_NOT_SAVED, IDS_WARNING);
    };
    ui.tellRearFailed = [parent] {
        ShowMessage(parent, QMessageBox::Warning, IDS_REAR_SNAPSHOT_FAILED, IDS_WARNING);
    };
    return ui;
}

bool SaveEnginePicture(CVideoEngine& engine, const QString& name, const char* format) {
    if (!engine.IsUsable()) return false;
    QTemporaryDir scratch(QDir::tempPath() + "/veltrix-snapshot-XXXXXX");
    if (!scratch.isValid()) return false;
    const QString raw = scratch.filePath("picture.png");
    // libVLC answers 0 whenever a video output exists, whether or not it got a picture to save.
    if (engine.TakeSnapshot(raw) != 0) return false;
    QImageReader reader(raw, "png");
    const QImage picture = reader.read();
    if (picture.isNull()) return false;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&file, format);
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

SnapshotResult SaveSnapshot(int catalogCount, CVideoEngine& front, CVideoEngine& rear, const SnapshotUi& ui) {
    SnapshotResult result;
    if (catalogCount <= 0) {
        if (ui.tellNoFiles) ui.tellNoFiles();
        result.cancelled = true;
        return result;
    }
    SnapshotTally tally;
    bool rearAttempted = false;
    {
        SnapshotPause pause(front, rear);
        result.pausedFront = pause.PausedFront();
        result.pausedRear = pause.PausedRear();
        const std::optional<SnapshotChoice> choice = ui.askName ? ui.askName() : std::nullopt;
        if (!choice || choice->path.isEmpty()) {
            result.cancelled = true;
            return result;
        }
        // A stopped engine shows no picture: no name is planned (and no overwrite asked) for it.
        result.plan = PlanSnapshot(*choice, HasOpenRecording(front), HasOpenRecording(rear));
        const bool writeFront = MayWrite(result.plan.frontName, ui, tally);
        const bool writeRear = MayWrite(result.plan.rearName, ui, tally);
        rearAttempted = writeRear;
        result.frontWritten =
            writeFront && SaveEnginePicture(front, result.plan.frontName, result.plan.format);
        result.rearWritten = writeRear && SaveEnginePicture(rear, result.plan.rearName, result.plan.format);
    }
    tally.written = int(result.frontWritten) + int(result.rearWritten);
    if (SnapshotNothingWritten(tally)) {
        if (ui.tellNothingWritten) ui.tellNothingWritten();
    } else if (result.frontWritten && rearAttempted && !result.rearWritten && ui.tellRearFailed) {
        ui.tellRearFailed();
    }
    return result;
}
