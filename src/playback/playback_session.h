// The playback of one recording in the front and the rear engine: the session owns both engines and
// every piece of playback state (each engine's playing or paused state, the speed row, volume and
// mute, rotation, the pending seek, auto-next, the view mode, which recording and which rear file are
// open). Its operations are the only way to change that state; the window and the widgets follow it
// through the signals.
//
// The dual-engine rules live here once: the leading engine is the front when it is active, else the
// rear; a rear file without its front file plays alone and is heard at the slider's volume; a seek is
// measured against the leading engine counting paused engines; a seek is only scheduled, and the
// 500 ms tick gives it to both engines.
//
// Threading: every function is called on the UI thread, every signal is emitted on it. The engines'
// callbacks run on libVLC's threads and only post messages; each opening gets a new generation and
// messages of an older opening are dropped on arrival. The engine work that can wait for a card (a
// stop waits for the input thread, which may hang on a card that stops answering; a media change
// stops the player first) runs on each engine's worker thread, so no operation here waits for it.
// The 500 ms tick also looks for an engine whose work has been stuck for over
// CVideoEngine::kStuckMs: that engine goes on with a fresh player (the stuck one is left behind) and
// engineStuck is emitted; the recording asked for last still opens.
#pragma once

#include "engine_events.h"
#include "recording_plan.h"

#include <QObject>
#include <QTimer>
#include <QtGui/qwindowdefs.h>

#include <cstdint>
#include <filesystem>
#include <memory>

class CVideoEngine;
class EngineMessageRelay;

class PlaybackSession : public QObject {
    Q_OBJECT

  public:
    enum class Side { kFront, kRear };
    Q_ENUM(Side)
    enum class EngineState { kStopped, kPlaying, kPaused };
    Q_ENUM(EngineState)
    // 0: front and rear side by side, 1: front only, 2: rear only.
    static constexpr int kViewModeCount = 3;
    static constexpr int kApplySeekPeriodMs = 500;
    static constexpr int kEndToNextMs = 400;  // end of a recording to the next one or the stop
    static constexpr int kMuteAfterPlayMs = 100;

    // Makes the front engine, then the rear engine, and attaches their events.
    explicit PlaybackSession(QObject* parent = nullptr);
    // Stops and releases both engines (rear first).
    ~PlaybackSession() override;

    // The native windows the players draw into; the front player is bound at once, the rear at each
    // opening (a rebuilt engine has lost its binding).
    void SetPanes(WId front, WId rear);

    // --- operations ---------------------------------------------------------------------------
    // Stops both engines, starts a new generation and plays path: its front file in the front engine
    // and its rear partner silent beside it, or a rear file alone (heard) when no front file exists.
    // At the speed row in force, the volume and mute in force.
    void Open(const std::filesystem::path& path);
    // Open, then the engines go to startMs at their first time report (a player still opening
    // ignores a seek); 0 starts at the beginning.
    void OpenAt(const std::filesystem::path& path, int64_t startMs);
    // Opens the recording open now again (after a rotation, for example); nothing when none is open.
    void Reopen();
    // Pauses each playing engine; resumes each paused engine. Toggle: pause when an engine plays,
    // else resume. None of them starts a stopped engine. Each clears the pending seek.
    void Pause();
    void Play();
    void TogglePlayPause();
    // The stop command: both engines stopped, pending seek cleared, speed back to normal; emits
    // stopped(). Stopping engines for an opening flow (list choice, previous, next) is StopEngines.
    void Stop();
    void StopEngines();
    // Stops both engines and forgets the recording (its files are gone): Reopen and Rotate have
    // nothing to open again.
    void Close();
    // Schedules a seek to ms (0..length; the engines get at least 1 ms: 0 means "none pending").
    // The telemetry may follow at once (seekScheduled); the engines seek on the next tick.
    void SeekTo(int64_t ms);
    // A seek slider position, measured against the leading engine (paused ones count).
    void SeekToSliderPosition(int position, int origin, int span);
    // The 500 ms tick: hands the pending seek to both usable engines (front first) and clears it.
    // Runs on the session's own timer; public so that a caller may apply at once.
    void ApplyPendingSeek();
    void Faster();
    void Slower();
    void SetVolume(int percent); // the volume slider's 0..100
    void SetMuted(bool muted);
    void SetAutoNext(bool on);
    // Turns the picture by 180 degrees or back: both engines rebuilt, the recording reopened, and the
    // state before (stopped, paused or playing at its time) given back at their first time report.
    void Rotate();
    // Next view mode (front and rear, front only, rear only); the engines that play are paused while
    // viewModeChanged is handled (the window lays out in it) and resumed after. The caller checks
    // that the catalog is not empty.
    void SwitchView();
    // Pauses the playing engines until the matching EndHold (full-screen change, snapshot, file
    // commands); holds nest. An engine paused or stopped meanwhile is not resumed.
    void BeginHold();
    void EndHold();

    // --- state ----------------------------------------------------------------------------------
    bool Usable(Side side) const;
    EngineState State(Side side) const;
    bool AnyPlaying() const;
    int SpeedIndex() const { return m_nSpeedIndex; }
    int VolumePercent() const { return m_nVolumePercent; }
    bool Muted() const { return m_bMuted; }
    bool AutoNext() const { return m_bAutoNext; }
    bool Rotated() const { return m_bRotated; }
    int ViewMode() const { return m_nViewMode; }
    const std::filesystem::path& CurrentPath() const { return m_currentPath; }
    // Which file each engine plays for the open recording (both empty when none is open).
    const RecordingPlan& Plan() const { return m_plan; }
    // Generation of the opening in force (the engine callbacks' opening count); each Open, Stop,
    // StopEngines and Close starts a new one.
    uint32_t Generation() const { return m_nGeneration; }
    // A source or recording is being opened (list choices wait); the first time report ends it.
    COpeningFlag& Opening() { return m_target.m_opening; }
    const COpeningFlag& Opening() const { return m_target.m_opening; }
    // The pending seek in ms, 0 when none.
    int64_t PendingSeekMs() const;
    // The leading engine's time and length: front when active, else rear (paused ones count when
    // countPaused); 0 when neither. The base of a keyboard step is the pending seek when one waits.
    int64_t LeadingTimeMs(bool countPaused);
    int64_t LeadingLengthMs(bool countPaused);
    int64_t SeekBaseMs();

    // Low-level access for snapshot and print while they still take engines; not for state changes.
    CVideoEngine& Engine(Side side);

  signals:
    // An engine's state changed by an operation of the session.
    void stateChanged(PlaybackSession::Side side, PlaybackSession::EngineState state);
    // The players report playing (true) or paused (false): the play button's picture.
    void playingReported(bool playing);
    // A time report of the leading engine, with its length (0 unknown), while no seek is pending.
    void timeReported(qint64 ms, qint64 lengthMs);
    // A seek was scheduled (the telemetry and the slider follow at once) and given to the engines.
    void seekScheduled(qint64 ms, qint64 lengthMs);
    void seekApplied(qint64 ms);
    // CurrentPath's files were given to the engines (fit the panes to the picture).
    void recordingOpened(bool hasFront, bool hasRear);
    // An opening or a stop of a player: the GPS indicator goes grey until the next fix.
    void gpsIndicatorCleared();
    // The player of the opening in force reported an error.
    void errorReported();
    // The leading engine reached the end: kEndToNextMs later either nextWanted (auto-next on) or
    // the engines are stopped and transportReset is emitted.
    void ended();
    void nextWanted();
    void transportReset();
    // The stop command ran (play picture, slider and curve to the start, panes hidden).
    void stopped();
    // An engine is resumed, or the rear one opened, while the view mode shows its pane: the window
    // shows that pane.
    void paneWanted(PlaybackSession::Side side);
    void speedChanged(int speedIndex);
    void volumeChanged(int percent);
    void mutedChanged(bool muted);
    void autoNextChanged(bool on);
    void rotationChanged(bool rotated);
    void viewModeChanged(int mode);
    // An engine's work waited for the card for over CVideoEngine::kStuckMs; it goes on with a fresh
    // player, the stuck one is left behind.
    void engineStuck(PlaybackSession::Side side);

  private:
    friend class EngineMessageRelay;
    void OnEngineMessage(int message, uintptr_t wParam, intptr_t opening);
    void ReplaceStuckEngines();
    CVideoEngine* LeadingEngine(bool countPaused);
    CVideoEngine& EngineOf(Side side) const;
    void NewGeneration();
    void OpenRear(const RecordingPlan& plan);
    void ApplyRate();
    void ApplyVolume();
    void ApplyMute();
    void EmitStates();
    void WantPaneIfShown(Side side);
    void RestoreAfterRotate();
    void OnEndDelayElapsed(uint32_t generation);

    // Outlives both engines: their release may still report events.
    EngineEventTarget m_target;
    std::unique_ptr<CVideoEngine> m_pFront;
    std::unique_ptr<CVideoEngine> m_pRear;
    // Receives the engine messages (each carries the opening its player played for).
    EngineMessageRelay* m_pRelay = nullptr;
    QTimer m_applySeekTimer;
    WId m_frontPane = 0;
    WId m_rearPane = 0;
    uint32_t m_nGeneration = 0;
    RecordingPlan m_plan;
    std::filesystem::path m_currentPath;
    int m_nSpeedIndex;
    int m_nVolumePercent = 50;
    bool m_bMuted = false;
    bool m_bAutoNext = true;
    bool m_bRotated = false;
    int m_nViewMode = 0;
    int m_nHolds = 0;
    bool m_bHeldFront = false;
    bool m_bHeldRear = false;
    // After a rotation: the time and pause to give back once the rebuilt engines play (-1: none).
    int64_t m_llRestoreTimeMs = -1;
    bool m_bRestorePaused = false;
    EngineState m_lastState[2] = {EngineState::kStopped, EngineState::kStopped};
};

