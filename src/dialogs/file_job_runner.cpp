#include "file_job_runner.h"

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
QString Size(uint64_t bytes) {
    return QString::fromStdString(FormatByteSize(bytes));
}

QString Duration(double seconds) {
    const long s = std::lround(seconds);
    if (s >= 3600) return QStringLiteral("%1 h %2 min").arg(s / 3600).arg((s % 3600) / 60);
    if (s >= 60) return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
    return QStringLiteral("%1 s").arg(s);
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
    QString text = QStringLiteral("%1: file %2 of %3").arg(title).arg(std::min(p.filesDone + 1, p.filesTotal)).arg(p.filesTotal);
    if (p.bytesTotal > 0) {
        text += QStringLiteral("\n%1 of %2").arg(Size(p.bytesDone), Size(p.bytesTotal));
        if (p.BytesPerSecond() > 0) text += QStringLiteral(", %1/s").arg(Size(static_cast<uint64_t>(p.BytesPerSecond())));
        if (const auto left = p.SecondsLeft()) text += QStringLiteral(", about %1 left").arg(Duration(*left));
    }
    return text;
}

bool CFileJobRunner::Start(const QString& title, FileJob job, Finished finished, QString* refusal) {
    if (Running()) {
        if (refusal) {
            *refusal = QStringLiteral("Another file operation is still running (%1). Wait until it has "
                                      "finished, or cancel it, and try again.")
                           .arg(m_strTitle);
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
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), m_pDialog);
    cancelButton->setAccessibleName(QStringLiteral("Cancel"));
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
    if (m_pDialog) m_pDialog->setLabelText(QStringLiteral("%1: cancelling...").arg(m_strTitle));
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
    if (m_pDialog) m_pDialog->deleteLater();
    m_pDialog = nullptr;
    Finished finished = std::move(m_Finished);
    m_Finished = nullptr;
    if (finished) finished(outcome);
}
