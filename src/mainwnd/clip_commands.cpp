#include "clip_commands.h"

#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

#include "clip_preparation.h"
#include "evidence_texts.h"
#include "lang_text.h"

namespace fs = std::filesystem;

namespace {

constexpr int kProgressSteps = 1000;
constexpr unsigned kCancelTextId = 109; // "Cancel"

QString ShownPath(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// "<front name>_<from>-<to>s.mp4", the span in whole seconds from the recording's start.
std::string ProposedFileName(const fs::path& front, int64_t fromMs, int64_t toMs) {
    char span[64];
    std::snprintf(span, sizeof span, "_%lld-%llds.mp4", static_cast<long long>(fromMs / 1000),
                  static_cast<long long>((toMs + 999) / 1000));
    return front.stem().string() + span;
}

} // namespace

// What the worker made of the user's choice, handed to the UI thread and back.
struct CClipCommands::Prepared {
    std::optional<ClipRequest> request;
    std::string error;
    bool outputExists = false;
    bool createdFolder = false;
};

CClipCommands::CClipCommands(QWidget* dialogParent, CurrentFn current)
    : QObject(dialogParent), m_pDialogParent(dialogParent), m_current(std::move(current)) {
    setObjectName(QStringLiteral("clipCommands"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty()) m_documents = QFile::encodeName(documents).toStdString();
}

CClipCommands::~CClipCommands() {
    Cancel();
    JoinWorker();
}

QProgressDialog* CClipCommands::Progress() const {
    return m_pProgress;
}

fs::path CClipCommands::DefaultFolder() const {
    if (m_documents.empty()) return {};
    return m_documents / "Halvorn Veltrix" / "Clips";
}

bool CClipCommands::MarksBelongToOpenRecording(const OpenRecording& open) const {
    const fs::path& front = open.front.empty() ? open.rear : open.front;
    return !front.empty() && front == m_markedFront;
}

void CClipCommands::SetStart() {
    const OpenRecording open = m_current();
    if (open.front.empty() && open.rear.empty()) return;
    if (!MarksBelongToOpenRecording(open)) m_marks.Clear();
    m_markedFront = open.front.empty() ? open.rear : open.front;
    m_marks.SetStart(open.timeMs);
    ShowMarks();
}

void CClipCommands::SetEnd() {
    const OpenRecording open = m_current();
    if (open.front.empty() && open.rear.empty()) return;
    if (!MarksBelongToOpenRecording(open)) m_marks.Clear();
    m_markedFront = open.front.empty() ? open.rear : open.front;
    m_marks.SetEnd(open.timeMs);
    ShowMarks();
}

void CClipCommands::ClearMarks() {
    m_marks.Clear();
    m_markedFront.clear();
    ShowMarks();
}

void CClipCommands::OnRecordingOpened() {
    if (!m_markedFront.empty() && !MarksBelongToOpenRecording(m_current())) ClearMarks();
}

void CClipCommands::ShowMarks() {
    if (m_marksView) m_marksView(m_marks.Start(), m_marks.End());
}

void CClipCommands::ExportClip() {
    if (Running()) {
        if (m_pProgress) m_pProgress->raise();
        return;
    }
    OpenRecording open = m_current();
    if (open.front.empty()) std::swap(open.front, open.rear); // a rear recording alone is cut as the one camera
    if (open.front.empty()) return Say(EvidenceText(IDS_NO_RECORDING_OPEN));
    if (!MarksBelongToOpenRecording(open) || !m_marks.Complete()) return Say(EvidenceText(IDS_CLIP_NOT_MARKED));
    const bool hasRear = !open.rear.empty();
    ClipExportSettings proposed;
    proposed.layout = ClipLayoutsFor(hasRear).front();
    proposed.output = DefaultFolder() / ProposedFileName(open.front, *m_marks.Start(), *m_marks.End());
    const std::optional<ClipExportSettings> settings =
        m_choose ? m_choose(proposed, hasRear) : AskClipExportSettings(m_pDialogParent, proposed, hasRear);
    if (!settings) return;

    ClipChoice choice;
    choice.front = open.front;
    choice.rear = open.rear;
    choice.fromMs = *m_marks.Start();
    choice.toMs = *m_marks.End();
    choice.layout = settings->layout;
    choice.picture = settings->picture;
    choice.output = settings->output;
    const fs::path clipsFolder = DefaultFolder();

    m_bCancel = false;
    m_nProgress = 0;
    auto* progress = new QProgressDialog(EvidenceText(IDS_EXPORTING), LangText(kCancelTextId), 0, kProgressSteps,
                                         m_pDialogParent);
    m_pProgress = progress;
    progress->setAccessibleName(progress->labelText());
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setValue(0);
    connect(progress, &QProgressDialog::canceled, this, &CClipCommands::Cancel);

    const std::string ffmpeg = m_ffmpeg;
    StartWorker([this, choice, clipsFolder, ffmpeg] {
        auto prepared = std::make_shared<Prepared>();
        // The default folder is made on demand; a folder the user chose must exist.
        if (!clipsFolder.empty() && choice.output.parent_path() == clipsFolder) {
            std::error_code error;
            fs::create_directories(clipsFolder, error);
        }
        prepared->request = PrepareClipRequest(choice, prepared->error);
        if (prepared->request) {
            prepared->request->ffmpegProgram = ffmpeg;
            std::error_code error;
            prepared->outputExists = fs::exists(fs::symlink_status(choice.output, error));
        }
        QMetaObject::invokeMethod(this, [this, prepared] { OnPrepared(prepared); }, Qt::QueuedConnection);
    });
}

void CClipCommands::OnPrepared(std::shared_ptr<Prepared> prepared) {
    JoinWorker();
    if (m_bCancel) return Finish(ClipExportStatus::kCancelled, {});
    if (!prepared->request)
        return Finish(ClipExportStatus::kFailed, QString::fromStdString(prepared->error));
    if (prepared->outputExists) {
        const QString question = EvidenceText(IDS_EXPORT_REPLACE, ShownPath(prepared->request->output));
        const bool replace = m_ask ? m_ask(question)
                                   : QMessageBox::question(m_pDialogParent, m_pProgress ? m_pProgress->windowTitle()
                                                                                        : QString(),
                                                           question) == QMessageBox::Yes;
        if (!replace) return Finish(ClipExportStatus::kCancelled, {});
        prepared->request->replaceExisting = true;
    }
    RunPrepared(prepared);
}

void CClipCommands::RunPrepared(std::shared_ptr<Prepared> prepared) {
    auto job = std::make_shared<ClipExportJob>(std::move(*prepared->request));
    {
        const std::lock_guard lock(m_jobMutex);
        m_pJob = job;
    }
    if (m_bCancel) job->Cancel();
    StartWorker([this, job] {
        ClipExportResult result{ClipExportStatus::kFailed, ClipRequestProblem(job->Request())};
        if (result.message.empty())
            result = job->Run([this](double fraction) {
                m_nProgress = static_cast<int>(fraction * kProgressSteps);
                if (!m_bProgressQueued.exchange(true))
                    QMetaObject::invokeMethod(this, [this] { OnProgress(); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                JoinWorker();
                {
                    const std::lock_guard lock(m_jobMutex);
                    m_pJob.reset();
                }
                Finish(result.status, QString::fromStdString(result.message));
            },
            Qt::QueuedConnection);
    });
}

void CClipCommands::OnProgress() {
    m_bProgressQueued = false;
    if (m_pProgress) m_pProgress->setValue(std::clamp(m_nProgress.load(), 0, kProgressSteps));
}

void CClipCommands::Cancel() {
    m_bCancel = true;
    const std::lock_guard lock(m_jobMutex);
    if (m_pJob) m_pJob->Cancel();
}

void CClipCommands::Finish(ClipExportStatus status, const QString& message) {
    if (m_pProgress) m_pProgress->deleteLater();
    m_pProgress = nullptr;
    switch (status) {
    case ClipExportStatus::kDone:
        Say(EvidenceText(IDS_EXPORT_WRITTEN, message));
        break;
    case ClipExportStatus::kFailed:
        Say(EvidenceText(IDS_EXPORT_FAILED, message));
        break;
    case ClipExportStatus::kCancelled:
        Say(EvidenceText(IDS_EXPORT_CANCELLED));
        break;
    }
    emit finished(status, message);
}

void CClipCommands::Say(const QString& text) {
    if (m_say) return m_say(text);
    QMessageBox box(QMessageBox::Information, LangText(IDS_CMD_EXPORT_CLIP), text, QMessageBox::Ok,
                    m_pDialogParent);
    box.setAccessibleName(box.windowTitle());
    box.exec();
}

void CClipCommands::StartWorker(std::function<void()> work) {
    JoinWorker();
    m_worker = std::thread(std::move(work));
}

void CClipCommands::JoinWorker() {
    if (m_worker.joinable()) m_worker.join();
}
