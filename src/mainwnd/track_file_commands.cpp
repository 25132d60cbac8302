#include "track_file_commands.h"

#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>

#include "evidence_texts.h"
#include "lang_text.h"

namespace {
QString ShownPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}
} // namespace

unsigned TrackFileCommandTextId(TrackFileKind kind) {
    switch (kind) {
    case TrackFileKind::kGpx:
        return IDS_CMD_EXPORT_GPX;
    case TrackFileKind::kCsv:
        return IDS_CMD_EXPORT_CSV;
    case TrackFileKind::kSrt:
        return IDS_CMD_EXPORT_SRT;
    }
    return IDS_CMD_EXPORT_GPX;
}

CTrackFileCommands::CTrackFileCommands(QWidget* dialogParent, SourcesFn sources)
    : QObject(dialogParent), m_pDialogParent(dialogParent), m_sources(std::move(sources)) {
    setObjectName(QStringLiteral("trackFileCommands"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty()) m_documents = QFile::encodeName(documents).toStdString();
}

CTrackFileCommands::~CTrackFileCommands() {
    if (m_worker.joinable()) m_worker.join();
}

void CTrackFileCommands::Export(TrackFileKind kind) {
    if (Running()) return; // one at a time; the running one says its result shortly
    std::vector<TrackFileSource> sources = m_sources();
    if (sources.empty()) return Say(kind, EvidenceText(IDS_NO_RECORDING_OPEN));
    Start(kind, std::move(sources), false);
}

void CTrackFileCommands::Start(TrackFileKind kind, std::vector<TrackFileSource> sources, bool replace) {
    const std::filesystem::path folder = TrackFileFolder(m_documents, kind);
    m_worker = std::thread([this, kind, sources = std::move(sources), folder, replace]() mutable {
        TrackFileOutcome outcome = ExportTrackFile(kind, sources, folder, replace);
        QMetaObject::invokeMethod(
            this,
            [this, kind, sources = std::move(sources), outcome = std::move(outcome)]() mutable {
                OnDone(kind, std::move(sources), std::move(outcome));
            },
            Qt::QueuedConnection);
    });
}

void CTrackFileCommands::OnDone(TrackFileKind kind, std::vector<TrackFileSource> sources,
                                TrackFileOutcome outcome) {
    m_worker.join();
    switch (outcome.status) {
    case TrackFileOutcome::Status::kExists: {
        const QString question = EvidenceText(IDS_EXPORT_REPLACE, ShownPath(outcome.path));
        const bool replace = m_ask ? m_ask(question)
                                   : QMessageBox::question(m_pDialogParent, LangText(TrackFileCommandTextId(kind)),
                                                           question) == QMessageBox::Yes;
        if (replace) return Start(kind, std::move(sources), true);
        Say(kind, EvidenceText(IDS_EXPORT_CANCELLED));
        break;
    }
    case TrackFileOutcome::Status::kWritten:
        Say(kind, EvidenceText(IDS_EXPORT_WRITTEN, ShownPath(outcome.path)));
        break;
    case TrackFileOutcome::Status::kFailed:
        Say(kind, EvidenceText(IDS_EXPORT_FAILED, QString::fromStdString(outcome.message)));
        break;
    }
    emit finished(outcome);
}

void CTrackFileCommands::Say(TrackFileKind kind, const QString& text) {
    if (m_say) return m_say(text);
    QMessageBox box(QMessageBox::Information, LangText(TrackFileCommandTextId(kind)), text, QMessageBox::Ok,
                    m_pDialogParent);
    box.setAccessibleName(box.windowTitle());
    box.exec();
}
