#include "playback_session.h"

#include "opening_rules.h"
#include "playback_speeds.h"
#include "private_message.h"
#include "seek_rules.h"
#include "video_engine.h"

#include <algorithm>

namespace {

EngineTimeSource TimeSource(CVideoEngine& engine) {
    EngineTimeSource source;
    source.usable = engine.IsUsable();
    source.playing = engine.IsPlaying();
    source.paused = engine.IsPaused();
    source.lengthMs = source.usable ? engine.GetLength() : 0;
    return source;
}

PlaybackSession::EngineState StateOf(const CVideoEngine& engine) {
    if (engine.IsActive(false)) return PlaybackSession::EngineState::kPlaying;
    if (engine.IsActive(true)) return PlaybackSession::EngineState::kPaused;
    return PlaybackSession::EngineState::kStopped;
}

} // namespace

PlaybackSession::PlaybackSession(QObject* parent)
    : QObject(parent), m_pFront(std::make_unique<CVideoEngine>()), m_pRear(std::make_unique<CVideoEngine>()),
      m_nSpeedIndex(kNormalSpeedIndex) {
    m_target.m_pFront = m_pFront.get();
    m_target.m_pRear = m_pRear.get();
    // Engine threads never touch the window: the indicator's grey is queued to the UI thread.
    m_target.m_fnSetGpsColor = [this](int) {
        QMetaObject::invokeMethod(this, [this] { emit gpsIndicatorCleared(); }, Qt::QueuedConnection);
    };
    NewGeneration();
    m_pFront->AttachEvents(OnFrontEngineEvent, &m_target);
    m_pRear->AttachEvents(OnRearEngineEvent, &m_target);
    m_pFront->SetVolume(FrontEngineVolume(m_nVolumePercent));
    connect(&m_applySeekTimer, &QTimer::timeout, this, &PlaybackSession::ApplyPendingSeek);
    connect(&m_applySeekTimer, &QTimer::timeout, this, &PlaybackSession::ReplaceStuckEngines);
    m_applySeekTimer.start(kApplySeekPeriodMs);
}

PlaybackSession::~PlaybackSession() {
    m_applySeekTimer.stop();
    m_pRear.reset();
    m_pFront.reset();
}

void PlaybackSession::SetPanes(WId front, WId rear) {
    m_frontPane = front;
    m_rearPane = rear;
    if (front) m_pFront->BindWindow(front);
}

CVideoEngine& PlaybackSession::EngineOf(Side side) const {
    return side == Side::kFront ? *m_pFront : *m_pRear;
}

CVideoEngine& PlaybackSession::Engine(Side side) {
    return EngineOf(side);
}

bool PlaybackSession::Usable(Side side) const {
    return EngineOf(side).IsUsable();
}

PlaybackSession::EngineState PlaybackSession::State(Side side) const {
    return StateOf(EngineOf(side));
}

bool PlaybackSession::AnyPlaying() const {
    return m_pFront->IsActive(false) || m_pRear->IsActive(false);
}

int64_t PlaybackSession::PendingSeekMs() const {
    return m_target.m_llPendingSeekMs;
}

// --- state signals ------------------------------------------------------------------------------

void PlaybackSession::EmitStates() {
    for (Side side : {Side::kFront, Side::kRear}) {
        const EngineState state = State(side);
        EngineState& last = m_lastState[side == Side::kFront ? 0 : 1];
        if (state == last) continue;
        last = state;
        emit stateChanged(side, state);
    }
}

void PlaybackSession::WantPaneIfShown(Side side) {
    const int hiddenInMode = side == Side::kFront ? 2 : 1;
    if (m_nViewMode != hiddenInMode) emit paneWanted(side);
}

// --- opening ------------------------------------------------------------------------------------

void PlaybackSession::Open(const std::filesystem::path& path) {
    StopEngines();
    m_currentPath = path;
    m_plan = PlanRecording(path);
    if (!m_plan.front.empty()) {
        m_pFront->SetVolume(FrontEngineVolume(m_nVolumePercent));
        m_pFront->Open(m_plan.front, m_frontPane, false, true);
    }
    OpenRear(m_plan);
    // Both engines at the row in force, a rebuilt one as well.
    ApplyRate();
    m_target.m_opening.EndIfNoEngine(m_pFront->IsUsable(), m_pRear->IsUsable());
    EmitStates();
    emit speedChanged(m_nSpeedIndex);
    emit recordingOpened(!m_plan.front.empty(), !m_plan.rear.empty());
}

void PlaybackSession::OpenAt(const std::filesystem::path& path, int64_t startMs) {
    Open(path);
    if (startMs <= 0) return;
    m_llRestoreTimeMs = startMs;
    m_bRestorePaused = false;
}

void PlaybackSession::OpenRear(const RecordingPlan& plan) {
    if (plan.rear.empty() || !m_rearPane) {
        // No rear file: a rebuilt engine shows no picture (at the rotation in force).
        m_pRear->Stop();
        m_pRear->Rebuild(m_bRotated ? 1 : 0);
        return;
    }
    WantPaneIfShown(Side::kRear);
    // Beside a front file the rear is silent; alone it is heard at the slider's volume.
    m_pRear->SetVolume(RearEngineVolume(plan, m_nVolumePercent));
    m_pRear->Open(plan.rear, m_rearPane, plan.rearSilent, true);
    if (!plan.rearSilent) m_pRear->SetMute(m_bMuted);
}

void PlaybackSession::Reopen() {
    if (m_currentPath.empty()) return;
    const std::filesystem::path path = m_currentPath;
    Open(path);
}

// --- transport ----------------------------------------------------------------------------------

void PlaybackSession::Pause() {
    m_target.m_llPendingSeekMs = 0;
    // Paused by the user: the end of a hold must not resume it.
    m_bHeldFront = m_bHeldRear = false;
    m_pFront->PausePlaying();
    m_pRear->PausePlaying();
    EmitStates();
}

void PlaybackSession::Play() {
    m_target.m_llPendingSeekMs = 0;
    for (Side side : {Side::kFront, Side::kRear}) {
        if (!EngineOf(side).ResumePaused()) continue;
        WantPaneIfShown(side);
        if (side == Side::kFront) emit speedChanged(m_nSpeedIndex);
    }
    EmitStates();
}

void PlaybackSession::TogglePlayPause() {
    if (AnyPlaying())
        Pause();
    else
        Play();
}

void PlaybackSession::StopEngines() {
    m_target.m_llPendingSeekMs = 0;
    m_llRestoreTimeMs = -1;
    m_nHolds = 0;
    m_pFront->Stop();
    m_pRear->Stop();
    NewGeneration();
    EmitStates();
}

void PlaybackSession::Close() {
    StopEngines();
    m_currentPath.clear();
    m_plan = RecordingPlan();
}

void PlaybackSession::Stop() {
    StopEngines();
    m_nSpeedIndex = kNormalSpeedIndex;
    ApplyRate();
    emit speedChanged(m_nSpeedIndex);
    emit stopped();
}

void PlaybackSession::ApplyRate() {
    const float rate = SpeedRate(m_nSpeedIndex);
    for (CVideoEngine* engine : {m_pFront.get(), m_pRear.get()})
        if (engine->IsUsable()) engine->SetRate(rate);
}

void PlaybackSession::Faster() {
    m_nSpeedIndex = FasterSpeedIndex(m_nSpeedIndex);
    ApplyRate();
    emit speedChanged(m_nSpeedIndex);
}

void PlaybackSession::Slower() {
    m_nSpeedIndex = SlowerSpeedIndex(m_nSpeedIndex);
    ApplyRate();
    emit speedChanged(m_nSpeedIndex);
}

// --- volume -------------------------------------------------------------------------------------

void PlaybackSession::ApplyVolume() {
    m_pFront->SetVolume(FrontEngineVolume(m_nVolumePercent));
    m_pRear->SetVolume(RearEngineVolume(m_plan, m_nVolumePercent));
}

void PlaybackSession::ApplyMute() {
    m_pFront->SetMute(m_bMuted);
    if (m_plan.RearAlone()) m_pRear->SetMute(m_bMuted);
}

void PlaybackSession::SetVolume(int percent) {
    m_nVolumePercent = std::clamp(percent, 0, 100);
    ApplyVolume();
    emit volumeChanged(m_nVolumePercent);
}

void PlaybackSession::SetMuted(bool muted) {
    m_bMuted = muted;
    ApplyMute();
    emit mutedChanged(muted);
}

void PlaybackSession::SetAutoNext(bool on) {
    m_bAutoNext = on;
    emit autoNextChanged(on);
}

// --- seeking ------------------------------------------------------------------------------------

CVideoEngine* PlaybackSession::LeadingEngine(bool countPaused) {
    if (m_pFront->IsActive(countPaused)) return m_pFront.get();
    if (m_pRear->IsActive(countPaused)) return m_pRear.get();
    return nullptr;
}

int64_t PlaybackSession::LeadingTimeMs(bool countPaused) {
    CVideoEngine* engine = LeadingEngine(countPaused);
    return engine ? std::max<int64_t>(engine->GetTime(), 0) : 0;
}

int64_t PlaybackSession::LeadingLengthMs(bool countPaused) {
    return SeekLengthMs(TimeSource(*m_pFront), TimeSource(*m_pRear), countPaused);
}

int64_t PlaybackSession::SeekBaseMs() {
    const int64_t pending = m_target.m_llPendingSeekMs;
    return pending != 0 ? pending : LeadingTimeMs(true);
}

void PlaybackSession::SeekTo(int64_t ms) {
    const int64_t length = LeadingLengthMs(true);
    if (length <= 0) return;
    const int64_t target = std::clamp<int64_t>(ms, 0, length);
    // 0 means "none pending": a seek to the start is stored as 1 ms.
    m_target.m_llPendingSeekMs = std::max<int64_t>(target, 1);
    emit seekScheduled(target, length);
}

void PlaybackSession::SeekToSliderPosition(int position, int origin, int span) {
    const int64_t length = LeadingLengthMs(true);
    const auto seek = ::PendingSeekMs(length, position, origin, span);
    if (!seek) return;
    m_target.m_llPendingSeekMs = *seek;
    emit seekScheduled(*seek, length);
}

void PlaybackSession::ApplyPendingSeek() {
    const int64_t ms = m_target.m_llPendingSeekMs;
    if (ms == 0) return;
    for (CVideoEngine* engine : {m_pFront.get(), m_pRear.get()})
        if (engine->IsUsable()) engine->SetTime(ms);
    m_target.m_llPendingSeekMs = 0;
    emit seekApplied(ms);
}

// --- view switch, holds and rotation ------------------------------------------------------------

void PlaybackSession::BeginHold() {
    if (m_nHolds++ > 0) return;
    m_bHeldFront = m_pFront->PausePlaying();
    m_bHeldRear = m_pRear->PausePlaying();
    EmitStates();
}

void PlaybackSession::EndHold() {
    if (m_nHolds == 0 || --m_nHolds > 0) return;
    // An engine stopped or resumed during the hold keeps that state.
    if (m_bHeldFront) m_pFront->ResumePaused();
    if (m_bHeldRear) m_pRear->ResumePaused();
    m_bHeldFront = m_bHeldRear = false;
    EmitStates();
}

void PlaybackSession::SwitchView() {
    BeginHold();
    m_nViewMode = (m_nViewMode + 1) % kViewModeCount;
    emit viewModeChanged(m_nViewMode);
    EndHold();
}

void PlaybackSession::Rotate() {
    m_bRotated = !m_bRotated;
    const EngineState before = m_pFront->IsUsable() ? State(Side::kFront) : EngineState::kStopped;
    const int64_t time = m_pFront->IsUsable() ? m_pFront->GetTime() : 0;
    m_pFront->Stop();
    m_pFront->Rebuild(m_bRotated ? 1 : 0);
    m_pRear->Stop();
    m_pRear->Rebuild(m_bRotated ? 1 : 0);
    if (m_frontPane) m_pFront->BindWindow(m_frontPane);
    if (m_rearPane) m_pRear->BindWindow(m_rearPane);
    emit rotationChanged(m_bRotated);
    Reopen();
    if (before == EngineState::kStopped) {
        StopEngines();
        emit stopped();
        return;
    }
    // A player that is still opening ignores a seek or a pause: both wait for its first time report.
    m_llRestoreTimeMs = std::max<int64_t>(time, 1);
    m_bRestorePaused = before == EngineState::kPaused;
}
