// The session's side of the engine messages: the relay, the opening check, and what each message
// of the opening in force does.
#include "playback_session.h"

#include "opening_rules.h"
#include "private_message.h"
#include "video_engine.h"

// The receiver of the engine messages: it hands each to the session, which drops what the players of
// an older opening posted.
class EngineMessageRelay : public QObject {
  public:
    explicit EngineMessageRelay(PlaybackSession* session) : QObject(session), m_pSession(session) {}

    bool event(QEvent* event) override {
        const int type = event->type();
        if (type < MSG_PLAYER_ERROR || type > MSG_REAR_END) return QObject::event(event);
        const auto* message = static_cast<const PrivateMessage*>(event);
        m_pSession->OnEngineMessage(message->message(), message->wParam(), message->lParam());
        return true;
    }

  private:
    PlaybackSession* m_pSession;
};

// Called after the engines were asked to stop: each engine's worker takes the mark after the stop,
// so what a player reports until it has stopped carries the earlier opening and is dropped.
void PlaybackSession::NewGeneration() {
    if (!m_pRelay) {
        m_pRelay = new EngineMessageRelay(this);
        m_target.m_pReceiver = m_pRelay;
    }
    m_target.BeginNewOpening();
    m_nGeneration = m_target.m_nOpening;
    m_pFront->MarkOpening(m_nGeneration);
    m_pRear->MarkOpening(m_nGeneration);
}

void PlaybackSession::ReplaceStuckEngines() {
    for (Side side : {Side::kFront, Side::kRear}) {
        if (!EngineOf(side).ReplaceIfStuck()) continue;
        emit engineStuck(side);
    }
    EmitStates();
}

void PlaybackSession::RestoreAfterRotate() {
    if (m_llRestoreTimeMs < 0) return;
    for (CVideoEngine* engine : {m_pFront.get(), m_pRear.get()}) {
        if (!engine->IsActive(false)) continue;
        engine->SetTime(m_llRestoreTimeMs);
        if (m_bRestorePaused) engine->PausePlaying();
    }
    m_llRestoreTimeMs = -1;
    EmitStates();
}

void PlaybackSession::OnEngineMessage(int message, uintptr_t wParam, intptr_t opening) {
    if (!m_target.IsCurrentOpening(opening)) return; // posted by the players of an earlier opening
    const uint32_t generation = m_nGeneration;
    switch (message) {
    case MSG_PLAYER_STATE: {
        const bool playing = wParam == 2 || wParam == 3;
        emit playingReported(playing);
        if (!playing) break;
        QTimer::singleShot(kMuteAfterPlayMs, this, [this, generation] {
            if (generation == m_nGeneration) ApplyMute();
        });
        break;
    }
    case MSG_PLAYER_TIME: {
        // A player that has only just reported "playing" may still ignore a seek or a pause; its
        // first time report says it runs.
        if (m_llRestoreTimeMs >= 0) {
            RestoreAfterRotate();
            break;
        }
        // A report queued before a seek was asked for would pull the thumb back.
        if (m_target.m_llPendingSeekMs != 0) break;
        const int64_t ms = static_cast<int64_t>(static_cast<uint32_t>(wParam));
        CVideoEngine* leading = LeadingEngine(false);
        emit timeReported(ms, leading ? leading->GetLength() : 0);
        break;
    }
    case MSG_PLAYER_END:
        emit ended();
        QTimer::singleShot(kEndToNextMs, this, [this, generation] { OnEndDelayElapsed(generation); });
        break;
    case MSG_PLAYER_ERROR:
        // A file that never plays must not keep list choices away for long.
        m_target.m_opening.End();
        emit errorReported();
        break;
    default: // the rear's end while the front plays changes nothing
        break;
    }
}

void PlaybackSession::OnEndDelayElapsed(uint32_t generation) {
    // Another recording opened, or the user stopped, during the delay: that choice stands.
    if (generation != m_nGeneration) return;
    if (m_bAutoNext) {
        emit nextWanted();
        return;
    }
    StopEngines();
    emit transportReset();
}
