// The dual playback controller: both engines started, paused, stopped, rated and seeked together;
// the engines' messages turned into the transport buttons, the slider and the error box.
#include "main_window.h"

#include "control_ids.h"
#include "skin_button.h"
#include "skin_picture.h"
#include "gsensor_ctrl.h"
#include "lang_text.h"
#include "language.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "playback_session.h"
#include "playback_speeds.h"
#include "telemetry_presenter.h"
#include "png_static.h"
#include "recording_plan.h"
#include "seek_rules.h"
#include "speed_label_static.h"
#include "string_tables.h"
#include "video_engine.h"
#include "video_slider.h"
#include "window_modes.h"

#include <QFile>
#include <QMessageBox>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>

namespace {

void SetButtonState(CSkinButton* button, int state) {
    if (!button) return;
    button->m_nImageState = state;
    button->update();
}

int PaneOf(PlaybackSession::Side side) {
    return side == PlaybackSession::Side::kFront ? IDC_FRONT_PANE : IDC_REAR_PANE;
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
    SetGpsColor(0);
}

// What the session tells, turned into pictures, the slider, the telemetry and the panes.
void COrvexMainWindow::ConnectSession() {
    PlaybackSession* session = m_pSession;
    connect(session, &PlaybackSession::engineStuck, this,
            [this] { SayCardNotAnswering(LangText(IDS_PLAYER_NOT_ANSWERING)); });
    connect(session, &PlaybackSession::playingReported, this,
            [this](bool playing) { SetButtonState(Child<CSkinButton>(IDC_PLAY), playing ? 1 : 0); });
    connect(session, &PlaybackSession::stateChanged, this,
            [this](PlaybackSession::Side side, PlaybackSession::EngineState state) {
                if (side == PlaybackSession::Side::kFront && state == PlaybackSession::EngineState::kPlaying)
                    Child<CGSensorCtrl>(IDC_GSENSOR)->SetStopped(false);
            });
    connect(session, &PlaybackSession::timeReported, this, [this](qint64 ms, qint64 lengthMs) {
        FollowTime(ms);
        MoveSlider(ms, lengthMs);
    });
    connect(session, &PlaybackSession::seekScheduled, this, [this](qint64 ms, qint64 lengthMs) {
        Child<CGSensorCtrl>(IDC_GSENSOR)->FollowSliderOnce();
        FollowTime(ms);
        MoveSlider(ms, lengthMs);
    });
    connect(session, &PlaybackSession::seekApplied, this, [this](qint64 ms) { Telemetry().RedrawDrivenPath(ms); });
    connect(session, &PlaybackSession::recordingOpened, this, [this] { m_pModes->FitVideoPanes(); });
    connect(session, &PlaybackSession::gpsIndicatorCleared, this, [this] { SetGpsColor(0); });
    connect(session, &PlaybackSession::errorReported, this, &COrvexMainWindow::OnPlayerError);
    connect(session, &PlaybackSession::nextWanted, this, &COrvexMainWindow::Next);
    connect(session, &PlaybackSession::transportReset, this, &COrvexMainWindow::ResetTransport);
    connect(session, &PlaybackSession::stopped, this, &COrvexMainWindow::OnStopped);
    connect(session, &PlaybackSession::paneWanted, this, [this](PlaybackSession::Side side) {
        const int paneId = PaneOf(side);
        if (m_pModes->PaneHidden(paneId)) m_pModes->SetPaneHidden(paneId, false);
    });
    connect(session, &PlaybackSession::speedChanged, this, [this] { RefreshSpeedLabel(true); });
    connect(session, &PlaybackSession::volumeChanged, this, [this](int percent) {
        auto* slider = Child<CVolumeSlider>(IDC_VOLUME_SLIDER);
        if (slider->value() != percent) slider->setValue(percent);
    });
    connect(session, &PlaybackSession::mutedChanged, this,
            [this](bool muted) { SetButtonState(Child<CSkinButton>(IDC_VOLUME_BUTTON), muted ? 1 : 0); });
    // Auto-next is the loop button's picture: the standard picture means on.
    connect(session, &PlaybackSession::autoNextChanged, this,
            [this](bool on) { SetButtonState(Child<CSkinButton>(IDC_AUTO_NEXT), on ? 0 : 1); });
    connect(session, &PlaybackSession::rotationChanged, this, [this] {
        const int count = CatalogEntryCount();
        if (count > 0 && !m_pSession->CurrentPath().empty()) LoadTrackOf(m_catalog.CurrentEntry());
        m_pModes->FitVideoPanes();
    });
    connect(session, &PlaybackSession::viewModeChanged, this, [this](int mode) {
        SetButtonState(Child<CSkinButton>(IDC_SWITCH), mode);
        using State = PlaybackSession::EngineState;
        // Only the flags: the layout shows the panes of the new mode.
        const bool frontHidden = mode == 2 || m_pSession->State(PlaybackSession::Side::kFront) == State::kStopped;
        const bool rearHidden = mode == 1 || m_pSession->State(PlaybackSession::Side::kRear) == State::kStopped;
        m_pModes->SetPaneHiddenFlags(frontHidden, rearHidden);
        m_pModes->LayOutAgain();
    });
}

void COrvexMainWindow::ResetPlayback() {
    if (!m_pLists) InitPlaybackController();
    m_catalog.ResetCatalog();
    m_catalog.SetCurrentEntry(-1);
    RefreshSpeedLabel(false);
}

// --- transport ----------------------------------------------------------------------------------

void COrvexMainWindow::ResetTransport() {
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    slider->SetCurrentMs(0);
    slider->setValue(slider->OriginPosition());
    Child<CGSensorCtrl>(IDC_GSENSOR)->SetPlayPosition(0);
}

void COrvexMainWindow::RefreshSpeedLabel(bool timed) {
    const int speedIndex = m_pSession->SpeedIndex();
    Child<CPbSpeedLabelStatic>(IDC_PB_SPEED_LABEL)
        ->SetLabel(SpeedLabel(speedIndex), SpeedLabelShown(speedIndex) ? 1 : 0);
    if (!timed) return;
    m_nSpeedLabelTicks = 10;
    m_speedLabel.start();
}

void COrvexMainWindow::OnSpeedLabelTimer() {
    RefreshSpeedLabel(false);
    if (m_nSpeedLabelTicks > 0)
        --m_nSpeedLabelTicks;
    else
        m_speedLabel.stop();
}

void COrvexMainWindow::PlayPause() {
    if (m_catalog.Entries().empty()) {
        SetButtonState(Child<CSkinButton>(IDC_PLAY), 0);
        return;
    }
    m_pSession->TogglePlayPause();
}

void COrvexMainWindow::StopPlayback() {
    m_pSession->Stop();
}

void COrvexMainWindow::OnStopped() {
    SetButtonState(Child<CSkinButton>(IDC_PLAY), 0);
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    slider->SetCurrentMs(0);
    slider->setValue(slider->OriginPosition());
    slider->SetDurationMs(0);
    auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR);
    curve->SetPlayPosition(0);
    curve->SetStopped(true);
    for (int paneId : {IDC_FRONT_PANE, IDC_REAR_PANE})
        if (!m_pModes->PaneHidden(paneId)) m_pModes->SetPaneHidden(paneId, true);
}

void COrvexMainWindow::Faster() {
    m_pSession->Faster();
}

void COrvexMainWindow::Slower() {
    m_pSession->Slower();
}

// --- engine messages ----------------------------------------------------------------------------

void COrvexMainWindow::OnPlayerError() {
    const QString text = QString::fromStdString(LoadLangString(103));
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, this);
    box.setAccessibleName(text);
    box.exec();
}

// --- volume -----------------------------------------------------------------------------------

void COrvexMainWindow::ToggleMute() {
    m_pSession->SetMuted(!m_pSession->Muted());
}

void COrvexMainWindow::OnVolumeChanged(uintptr_t) {
    m_pSession->SetVolume(Child<CVolumeSlider>(IDC_VOLUME_SLIDER)->value());
}

void COrvexMainWindow::VolumeBy(int delta) {
    m_pSession->SetVolume(std::clamp(m_pSession->VolumePercent() + delta, 0, 100));
}

// --- seeking ----------------------------------------------------------------------------------

void COrvexMainWindow::OnSeekRequest(uintptr_t) {
    const auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    const SeekScale scale = slider->Scale();
    m_pSession->SeekToSliderPosition(slider->value(), scale.origin, scale.span);
}

void COrvexMainWindow::SeekBy(int64_t deltaMs) {
    if (m_pSession->LeadingLengthMs(true) <= 0) return;
    m_pSession->SeekTo(m_pSession->SeekBaseMs() + deltaMs);
}

void COrvexMainWindow::MoveSlider(int64_t timeMs, int64_t lengthMs) {
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    if (slider->IsDragging()) return;
    const SeekScale scale = slider->Scale();
    const auto move = SliderMoveForTime(timeMs, lengthMs, scale.origin, scale.span, slider->DurationMs());
    if (!move) return;
    slider->setValue(move->position);
    slider->SetCurrentMs(move->currentMs);
}

void COrvexMainWindow::OnSliderFollowTimer() {
    if (m_pSession->LeadingLengthMs(true) <= 0) return;
    MoveSlider(m_pSession->LeadingTimeMs(true), m_pSession->LeadingLengthMs(true));
}

// --- view switch and rotation -------------------------------------------------------------------

void COrvexMainWindow::SwitchView() {
    if (m_catalog.Entries().empty()) return;
    m_pSession->SwitchView();
}

void COrvexMainWindow::Rotate() {
    const int count = CatalogEntryCount();
    if (count > 0 && m_catalog.CurrentEntry() >= count) m_catalog.SetCurrentEntry(count - 1);
    m_pSession->Rotate();
}
