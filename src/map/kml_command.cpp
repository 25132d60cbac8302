#include "kml_command.h"

#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>

#include "kml_export.h"
#include "language.h"
#include "track_plot.h"

std::filesystem::path KmlExportFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) return {};
    std::filesystem::path folder(QFile::encodeName(documents).toStdString());
    return folder / "Halvorn Veltrix" / "KML" / "";
}

KmlCommandOutcome ExportKml(const std::vector<RecordingEntry>& catalog, const CTrackPlot& plot,
                            const std::filesystem::path& folder) {
    if (catalog.empty()) return {IDS_NO_FILES_IN_LIST, IDS_OK, {}};
    KmlCommandOutcome failed;
    // Never another recording's track under this one's name, and nothing without a recording.
    const RecordingTelemetry* telemetry = plot.CurrentTelemetry(catalog);
    if (!telemetry || folder.empty()) return failed;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const RecordingEntry& entry = catalog[static_cast<size_t>(plot.GetCurrent())];
    const KmlRecording recording{entry.m_strFileName, entry.m_strSubfolder, entry.m_MediaInfo.m_llStartTime};
    const auto written = WriteKmlExport(folder, recording, telemetry->layout, telemetry->Fixes());
    if (!written) return failed;
    return {IDS_KML_SAVED, IDS_KML_CAPTION, written->native()};
}

std::string KmlOutcomeText(const KmlCommandOutcome& outcome) {
    std::string text = LoadLangString(outcome.textId);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, outcome.path);
    return text;
}

KmlCommandOutcome OnExportKml(QWidget* parent, const std::vector<RecordingEntry>& catalog,
                              const CTrackPlot& plot) {
    const KmlCommandOutcome outcome =
        ExportKml(catalog, plot, catalog.empty() ? std::filesystem::path() : KmlExportFolder());
    const QString caption = QString::fromStdString(LoadLangString(outcome.captionId));
    QMessageBox box(QMessageBox::NoIcon, caption, QString::fromStdString(KmlOutcomeText(outcome)),
                    QMessageBox::Ok, parent);
    box.setAccessibleName(caption);
    box.exec();
    return outcome;
}
