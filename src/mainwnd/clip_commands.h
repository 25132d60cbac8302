// "Set clip start" (I), "Set clip end" (O) and "Export clip...": the marks of the open recording,
// the export dialog, and the export itself on a worker thread with a progress dialog and Cancel.
// The result is said in words: the path written, the failure, or that nothing was written.
//
// Threading contract:
//   UI thread: every public function, the dialogs and the hooks.
//   worker (one std::thread per export): examines the recordings, checks the output and runs the
//     ClipExportJob; it touches no widget. Its progress reaches the UI thread by queued calls, at
//     most one waiting at a time. Cancel (the dialog's button) reaches the job from the UI thread.
//   The destructor cancels a running export and waits for it (ffmpeg is killed, no file is left).
#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "clip_export_dialog.h"
#include "clip_export_job.h"
#include "clip_marks.h"

class QProgressDialog;
class QWidget;

// What is open in the players, and the playback time.
struct OpenRecording {
    std::filesystem::path front; // empty: a rear recording plays alone
    std::filesystem::path rear;  // empty: none
    int64_t timeMs = 0;
};

class CClipCommands : public QObject {
    Q_OBJECT
  public:
    using CurrentFn = std::function<OpenRecording()>;
    using ChooseFn = std::function<std::optional<ClipExportSettings>(const ClipExportSettings& proposed,
                                                                     bool hasRear)>;
    using AskFn = std::function<bool(const QString& question)>;
    using SayFn = std::function<void(const QString& text)>;
    // The marks to draw on the seek slider (times in ms); none when empty.
    using MarksFn = std::function<void(std::optional<int64_t> start, std::optional<int64_t> end)>;

    // Dialogs and messages are children of `dialogParent`; the default documents folder is the
    // platform's.
    CClipCommands(QWidget* dialogParent, CurrentFn current);
    ~CClipCommands() override;

    void SetStart();
    void SetEnd();
    // Drops the marks.
    void ClearMarks();
    // A recording was opened: marks of another recording go (a reopen of the same one keeps them).
    void OnRecordingOpened();
    void ExportClip();
    // Stops the running export (also the progress dialog's Cancel).
    void Cancel();

    const ClipMarks& Marks() const { return m_marks; }
    // An export is under way (from the dialog's answer to the result).
    bool Running() const { return !m_pProgress.isNull(); }
    QProgressDialog* Progress() const;

    // The folder the proposed file lies in: documents folder/"Halvorn Veltrix/Clips".
    std::filesystem::path DefaultFolder() const;
    void SetDocumentsFolder(std::filesystem::path folder) { m_documents = std::move(folder); }
    void SetMarksView(MarksFn view) { m_marksView = std::move(view); }
    // Stand-ins for the dialogs (tests); the defaults are the export dialog and message boxes.
    void SetChooser(ChooseFn choose) { m_choose = std::move(choose); }
    void SetAsker(AskFn ask) { m_ask = std::move(ask); }
    void SetSayer(SayFn say) { m_say = std::move(say); }
    void SetFfmpegProgram(std::string program) { m_ffmpeg = std::move(program); }

  signals:
    // After the result was said: what the job reported.
    void finished(ClipExportStatus status, const QString& message);

  private:
    struct Prepared;
    void ShowMarks();
    bool MarksBelongToOpenRecording(const OpenRecording& open) const;
    void StartWorker(std::function<void()> work);
    void JoinWorker();
    void OnPrepared(std::shared_ptr<Prepared> prepared);
    void RunPrepared(std::shared_ptr<Prepared> prepared);
    void OnProgress();
    void Finish(ClipExportStatus status, const QString& message);
    void Say(const QString& text);

    QWidget* m_pDialogParent;
    CurrentFn m_current;
    ClipMarks m_marks;
    std::filesystem::path m_markedFront; // the recording the marks were set on
    std::filesystem::path m_documents;
    std::string m_ffmpeg = "ffmpeg";
    MarksFn m_marksView;
    ChooseFn m_choose;
    AskFn m_ask;
    SayFn m_say;
    QPointer<QProgressDialog> m_pProgress;
    std::thread m_worker;
    std::mutex m_jobMutex;
    std::shared_ptr<ClipExportJob> m_pJob; // under m_jobMutex
    std::atomic<bool> m_bCancel{false};
    std::atomic<int> m_nProgress{0}; // per mille
    std::atomic<bool> m_bProgressQueued{false};
};
