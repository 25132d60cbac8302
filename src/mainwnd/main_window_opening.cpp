// Which recording plays: the open command and the folder scan, the countdown to the first
// recording, the choices in the lists, previous and next, and the end of a recording.
#include "main_window.h"

#include "control_ids.h"
#include "folder_setting.h"
#include "skin_button.h"
#include "language.h"
#include "media_open_dialog.h"
#include "navigation.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "playback_session.h"
#include "recording_plan.h"
#include "start_folder.h"
#include "trip_presenter.h"
#include "video_engine.h"
#include "video_slider.h"
#include "video_static.h"
#include "window_modes.h"

#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace {

// The window's side of a scan, as calls back into the window.
class CScanWindowCalls : public IFolderScanWindow {
  public:
    std::function<void()> show;
    std::function<void()> remove;
    std::function<void(bool, size_t)> finished;

    void ShowLoadingText() override { show(); }
    void RemoveLoadingText() override { remove(); }
    void OnFolderScanFinished(bool folderFound, size_t entryCount) override {
        finished(folderFound, entryCount);
    }
};

constexpr int kListChoiceDelayMs = 200; // after stopping the engines, before the new files open

} // namespace

void COrvexMainWindow::CreateScan() {
    auto calls = std::make_unique<CScanWindowCalls>();
    calls->show = [this] {
        const int paneId = ViewMode() == 2 ? IDC_REAR_PANE : IDC_FRONT_PANE;
        auto* pane = Child<CVideoStatic>(paneId);
        m_pModes->SetPaneHidden(paneId, false);
        pane->SetCaption(QStringLiteral("Loading..."), true);
    };
    calls->remove = [this] {
        auto* pane = Child<CVideoStatic>(ViewMode() == 2 ? IDC_REAR_PANE : IDC_FRONT_PANE);
        pane->hide();
        pane->SetCaption(QString(), false);
        pane->show();
    };
    calls->finished = [this](bool folderFound, size_t) {
        if (folderFound) return;
        QMessageBox box(QMessageBox::Warning, QString::fromStdString(LoadLangString(136)),
                        QString::fromStdString(LoadLangString(138)), QMessageBox::Ok, this);
        box.exec();
    };
    m_pScanWindow = std::move(calls);
    m_pScan = std::make_unique<CFolderScan>(m_catalog, m_pLists.get(),
                                            Child<COrvexGroupListCtrl>(IDC_GROUP_LIST), *m_pScanWindow,
                                            m_pSession->Opening());
}

bool COrvexMainWindow::ScanBusy() const {
    return m_pScan && m_pScan->Busy();
}

bool COrvexMainWindow::AutoNextOn() const {
    return m_pSession->AutoNext();
}

int COrvexMainWindow::CatalogEntryCount() const {
    return static_cast<int>(m_catalog.Entries().size());
}

QSize COrvexMainWindow::CurrentPictureSize() const {
    const int current = m_catalog.CurrentEntry();
    if (current < 0 || current >= CatalogEntryCount()) return {};
    const MediaInfo& info = m_catalog.Entries()[static_cast<size_t>(current)].m_MediaInfo;
    return {info.m_wWidth, info.m_wHeight};
}

void COrvexMainWindow::ShowViewModePane() {
    const int paneId = ViewMode() == 2 ? IDC_REAR_PANE : IDC_FRONT_PANE;
    if (m_pModes->PaneHidden(paneId)) m_pModes->SetPaneHidden(paneId, false);
}

void COrvexMainWindow::UpdateLockPicture() {
    ShowLockPicture(m_catalog.CurrentGroupLocked());
}

void COrvexMainWindow::ShowLockPicture(bool locked) {
    auto* lock = Child<CSkinButton>(IDC_LOCK);
    if (!lock) return;
    lock->m_nImageState = locked ? 0 : 1;
    lock->update();
}

void COrvexMainWindow::BeginListOpen() {
    m_pSession->Opening().Begin();
    m_openingTimeout.start();
}

// --- the open command -------------------------------------------------------------------------

void COrvexMainWindow::OpenSource() {
    if (!AcceptSourceCommand(m_pSession->Opening(), m_catalog.Entries().empty()) || ScanBusy()) return;
    // The stop command's state: engines stopped, normal speed; the panes stay as they are.
    m_pSession->Stop();
    CMediaOpenDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    StartScan(dialog.FolderPath());
}

void COrvexMainWindow::OpenFolder(const std::filesystem::path& folder) {
    if (!AcceptSourceCommand(m_pSession->Opening(), m_catalog.Entries().empty()) || ScanBusy()) return;
    const std::filesystem::path path = StartFolderOf(folder);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) WriteFolderSetting(path.string());
    StartScan(path);
}

void COrvexMainWindow::StartScan(const std::filesystem::path& folder) {
    BeginListOpen();
    m_strSourcePath = folder;
    if (folder.empty() || !m_pScan || !m_pScan->Start(folder)) m_pSession->Opening().End();
}

void COrvexMainWindow::OnOpenCountdownTimer() {
    if (!m_pScan) return;
    const int index = m_pScan->TickCountdown();
    if (index < 0) return;
    ShowViewModePane();
    OpenEntry(index);
}

void COrvexMainWindow::StopEngines() {
    m_pSession->StopEngines();
}

void COrvexMainWindow::OpenEntry(int index) {
    OpenEntryAt(index, 0);
}

void COrvexMainWindow::OpenEntryAt(int index, int64_t offsetMs) {
    const int count = CatalogEntryCount();
    if (index < 0 || index >= count) return;
    MarkCurrent(m_catalog, *Child<COrvexGroupListCtrl>(IDC_GROUP_LIST),
                *Child<COrvexFileListCtrl>(IDC_FILE_LIST), index);
    if (m_pTrips) m_pTrips->OnRecordingOpened(index); // before the track: a trip keeps the map
    LoadTrackOf(index);
    const RecordingEntry& entry = m_catalog.Entries()[static_cast<size_t>(index)];
    Child<CVideoSlider>(IDC_SEEK_SLIDER)->SetDurationMs(entry.m_MediaInfo.m_uDurationMs);
    SetRecordingTitle(QFile::decodeName(entry.m_strFileName.c_str()));
    UpdateLockPicture();
    m_pSession->OpenAt(m_catalog.EntryPath(static_cast<size_t>(index)), offsetMs);
}

// --- list choices -------------------------------------------------------------------------------

void COrvexMainWindow::OnFileChosen(uintptr_t wParam) {
    const int line = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!m_gate.Accept(m_pSession->Opening(), MonotonicTickCount())) return;
    if (line < 0) {
        m_gate.FileOpenFinished();
        return;
    }
    StopEngines();
    QTimer::singleShot(kListChoiceDelayMs, this, [this, line] {
        if (MarkCurrent(m_catalog, *Child<COrvexGroupListCtrl>(IDC_GROUP_LIST),
                        *Child<COrvexFileListCtrl>(IDC_FILE_LIST), line)) {
            UpdateLockPicture();
            BeginListOpen();
            ShowViewModePane();
            OpenEntry(line);
        }
        m_gate.FileOpenFinished();
    });
}

void COrvexMainWindow::OnGroupChosen(uintptr_t wParam) {
    const int group = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!AcceptGroupChoice(m_pSession->Opening(), group)) return;
    StopEngines();
    QTimer::singleShot(kListChoiceDelayMs, this, [this, group] {
        MarkCurrentGroup(m_catalog, *Child<COrvexGroupListCtrl>(IDC_GROUP_LIST),
                         *Child<COrvexFileListCtrl>(IDC_FILE_LIST), group);
        UpdateLockPicture();
        const int current = m_catalog.CurrentEntry();
        if (current < 0 || current >= CatalogEntryCount()) return;
        BeginListOpen();
        ShowViewModePane();
        if (!PlayTrip(group)) OpenEntry(current);
    });
}

// --- previous, next and the end of a recording ------------------------------------------------------

void COrvexMainWindow::Previous() {
    Navigate(false);
}

void COrvexMainWindow::Next() {
    Navigate(true);
}

void COrvexMainWindow::Navigate(bool next) {
    if (ScanBusy() || m_catalog.Entries().empty()) return;
    StopEngines();
    ResetTransport();
    const NavigationPlan plan =
        PlanNavigation(next ? NavigationDirection::kNext : NavigationDirection::kPrevious, m_catalog);
    if (plan.openIndex < 0) return;
    if (plan.skippedPartner >= 0) {
        MarkCurrent(m_catalog, *Child<COrvexGroupListCtrl>(IDC_GROUP_LIST),
                    *Child<COrvexFileListCtrl>(IDC_FILE_LIST), plan.skippedPartner);
        UpdateLockPicture();
    }
    OpenEntry(plan.openIndex);
}
