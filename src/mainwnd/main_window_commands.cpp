// The main window's own commands: save as, delete and lock over the catalog, auto-next, the map
// and G-sensor switches, the configuration dialog with its restart, the about box, and the tool
// tips. The steps and texts of the file commands live in src/dialogs (file_command_flows.h); this
// file hands them the window's engines, panes, catalog and boxes.
#include "main_window.h"

#include "about_dlg.h"
#include "accessible_names.h"
#include "command_set.h"
#include "control_ids.h"
#include "file_command_flows.h"
#include "file_command_jobs.h"
#include "telemetry_presenter.h"
#include "skin_button.h"
#include "group_marks.h"
#include "map_window.h"
#include "map_cache.h"
#include "orvex_group_list_ctrl.h"
#include "orvex_list_ctrl.h"
#include "playback_session.h"
#include "program_restart.h"
#include "settings.h"
#include "config_dialog.h"
#include "tool_tips.h"
#include "video_engine.h"
#include "video_slider.h"
#include "window_modes.h"
#include "window_commands.h"

#include <set>
#include <utility>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// The play/pause button's play picture (its standard state).
constexpr int kPlayPicture = 0;

// The files of the catalog by device and inode, read at the first question only.
class CatalogFileIds {
  public:
    explicit CatalogFileIds(const CRecordingCatalog& catalog) : m_catalog(catalog) {}

    bool Contains(const fs::path& path) {
        if (!m_bRead) Read();
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && m_ids.count({st.st_dev, st.st_ino}) != 0;
    }

  private:
    void Read() {
        m_bRead = true;
        for (size_t i = 0; i < m_catalog.Entries().size(); ++i) {
            struct stat st {};
            if (::stat(m_catalog.EntryPath(i).c_str(), &st) == 0) m_ids.insert({st.st_dev, st.st_ino});
        }
    }

    const CRecordingCatalog& m_catalog;
    bool m_bRead = false;
    std::set<std::pair<dev_t, ino_t>> m_ids;
};

} // namespace

// --- file commands --------------------------------------------------------------------------

// Held while the command asks; a cancelled command ends the hold, a carried-out one stops the engines.
bool COrvexMainWindow::PausePlayingEngines() {
    if (!m_pSession->AnyPlaying()) return false;
    m_pSession->BeginHold();
    if (auto* play = Child<CSkinButton>(IDC_PLAY)) {
        play->m_nImageState = kPlayPicture;
        play->update();
    }
    return true;
}

void COrvexMainWindow::HidePanesAfterFileCommand() {
    if (ViewMode() != 2 && !m_pModes->PaneHidden(IDC_FRONT_PANE)) m_pModes->SetPaneHidden(IDC_FRONT_PANE, true);
    if (!m_pModes->PaneHidden(IDC_REAR_PANE)) m_pModes->SetPaneHidden(IDC_REAR_PANE, true);
}

// The operation marks the groups of the ticked lines of both lists; afterwards the catalog reads
// the group list alone again, as the scan and the lists expect.
template <class Operation> auto COrvexMainWindow::WithBothListsMarking(Operation operation) {
    auto* groups = Child<COrvexGroupListCtrl>(IDC_GROUP_LIST);
    const auto* files = Child<COrvexListCtrl>(IDC_FILE_LIST);
    const CGroupMarksOfBothLists marks(groups, m_catalog.FileRows(), [files](size_t line) {
        return files && files->IsLineTicked(static_cast<int>(line));
    });
    m_catalog.SetGroupLineState(&marks);
    auto result = operation();
    m_catalog.SetGroupLineState(groups);
    return result;
}

FileCommandHooks COrvexMainWindow::MakeFileCommandHooks() {
    FileCommandHooks hooks;
    // The kept telemetry of a file that a command deleted or changed is not served again.
    const auto forgetTelemetryOfDone = [this](const FileOperationReport& report) {
        for (const FileOperationResult& result : report.m_Files)
            if (result.m_eOutcome == FileOperationOutcome::kDone) Telemetry().Forget(result.m_Path);
    };
    hooks.catalogEmpty = [this] { return CatalogEntryCount() == 0; };
    hooks.pausePlaying = [this] { return PausePlayingEngines(); };
    // Play/pause resumes every paused engine, so a rear file playing alone goes on too.
    hooks.resumePlaying = [this] { m_pSession->EndHold(); };
    hooks.stopEngines = [this] { StopEngines(); };
    hooks.hideVideoPanes = [this] { HidePanesAfterFileCommand(); };
    hooks.pickFolder = [this] { return m_dialogs.pickSaveAsFolder(); };
    hooks.copyMarked = [this](const fs::path& folder, const ConfirmOverwriteFn& confirm) {
        // A target that is a recording of the catalog itself (save as into the source folder) is
        // left as it is, without a question about overwriting it and without a failure report.
        CatalogFileIds catalogFiles(m_catalog);
        const ConfirmOverwriteFn ask = [&](const fs::path& target) {
            return !catalogFiles.Contains(target) && confirm(target);
        };
        // The questions are asked here; the copying runs as a job.
        CopyPlan plan = WithBothListsMarking([&] { return m_catalog.PlanCopyMarked(folder, ask); });
        return FileJobs().Copy(std::move(plan));
    };
    hooks.inspectMarked = [this] { return InspectTickedGroups(); };
    // The files go on a worker; the catalog learns of it here, on its own thread, afterwards.
    hooks.deleteMarked = [this, forgetTelemetryOfDone] {
        DeletePlan plan = WithBothListsMarking([this] { return m_catalog.PlanDeleteMarked(); });
        const FileOperationReport report = FileJobs().Delete(std::move(plan));
        forgetTelemetryOfDone(report);
        const bool hadCurrent = m_catalog.CurrentEntry() >= 0;
        m_catalog.ForgetDeletedFiles(report);
        if (hadCurrent && m_catalog.CurrentEntry() < 0) ForgetDeletedRecording();
        return report;
    };
    const auto changeReadOnly = [this, forgetTelemetryOfDone](bool makeReadOnly) {
        ReadOnlyPlan plan = WithBothListsMarking([&] { return m_catalog.PlanReadOnlyMarked(makeReadOnly); });
        if (!plan.report) return plan.report;
        const FileOperationReport report = FileJobs().ChangeReadOnly(std::move(plan));
        forgetTelemetryOfDone(report);
        m_catalog.ApplyReadOnlyChanges(makeReadOnly, report);
        return report;
    };
    hooks.lockMarked = [changeReadOnly] { return changeReadOnly(true); };
    hooks.unlockMarked = [changeReadOnly] { return changeReadOnly(false); };
    hooks.refreshLockPicture = [this] { UpdateLockPicture(); };
    hooks.ask = [this](const UserMessage& message) { return AskUser(message); };
    return hooks;
}

MarkedSelection COrvexMainWindow::InspectTickedGroups() {
    return WithBothListsMarking([this] { return m_catalog.InspectMarked(); });
}

// The recording on screen is gone from the disk: nothing of it stays shown, and no command can
// reach its path any more (rotate reopens the session's path; seek and snapshot need an open engine).
void COrvexMainWindow::ForgetDeletedRecording() {
    m_pSession->Close();
    m_pModes->SetPaneHidden(IDC_FRONT_PANE, true);
    m_pModes->SetPaneHidden(IDC_REAR_PANE, true);
    ResetTransport();
    if (auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER)) slider->SetDurationMs(0);
    DropTelemetry();
    ClearGauges();
    SetRecordingTitle(QString());
    UpdateLockPicture();
    auto* play = Child<CSkinButton>(IDC_PLAY);
    if (play) {
        play->m_nImageState = kPlayPicture;
        play->update();
    }
}

CFileCommandJobs& COrvexMainWindow::FileJobs() {
    if (!m_pFileJobs)
        m_pFileJobs = new CFileCommandJobs(this, [this](const UserMessage& message) { return AskUser(message); }, this);
    return *m_pFileJobs;
}

// While a file job runs, another file command is refused before it asks anything.
void COrvexMainWindow::OnSaveAs() {
    if (!FileJobs().RefuseWhileBusy()) RunSaveAs(MakeFileCommandHooks());
}

void COrvexMainWindow::OnDelete() {
    if (!FileJobs().RefuseWhileBusy()) RunDelete(MakeFileCommandHooks());
}

void COrvexMainWindow::OnLockToggle() {
    if (!FileJobs().RefuseWhileBusy()) RunLockToggle(MakeFileCommandHooks());
}

bool COrvexMainWindow::AskUser(const UserMessage& message) {
    return m_dialogs.ask(message);
}

void COrvexMainWindow::SetDialogs(WindowDialogs dialogs) {
    if (dialogs.ask) m_dialogs.ask = std::move(dialogs.ask);
    if (dialogs.pickSaveAsFolder) m_dialogs.pickSaveAsFolder = std::move(dialogs.pickSaveAsFolder);
    if (dialogs.startRestarted) m_dialogs.startRestarted = std::move(dialogs.startRestarted);
}

// --- switches -------------------------------------------------------------------------------

// Auto-next is the loop button's picture: the standard picture means on.
void COrvexMainWindow::OnAutoNext() {
    m_pSession->SetAutoNext(!m_pSession->AutoNext());
}

void COrvexMainWindow::OnMapSwitch() {
    // The map has no place in full-screen video.
    if (m_pModes->FullVideo()) return;
    const bool shown = !m_pModes->MapShown();
    m_pModes->SetMapShown(shown);
    m_pModes->LayOutAgain();
    if (m_pMapDlg) {
        m_pMapDlg->setVisible(shown);
        m_pMapDlg->setEnabled(shown);
    }
    GetAppSettings().WriteInt("UI", "MAP_ENABLE", shown ? 1 : 0);
}

void COrvexMainWindow::OnGsensorSwitch() {
    const bool shown = !m_pModes->CurveShown();
    m_pModes->SetCurveShown(shown);
    // In full-screen video the curve stays hidden with the other controls; leaving shows it
    // again when it is on.
    if (QWidget* curve = ControlById(IDC_GSENSOR)) curve->setVisible(shown && !m_pModes->FullVideo());
    m_pModes->LayOutAgain();
    GetAppSettings().WriteInt("UI", "GSNR_ENABLE", shown ? 1 : 0);
}

// --- configuration and about ----------------------------------------------------------------

void COrvexMainWindow::SaveWindowPosition() {
    const QRect rect = WindowRect();
    CAppSettings& settings = GetAppSettings();
    settings.WriteInt("WINPOS", "LEFT", rect.x());
    settings.WriteInt("WINPOS", "TOP", rect.y());
    settings.WriteInt("WINPOS", "RIGHT", rect.x() + rect.width());
    settings.WriteInt("WINPOS", "BOTTOM", rect.y() + rect.height());
}

void COrvexMainWindow::OnConfiguration() {
    ConfigCommandHooks hooks;
    hooks.takeMapKind = [this](int kind) {
        GetAppSettings().m_nMapKind = kind;
        if (m_pMapDlg) m_pMapDlg->LoadMapPage(kind);
    };
    hooks.clearMapCache = [] { return ClearRunningMapCache(); };
    hooks.restart = MakeRestartHooks(
        this, [this] { SaveWindowPosition(); }, [this] { OnClose(); });
    hooks.restart.startProcess = [this](const QString& program, const QString& folder, QString* reason) {
        return m_dialogs.startRestarted(program, folder, reason);
    };
    // The dialog forgets the language row of any earlier showing before it shows (m_nLangAtOpen
    // is -1 at every opening), so OK restarts only for a change made in this showing.
    RunConfigCommand(this, hooks);
}

void COrvexMainWindow::OnAbout() {
    CAboutDlg about(m_pCommands->ShortcutRows(), this);
    about.exec();
}

// --- tool tips ------------------------------------------------------------------------------

void COrvexMainWindow::SetupToolTips() {
    if (!m_pToolTips) m_pToolTips = new CToolTips(this);
    // Every command button by its command's label, and the two other controls with a tip.
    std::vector<ToolTableRow> rows;
    for (const WindowCommand& command : WindowCommands())
        if (command.button.has_value()) rows.push_back({command.id, command.textId});
    for (int id : {IDC_VOLUME_SLIDER, IDC_SPEED_LABEL})
        rows.push_back({id, AccessibleNameStringId(id)});
    ::SetupToolTips(*m_pToolTips, rows, [this](int id) { return ControlById(id); });
}

void COrvexMainWindow::RelayEventToToolTip(QObject* receiver, QEvent* event) {
    if (m_pToolTips) m_pToolTips->RelayEvent(receiver, event);
}
