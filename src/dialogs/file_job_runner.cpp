#include "file_job_runner.h"

#include "lang_text.h"
#include "string_tables.h"

#include <QMetaObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <climits>
#include <cmath>
#include <mutex>

// What the worker and the UI thread share while a job runs.
struct CFileJobRunner::Channel {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    FileJobProgress latest;
    bool updateQueued = false;
};

namespace {
constexpr unsigned IDS_CANCEL_BUTTON = 109; // "Cancel"

std::string Size(uint64_t bytes) {
    return FormatByteSize(bytes);
}

// A text of the current language with its placeholders filled.
QString Filled(unsigned id, std::initializer_list<std::string> values) {
    return QString::fromStdString(FillPlaceholders(LangText(id).toStdString(), values));
}

std::string Duration(double seconds) {
    const long s = std::lround(seconds);
    if (s >= 3600)
        return Filled(IDS_JOB_HOURS, {std::to_string(s / 3600), std::to_string((s % 3600) / 60)}).toStdString();
    if (s >= 60) return Filled(IDS_JOB_MINUTES, {std::to_string(s / 60), std::to_string(s % 60)}).toStdString();
    return Filled(IDS_JOB_SECONDS, {std::to_string(s)}).toStdString();
}

int Permille(const FileJobProgress& p) {
    if (p.bytesTotal > 0) return static_cast<int>(p.bytesDone * 1000 / p.bytesTotal);
    return p.filesTotal > 0 ? static_cast<int>(p.filesDone * 1000 / p.filesTotal) : 0;
}
} // namespace

CFileJobRunner::CFileJobRunner(QWidget* dialogParent, QObject* parent)
    : QObject(parent), m_pDialogParent(dialogParent), m_pShowTimer(new QTimer(this)) {
    m_pShowTimer->setSingleShot(true);
    connect(m_pShowTimer, &QTimer::timeout, this, [this] {
        if (m_pDialog) m_pDialog->show();
    });
}

CFileJobRunner::~CFileJobRunner() {
    if (m_Channel) m_Channel->cancel = true;
    if (m_Worker.joinable()) m_Worker.join();
    delete m_pDialog;
}

QString CFileJobRunner::ProgressText(const QString& title, const FileJobProgress& p) {
    QString text = Filled(IDS_JOB_FILE_OF, {title.toStdString(), std::to_string(std::min(p.filesDone + 1, p.filesTotal)),
                                            std::to_string(p.filesTotal)});
    if (p.bytesTotal > 0) {
        text += QStringLiteral("\n") + Filled(IDS_JOB_BYTES_OF, {Size(p.bytesDone), Size(p.bytesTotal)});
        if (p.BytesPerSecond() > 0)
            text += QStringLiteral(", ") +
                    Filled(IDS_JOB_SPEED, {Size(static_cast<uint64_t>(p.BytesPerSecond()))});
        if (const auto left = p.SecondsLeft()) text += QStringLiteral(", ") + Filled(IDS_JOB_TIME_LEFT, {Duration(*left)});
    }
    return text;
}

bool CFileJobRunner::Start(const QString& title, FileJob job, Finished finished, QString* refusal) {
    if (Running()) {
        if (refusal) {
            *refusal = RefusalText();
        }
        return false;
    }
    m_strTitle = title;
    m_Finished = std::move(finished);
    m_Channel = std::make_shared<Channel>();

    m_pDialog = new QProgressDialog(m_pDialogParent);
    m_pDialog->setWindowTitle(title);
    m_pDialog->setAccessibleName(title);
    m_pDialog->setLabelText(title);
    m_pDialog->setRange(0, 1000);
    m_pDialog->setAutoClose(false);
    m_pDialog->setAutoReset(false);
    m_pDialog->setMinimumDuration(INT_MAX); // shown by our own timer, not by the dialog's guess
    m_pDialog->hide();
    auto* cancelButton = new QPushButton(LangText(IDS_CANCEL_BUTTON), m_pDialog);
    cancelButton->setAccessibleName(LangText(IDS_CANCEL_BUTTON));
    m_pDialog->setCancelButton(cancelButton);
    connect(m_pDialog, &QProgressDialog::canceled, this, &CFileJobRunner::Cancel);
    m_pShowTimer->start(kShowDialogAfterMs);

    std::shared_ptr<Channel> channel = m_Channel;
    m_Worker = std::thread([this, channel, job = std::move(job)] {
        const auto progress = [this, channel](const FileJobProgress& p) {
            std::lock_guard lock(channel->mutex);
            channel->latest = p;
            if (channel->updateQueued) return;
            channel->updateQueued = true;
            QMetaObject::invokeMethod(this, [this] { ShowProgress(); }, Qt::QueuedConnection);
        };
        FileOperationReport report;
        try {
            report = job(progress, channel->cancel);
        } catch (...) { // out of memory: the job ends; what it did is not known file by file
            report.m_bRan = true;
        }
        QMetaObject::invokeMethod(
            this, [this, report = std::move(report)]() mutable { Finish(std::move(report)); },
            Qt::QueuedConnection);
    });
    return true;
}

QString CFileJobRunner::RefusalText() const {
    return Filled(IDS_JOB_REFUSED, {m_strTitle.toStdString()});
}

void CFileJobRunner::ShowProgress() {
    if (!m_Channel) return;
    FileJobProgress p;
    {
        std::lock_guard lock(m_Channel->mutex);
        p = m_Channel->latest;
        m_Channel->updateQueued = false;
    }
    if (m_pDialog && !m_Channel->cancel) {
        m_pDialog->setLabelText(ProgressText(m_strTitle, p));
        m_pDialog->setValue(Permille(p));
    }
    if (m_Observer) m_Observer(p);
}

void CFileJobRunner::Cancel() {
    if (!m_Channel || m_Channel->cancel) return;
    m_Channel->cancel = true;
    if (m_pDialog) m_pDialog->setLabelText(Filled(IDS_JOB_CANCELLING, {m_strTitle.toStdString()}));
}

void CFileJobRunner::Finish(FileOperationReport report) {
    if (m_Worker.joinable()) m_Worker.join(); // it has posted this as its last act
    m_pShowTimer->stop();
    FileJobOutcome outcome;
    outcome.report = std::move(report);
    outcome.cancelled = m_Channel && m_Channel->cancel;
    if (m_Channel) {
        std::lock_guard lock(m_Channel->mutex);
        outcome.progress = m_Channel->latest;
    }
    m_Channel.reset();
    if (m_pDialog) {
        // Hidden at once: a nested event loop (the next question box) does not run deferred
        // deletes, and a finished job's dialog must not stay on screen or in the modal stack.
        m_pDialog->hide();
        m_pDialog->deleteLater();
    }
    m_pDialog = nullptr;
    Finished finished = std::move(m_Finished);
    m_Finished = nullptr;
    if (finished) finished(outcome);
}
