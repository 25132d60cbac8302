// The session's side of the engine messages: each opening's relay, the generation check, and what
// each message of the opening in force does.
#include "playback_session.h"

#include "opening_rules.h"
#include "private_message.h"
#include "video_engine.h"

// One opening's receiver of the engine messages: it hands each to the session with the generation it
// was made for, so the session can drop what an older opening's players posted.
class EngineMessageRelay : public QObject {
  public:
    EngineMessageRelay(PlaybackSession* session, uint32_t generation)
        : QObject(session), m_pSession(session), m_nGeneration(generation) {}

    bool event(QEvent* event) override {
        const int type = event->type();
        if (type < MSG_PLAYER_ERROR || type > MSG_REAR_END) return QObject::event(event);
        const auto* message = static_cast<const PrivateMessage*>(event);
        m_pSession->OnEngineMessage(m_nGeneration, message->message(), message->wParam(), message->lParam());
        return true;
    }

  private:
    PlaybackSession* m_pSession;
    uint32_t m_nGeneration;
};

// Called with both engines stopped, so no callback is running while the receiver changes. The
// callbacks' own opening count moves with it: their end and error messages carry it as well.
void PlaybackSession::NewGeneration() {
    m_target.BeginNewOpening();
    m_nGeneration = m_target.m_nOpening;
    EngineMessageRelay* previous = m_pRelay;
    m_pRelay = new EngineMessageRelay(this, m_nGeneration);
    m_target.m_pReceiver = m_pRelay;
    // Messages already posted to the previous relay arrive first and are dropped by generation.
    if (previous) previous->deleteLater();
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

void PlaybackSession::OnEngineMessage(uint32_t generation, int message, uintptr_t wParam, intptr_t opening) {
    if (generation != m_nGeneration) return; // posted by the players of an earlier opening
    // End and error say which opening libVLC raised them in.
    const bool stamped = message == MSG_PLAYER_END || message == MSG_PLAYER_ERROR || message == MSG_REAR_END;
    if (stamped && !m_target.IsCurrentOpening(opening)) return;
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
        EndOpening();
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
