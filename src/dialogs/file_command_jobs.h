// The file work of save as, delete, lock and unlock as jobs of the file job runner, so that the
// copying, deleting and attribute changes happen on a worker thread with progress and Cancel.
//
// The command's steps (file_command_flows.h) stay in order: the catalog plans on the UI thread
// (CRecordingCatalog::Plan*Marked, questions included), the work runs as a job while the calling
// step waits for it in a local event loop, as a modal progress dialog would: the window keeps
// playing and answering meanwhile. The caller applies the returned report to the catalog on the
// UI thread. One job at a time: while one runs, a new command is refused with words.
//
// Threading: every member on the UI thread; the jobs get plain copies of the plans' paths.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "copy_job.h"
#include "file_job_plans.h"
#include "file_job_runner.h"
#include "file_operation_texts.h"

class QWidget;

class CFileCommandJobs : public QObject {
  public:
    // Boxes go through `ask`; the progress dialog is a child of `dialogParent`.
    CFileCommandJobs(QWidget* dialogParent, AskUserFn ask, QObject* parent = nullptr);

    // The free space of the copy's targets (tests give a small disk).
    void SetFreeSpaceQuery(FreeSpaceQuery query) { m_FreeSpace = std::move(query); }

    bool Busy() const { return m_Runner.Running(); }
    // While a job runs: says so (naming it) and returns true.
    bool RefuseWhileBusy();

    // Each runs the plan's work and returns the plan's report followed by the work's. After a
    // Cancel the file left out is not reported as failed (the user asked for it); what was done
    // stays done. Copy checks the free space first: when the targets do not fit, nothing is copied
    // and the box names the space needed and free.
    FileOperationReport Copy(CopyPlan plan);
    FileOperationReport Delete(DeletePlan plan);
    FileOperationReport ChangeReadOnly(ReadOnlyPlan plan);

    CFileJobRunner& Runner() { return m_Runner; }

  private:
    // Starts `job` and waits for its end; none when it was refused (the box was shown).
    std::optional<FileJobOutcome> RunAndWait(const QString& title, FileJob job);

    AskUserFn m_Ask;
    FreeSpaceQuery m_FreeSpace = FreeSpaceOf;
    CFileJobRunner m_Runner;
};

// The box for a copy that does not fit: where, how much is needed and how much is free.
UserMessage NoSpaceMessage(const SpaceCheck& shortage);
