// The dual playback controller: both engines started, paused, stopped, rated and seeked together;
// the engines' messages turned into the transport buttons, the slider and the error box.
#include "main_window.h"

#include "control_ids.h"
#include "skin_button.h"
#include "skin_picture.h"
#include "gsensor_ctrl.h"
#include "language.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "playback_speeds.h"
#include "png_static.h"
#include "recording_plan.h"
#include "seek_rules.h"
#include "seek_scale.h"
#include "speed_label_static.h"
#include "video_engine.h"
#include "video_slider.h"

#include <QFile>
#include <QMessageBox>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>

namespace {

EngineTimeSource TimeSource(CVideoEngine& engine) {
    EngineTimeSource source;
    source.usable = engine.IsUsable();
    source.playing = engine.m_bPlaying != 0;
    source.paused = engine.m_bPaused != 0;
    source.lengthMs = source.usable ? engine.GetLength() : 0;
    return source;
}

bool IsActive(const CVideoEngine& engine, bool countPaused) {
    return engine.IsUsable() && (engine.m_bPlaying != 0 || (countPaused && engine.m_bPaused != 0));
}

// The engine whose time leads: the front when active, else the rear, else none.
CVideoEngine* MasterEngine(CVideoEngine& front, CVideoEngine& rear, bool countPaused) {
    if (IsActive(front, countPaused)) return &front;
    if (IsActive(rear, countPaused)) return &rear;
    return nullptr;
}

void SetButtonState(CSkinButton* button, int state) {
    if (!button) return;
    button->m_nImageState = state;
    button->update();
}

} // namespace

// --- set-up and reset -----------------------------------------------------------------------

void COrvexMainWindow::InitPlaybackController() {
    auto* groups = Child<COrvexGroupListCtrl>(IDC_GROUP_LIST);
    auto* files = Child<COrvexFileListCtrl>(IDC_FILE_LIST);
    CSkinPicture strip;
    if (strip.Load(QString::fromLatin1(kLockIconsResource))) {
        groups->SetLockIconStrip(strip.Picture());
        files->SetLockIconStrip(strip.Picture());
    }
    m_pLists = std::make_unique<CCatalogLists>(m_catalog, *groups, *files, [this] {
        DropTelemetry();
        SetRecordingTitle(QString());
    });
    m_catalog.SetObserver(m_pLists.get());
    m_catalog.SetGroupLineState(groups);
    CreateScan();

    // Engine threads never touch widgets: the slider move and the indicator's colour are posted.
    m_engineTarget.m_fnMoveSeekSlider = [this](int64_t ms) {
        QMetaObject::invokeMethod(
            this, [this, ms] { MoveSliderToTime(ms, false); }, Qt::QueuedConnection);
    };
    m_engineTarget.m_fnSetGpsColor = [this](int color) {
        QMetaObject::invokeMethod(
            this, [this, color] { SetGpsColor(color); }, Qt::QueuedConnection);
    };
    SetGpsColor(0);
}

void COrvexMainWindow::ResetPlayback() {
    if (!m_pLists) InitPlaybackController();
    m_catalog.ResetCatalog();
    m_catalog.SetCurrentEntry(-1);
    m_nSpeedIndex = kNormalSpeedIndex;
    RefreshSpeedLabel(false);
}

// --- transport ----------------------------------------------------------------------------------

void COrvexMainWindow::StopEngines() {
    m_llRestoreTimeMs = -1;
    // Whatever the engines report from here on about the files they played is stale.
    m_engineTarget.BeginNewOpening();
    for (CVideoEngine* engine : {m_pFrontEngine.get(), m_pRearEngine.get()}) {
        engine->Stop();
        engine->m_bPlaying = 0;
        engine->m_bPaused = 0;
    }
}

void COrvexMainWindow::ResetTransport() {
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    slider->SetCurrentMs(0);
    slider->setValue(g_nSeekOrigin);
    Child<CGSensorCtrl>(IDC_GSENSOR)->SetPlayPosition(0);
}

void COrvexMainWindow::ApplyRate() {
    const float rate = SpeedRate(m_nSpeedIndex);
    for (CVideoEngine* engine : {m_pFrontEngine.get(), m_pRearEngine.get()})
        if (engine->IsUsable()) engine->SetRate(rate);
}

void COrvexMainWindow::RefreshSpeedLabel(bool timed) {
    Child<CPbSpeedLabelStatic>(IDC_PB_SPEED_LABEL)
        ->SetLabel(SpeedLabel(m_nSpeedIndex), SpeedLabelShown(m_nSpeedIndex) ? 1 : 0);
    if (!timed) return;
    m_nSpeedLabelTicks = 10;
    SetTimer(TIMER_SPEED_LABEL, 300);
}

void COrvexMainWindow::OnSpeedLabelTimer() {
    RefreshSpeedLabel(false);
    if (m_nSpeedLabelTicks > 0)
        --m_nSpeedLabelTicks;
    else
        KillTimer(TIMER_SPEED_LABEL);
}

void COrvexMainWindow::SetPaneHidden(int paneId, bool hidden) {
    (paneId == IDC_FRONT_PANE ? m_bFrontPaneHidden : m_bRearPaneHidden) = hidden;
    SetPaneShown(paneId, !hidden);
}

void COrvexMainWindow::PlayPause() {
    m_engineTarget.m_llPendingSeekMs = 0;
    auto* play = Child<CSkinButton>(IDC_PLAY);
    if (m_catalog.Entries().empty()) {
        SetButtonState(play, 0);
        return;
    }
    struct Side {
        CVideoEngine* engine;
        int paneId;
        int hiddenInMode;
    };
    for (const Side& side :
         {Side{m_pFrontEngine.get(), IDC_FRONT_PANE, 2}, Side{m_pRearEngine.get(), IDC_REAR_PANE, 1}}) {
        CVideoEngine& engine = *side.engine;
        if (!engine.IsUsable()) continue;
        if (engine.m_bPlaying) {
            engine.Pause();
            engine.m_bPlaying = 0;
            engine.m_bPaused = 1;
        } else if (engine.m_bPaused) {
            const bool hidden = side.paneId == IDC_FRONT_PANE ? m_bFrontPaneHidden : m_bRearPaneHidden;
            if (m_nViewMode != side.hiddenInMode && hidden) SetPaneHidden(side.paneId, false);
            engine.Play();
            engine.m_bPlaying = 1;
            engine.m_bPaused = 0;
            if (side.paneId == IDC_FRONT_PANE) {
                Child<CGSensorCtrl>(IDC_GSENSOR)->SetStopped(false);
                RefreshSpeedLabel(true);
            }
        }
    }
}

void COrvexMainWindow::StopPlayback() {
    m_engineTarget.m_llPendingSeekMs = 0;
    SetButtonState(Child<CSkinButton>(IDC_PLAY), 0);
    StopEngines();
    m_nSpeedIndex = kNormalSpeedIndex;
    ApplyRate();
    RefreshSpeedLabel(false);
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    slider->SetCurrentMs(0);
    slider->setValue(g_nSeekOrigin);
    slider->SetDurationMs(0);
    auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR);
    curve->SetPlayPosition(0);
    curve->SetStopped(true);
    if (!m_bFrontPaneHidden) SetPaneHidden(IDC_FRONT_PANE, true);
    if (!m_bRearPaneHidden) SetPaneHidden(IDC_REAR_PANE, true);
}

void COrvexMainWindow::Faster() {
    m_nSpeedIndex = FasterSpeedIndex(m_nSpeedIndex);
    ApplyRate();
    RefreshSpeedLabel(false);
}

void COrvexMainWindow::Slower() {
    m_nSpeedIndex = SlowerSpeedIndex(m_nSpeedIndex);
    ApplyRate();
    RefreshSpeedLabel(false);
}

// --- opening a recording in the engines -----------------------------------------------------

void COrvexMainWindow::PlayRecording(const std::filesystem::path& path) {
    // Moved on before the engines get their files, so that an error of the new files is current.
    m_engineTarget.BeginNewOpening();
    const RecordingPlan plan = PlanRecording(path);
    m_bRearAlone = plan.RearAlone();
    if (!plan.front.empty()) {
        m_pFrontEngine->SetVolume(FrontEngineVolume(m_nVolumePercent));
        m_pFrontEngine->Open(plan.front, ControlById(IDC_FRONT_PANE)->winId(), false, true);
        FitVideoPanes();
        RefreshSpeedLabel(true);
        OpenRear(plan.rear, plan.rearSilent);
    } else {
        OpenRear(plan.rear, plan.rearSilent);
        FitVideoPanes();
        RefreshSpeedLabel(true);
    }
    // Both engines at the row in force, a rebuilt one as well.
    ApplyRate();
    EndOpeningIfNoEngine(m_pFrontEngine->IsUsable(), m_pRearEngine->IsUsable());
}

void COrvexMainWindow::OpenRear(const std::filesystem::path& rear, bool silent) {
    if (rear.empty()) {
        // No rear file: a rebuilt engine shows no picture.
        m_pRearEngine->Rebuild(0);
        m_pRearEngine->m_bPlaying = 0;
        m_pRearEngine->m_bPaused = 0;
        return;
    }
    if (m_nViewMode != 1 && m_bRearPaneHidden) SetPaneHidden(IDC_REAR_PANE, false);
    // Beside a front file the rear is silent; alone it is heard at the slider's volume.
    m_pRearEngine->SetVolume(silent ? 0 : FrontEngineVolume(m_nVolumePercent));
    m_pRearEngine->Open(rear, ControlById(IDC_REAR_PANE)->winId(), silent, true);
    if (!silent) m_pRearEngine->SetMute(Child<CSkinButton>(IDC_VOLUME_BUTTON)->m_nImageState == 1);
}

// --- engine messages ----------------------------------------------------------------------------

void COrvexMainWindow::OnPlayerState(uintptr_t wParam) {
    const bool playing = wParam == 2 || wParam == 3;
    SetButtonState(Child<CSkinButton>(IDC_PLAY), playing ? 1 : 0);
    if (!playing) return;
    RestoreAfterRotate();
    QTimer::singleShot(100, this, [this] { ApplyMute(); });
}

void COrvexMainWindow::OnPlayerError(uintptr_t wParam) {
    // A file that never plays must not keep list choices away for 100 s.
    EndOpening();
    const QString text = wParam == 1 ? QString::fromStdString(LoadLangString(103)) : QString();
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, this);
    box.setAccessibleName(text);
    box.exec();
}

void COrvexMainWindow::OnRearEnd(uintptr_t) {}

// --- volume -----------------------------------------------------------------------------------

void COrvexMainWindow::ApplyMute() {
    const bool muted = Child<CSkinButton>(IDC_VOLUME_BUTTON)->m_nImageState == 1;
    m_pFrontEngine->SetMute(muted);
    if (m_bRearAlone) m_pRearEngine->SetMute(muted);
}

void COrvexMainWindow::ToggleMute() {
    // A click has toggled the button already; a shortcut toggles it here.
    auto* button = Child<CSkinButton>(IDC_VOLUME_BUTTON);
    SetButtonState(button, button->m_nImageState == 1 ? 0 : 1);
    ApplyMute();
}

void COrvexMainWindow::OnVolumeChanged(uintptr_t) {
    const int position = Child<CVolumeSlider>(IDC_VOLUME_SLIDER)->value();
    m_nVolumePercent = position;
    m_pFrontEngine->SetVolume(FrontEngineVolume(position));
    if (m_bRearAlone) m_pRearEngine->SetVolume(FrontEngineVolume(position));
}

void COrvexMainWindow::VolumeBy(int delta) {
    auto* slider = Child<CVolumeSlider>(IDC_VOLUME_SLIDER);
    slider->setValue(std::clamp(slider->value() + delta, slider->minimum(), slider->maximum()));
    OnVolumeChanged(0);
}

// --- seeking ----------------------------------------------------------------------------------

void COrvexMainWindow::OnSeekRequest(uintptr_t) {
    const int64_t length = SeekLengthMs(TimeSource(*m_pFrontEngine), TimeSource(*m_pRearEngine), true);
    const auto seek =
        PendingSeekMs(length, Child<CVideoSlider>(IDC_SEEK_SLIDER)->value(), g_nSeekOrigin, g_nSeekSpan);
    if (!seek) return;
    m_engineTarget.m_llPendingSeekMs = *seek;
    g_bCursorFollowsSlider = 1;
    FollowTime(*seek);
}

void COrvexMainWindow::SeekBy(int64_t deltaMs) {
    CVideoEngine* master = MasterEngine(*m_pFrontEngine, *m_pRearEngine, true);
    if (!master) return;
    const int64_t length = master->GetLength();
    if (length <= 0) return;
    const int64_t pending = m_engineTarget.m_llPendingSeekMs;
    const int64_t now = pending != 0 ? pending : std::max<int64_t>(master->GetTime(), 0);
    const int64_t target = std::clamp<int64_t>(now + deltaMs, 1, length);
    m_engineTarget.m_llPendingSeekMs = target;
    MoveSlider(target, length);
    FollowTime(target);
}

void COrvexMainWindow::OnApplySeekTimer() {
    const int64_t ms = m_engineTarget.m_llPendingSeekMs;
    if (ms == 0) return;
    for (CVideoEngine* engine : {m_pFrontEngine.get(), m_pRearEngine.get()})
        if (engine->IsUsable()) engine->SetTime(ms);
    // The driven line is redrawn only on the playing recording's own track.
    if (m_plot.GetCurrent() == m_catalog.CurrentEntry())
        ApplyToMap(m_pMapDlg,
                   m_plot.RebuildDrivenPath(static_cast<uint32_t>(ms), m_catalog.Entries()).scripts,
                   std::nullopt);
    m_engineTarget.m_llPendingSeekMs = 0;
}

void COrvexMainWindow::MoveSlider(int64_t timeMs, int64_t lengthMs) {
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    if (slider->IsDragging()) return;
    const auto move = SliderMoveForTime(timeMs, lengthMs, g_nSeekOrigin, g_nSeekSpan, slider->DurationMs());
    if (!move) return;
    slider->setValue(move->position);
    slider->SetCurrentMs(move->currentMs);
}

// A time report's slider move, on the UI thread: the length is read here, never on an engine thread.
void COrvexMainWindow::MoveSliderToTime(int64_t timeMs, bool countPaused) {
    // A report that was queued before a seek was asked for would pull the thumb back.
    if (!countPaused && m_engineTarget.m_llPendingSeekMs != 0) return;
    CVideoEngine* master = MasterEngine(*m_pFrontEngine, *m_pRearEngine, countPaused);
    MoveSlider(timeMs, master ? master->GetLength() : 0);
}

void COrvexMainWindow::OnSliderFollowTimer() {
    CVideoEngine* master = MasterEngine(*m_pFrontEngine, *m_pRearEngine, true);
    if (!master) return;
    MoveSlider(std::max<int64_t>(master->GetTime(), 0), master->GetLength());
}

// --- view switch and rotation -------------------------------------------------------------------

void COrvexMainWindow::SwitchView() {
    if (m_catalog.Entries().empty()) return;
    std::vector<CVideoEngine*> paused;
    for (CVideoEngine* engine : {m_pFrontEngine.get(), m_pRearEngine.get()}) {
        if (engine->IsUsable() && engine->m_bPlaying && !engine->m_bPaused) {
            engine->Pause();
            paused.push_back(engine);
        }
    }
    m_nViewMode = (m_nViewMode + 1) % 3;
    SetButtonState(Child<CSkinButton>(IDC_SWITCH), m_nViewMode);
    const bool frontActive = IsActive(*m_pFrontEngine, true);
    const bool rearActive = IsActive(*m_pRearEngine, true);
    m_bFrontPaneHidden = m_nViewMode == 2 || !frontActive;
    m_bRearPaneHidden = m_nViewMode == 1 || !rearActive;
    LayOut(width(), height());
    for (CVideoEngine* engine : paused)
        engine->Play();
}

void COrvexMainWindow::Rotate() {
    m_bFlip = !m_bFlip;
    CVideoEngine& front = *m_pFrontEngine;
    const int state = !front.IsUsable() ? 0 : front.m_bPlaying ? 2 : front.m_bPaused ? 1 : 0;
    const int64_t time = front.IsUsable() ? front.GetTime() : 0;
    for (auto [engine, paneId] :
         {std::pair{m_pFrontEngine.get(), IDC_FRONT_PANE}, std::pair{m_pRearEngine.get(), IDC_REAR_PANE}}) {
        engine->Stop();
        engine->m_bPlaying = 0;
        engine->m_bPaused = 0;
        engine->Rebuild(m_bFlip ? 1 : 0);
        engine->BindWindow(ControlById(paneId)->winId());
    }
    ApplyRate();
    const int count = static_cast<int>(m_catalog.Entries().size());
    // After the open recording was deleted there is nothing to reopen.
    if (count > 0 && !m_strCurrentPath.empty()) {
        if (m_catalog.CurrentEntry() >= count) m_catalog.SetCurrentEntry(count - 1);
        LoadTrackOf(m_catalog.CurrentEntry());
        FitVideoPanes();
        PlayRecording(m_strCurrentPath);
    }
    auto* play = Child<CSkinButton>(IDC_PLAY);
    if (state == 0) {
        StopEngines();
        SetButtonState(play, 0);
        SetPaneHidden(IDC_FRONT_PANE, true);
        SetPaneHidden(IDC_REAR_PANE, true);
        return;
    }
    // A player that is still opening ignores a seek or a pause: both wait for its first
    // "playing" report (RestoreAfterRotate).
    m_llRestoreTimeMs = std::max<int64_t>(time, 1);
    m_bRestorePaused = state == 1;
    SetButtonState(play, state == 2 ? 1 : 0);
}

void COrvexMainWindow::RestoreAfterRotate() {
    if (m_llRestoreTimeMs < 0) return;
    for (CVideoEngine* engine : {m_pFrontEngine.get(), m_pRearEngine.get()}) {
        if (!engine->IsUsable() || !engine->m_bPlaying) continue;
        engine->SetTime(m_llRestoreTimeMs);
        if (m_bRestorePaused) {
            engine->Pause();
            engine->m_bPlaying = 0;
            engine->m_bPaused = 1;
        }
    }
    m_llRestoreTimeMs = -1;
}

// --- commands -----------------------------------------------------------------------------------

bool COrvexMainWindow::OnPlaybackCommand(int id) {
    switch (id) {
    case IDC_OPEN:
        OpenSource();
        return true;
    case IDC_PLAY:
        PlayPause();
        return true;
    case IDC_STOP:
        StopPlayback();
        return true;
    case IDC_FASTER:
        Faster();
        return true;
    case IDC_SLOWER:
        Slower();
        return true;
    case IDC_SWITCH:
        SwitchView();
        return true;
    case IDC_ROTATE:
        Rotate();
        return true;
    case IDC_VOLUME_BUTTON:
        ApplyMute();
        return true; // the button toggled itself
    case IDC_PREVIOUS:
        Previous();
        return true;
    case IDC_NEXT:
        Next();
        return true;
    case IDC_KML:
        ExportKml();
        return true;
    case IDC_SNAPSHOT:
        Snapshot();
        return true;
    case IDC_PRINT:
        Print();
        return true;
    default:
        return false;
    }
}
