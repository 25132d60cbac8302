// Runs the file commands (save as, delete, lock, unlock) on a worker thread, one job at a time, so
// the window keeps playing and answering. A job that takes longer than half a second shows a
// progress dialog: files and bytes done, speed, time left and Cancel.
//
// Threading contract:
//   UI thread (the runner's thread): Start, Cancel, Running, the destructor, the dialog, and the
//     calls of the finished function and the progress observer.
//   worker (one std::thread per job): runs the job, which reports progress and polls the cancel
//     flag; it touches no widget and no catalog. Its progress reaches the UI thread coalesced (at
//     most one queued update at a time, always the newest figures).
//   The destructor cancels a running job and waits for it to stop at its next block.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "copy_job.h"
#include "file_operation_report.h"


class QTimer;
class QWidget;

// A job as the runner runs it, on the worker: it calls `progress` as it goes and stops soon after
// `cancel` becomes true.
using FileJob = std::function<FileOperationReport(const std::function<void(const FileJobProgress&)>& progress,
                                                  const std::atomic<bool>& cancel)>;

struct FileJobOutcome {
    FileOperationReport report;
    bool cancelled = false;   // the user cancelled (what was complete stays)
    FileJobProgress progress; // the last figures
};

class CFileJobRunner : public QObject {
  public:
    using Finished = std::function<void(const FileJobOutcome& outcome)>;
    static constexpr int kShowDialogAfterMs = 500;

    // The progress dialog is a child window of `dialogParent`.
    explicit CFileJobRunner(QWidget* dialogParent, QObject* parent = nullptr);
    ~CFileJobRunner() override;
    CFileJobRunner(const CFileJobRunner&) = delete;
    CFileJobRunner& operator=(const CFileJobRunner&) = delete;

    // Starts `job`; `title` names it in the dialog ("Save as"). While another job runs nothing is
    // started: false, and `refusal` (when given) receives the words to show.
    bool Start(const QString& title, FileJob job, Finished finished, QString* refusal = nullptr);
    bool Running() const { return m_Worker.joinable(); }
    // Why nothing more starts while a job runs, in the current language (names the running job).
    QString RefusalText() const;
    // Asks the running job to stop (also the dialog's Cancel button).
    void Cancel();
    // Called on the UI thread with every progress update that arrives (status line, tests).
    void SetProgressObserver(std::function<void(const FileJobProgress&)> observer) {
        m_Observer = std::move(observer);
    }
    // The dialog of the running job; null when no job runs. Hidden for its first half second.
    QProgressDialog* Dialog() const { return m_pDialog; }

    // The dialog's text for `progress` under `title`.
    static QString ProgressText(const QString& title, const FileJobProgress& progress);

  private:
    struct Channel;
    void ShowProgress();
    void Finish(FileOperationReport report);

    QWidget* m_pDialogParent;
    QPointer<QProgressDialog> m_pDialog;
    QTimer* m_pShowTimer;
    QString m_strTitle;
    Finished m_Finished;
    std::function<void(const FileJobProgress&)> m_Observer;
    std::shared_ptr<Channel> m_Channel;
    std::thread m_Worker;
};
