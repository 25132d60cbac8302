#include "engine_events.h"

#include "private_message.h"
#include "trace.h"
#include "video_engine.h"

namespace {

void ClearGpsIndicator(EngineEventTarget& target) {
    if (target.m_fnSetGpsColor) target.m_fnSetGpsColor(0);
}

// The time comes with the event: asking the player for it here could deadlock, since libVLC's stop
// holds the player's input lock while it waits for this very callback to return.
void ReportTime(EngineEventTarget& target, int64_t ms, uint32_t opening) {
    if (target.m_llPendingSeekMs != 0) return;
    PostPrivateMessage(target.m_pReceiver, MSG_PLAYER_TIME, static_cast<uint32_t>(ms), opening);
    if (target.m_fnMoveSeekSlider) target.m_fnMoveSeekSlider(ms);
    // The first report after an opening is traced: start-up measurements look for it.
    if (target.m_opening.EndAtFirstReport())
        Trace("==>> first time report %lld ms\n", static_cast<long long>(ms));
}

// The rules shared by both engines: what each event posts or clears. Every message carries the
// opening its player plays for.
void HandleEvent(EngineEventTarget& target, const libvlc_event_t& event, uint32_t opening) {
    switch (event.type) {
    case libvlc_MediaPlayerOpening:
        target.m_llPendingSeekMs = 0;
        ClearGpsIndicator(target);
        break;
    case libvlc_MediaPlayerStopped:
        ClearGpsIndicator(target);
        break;
    case libvlc_MediaPlayerPlaying:
        PostPrivateMessage(target.m_pReceiver, MSG_PLAYER_STATE, 3, opening);
        break;
    case libvlc_MediaPlayerPaused:
        target.m_llPendingSeekMs = 0;
        PostPrivateMessage(target.m_pReceiver, MSG_PLAYER_STATE, 4, opening);
        break;
    case libvlc_MediaPlayerEndReached:
        PostPrivateMessage(target.m_pReceiver, MSG_PLAYER_END, 1, opening);
        target.m_llPendingSeekMs = 0;
        break;
    case libvlc_MediaPlayerEncounteredError:
        PostPrivateMessage(target.m_pReceiver, MSG_PLAYER_ERROR, 1, opening);
        break;
    case libvlc_MediaPlayerTimeChanged:
        ReportTime(target, event.u.media_player_time_changed.new_time, opening);
        break;
    default:
        break;
    }
}

// A player still being stopped on its engine's worker reports under the opening it played for; of
// its reports only the indicator's grey at its stop gets through.
bool FromEarlierOpening(EngineEventTarget& target, uint32_t opening, const libvlc_event_t& event) {
    if (opening == target.m_nOpening) return false;
    if (event.type == libvlc_MediaPlayerStopped) ClearGpsIndicator(target);
    return true;
}

} // namespace

void OnFrontEngineEvent(const libvlc_event_t* event, void* user) {
    auto* target = static_cast<EngineEventTarget*>(user);
    if (!event || !target || !target->m_pFront) return;
    const uint32_t opening = target->m_pFront->EventOpening();
    if (FromEarlierOpening(*target, opening, *event)) return;
    HandleEvent(*target, *event, opening);
}

// While the front engine plays, it is the master: the rear reports only its end of file, as a
// message that changes nothing.
void OnRearEngineEvent(const libvlc_event_t* event, void* user) {
    auto* target = static_cast<EngineEventTarget*>(user);
    if (!event || !target || !target->m_pRear) return;
    const uint32_t opening = target->m_pRear->EventOpening();
    if (FromEarlierOpening(*target, opening, *event)) return;
    if (target->m_pFront && target->m_pFront->IsUsableAndPlaying()) {
        if (event->type == libvlc_MediaPlayerEndReached) {
            PostPrivateMessage(target->m_pReceiver, MSG_REAR_END, 1, opening);
            target->m_llPendingSeekMs = 0;
        }
        return;
    }
    HandleEvent(*target, *event, opening);
}
