// The engine event callbacks: libVLC calls them on its own threads; they turn the player's events
// into private messages posted to the playback session, and touch only a few shared words.
#pragma once

#include "opening_rules.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vlc/vlc.h>

class CVideoEngine;

// The user data given to AttachEvents for both engines: what the callbacks may reach.
// It must outlive both engines.
struct EngineEventTarget {
    QObject* m_pReceiver = nullptr; // receives the posted messages; set before the engines play
    CVideoEngine* m_pFront = nullptr;
    CVideoEngine* m_pRear = nullptr;
    // Seek target waiting to be applied; 0 = none. Written by the UI thread and by the callbacks.
    std::atomic<int64_t> m_llPendingSeekMs{0};
    // A source or recording is being opened; the first time report of an engine ends it.
    COpeningFlag m_opening;
    // Greys the GPS indicator (its colour flag to 0) and repaints it. Runs on an engine thread, so it
    // must queue the repaint to the UI thread without waiting for it. May be empty.
    std::function<void(int)> m_fnSetGpsColor;
    // Moves the seek slider after a time report, on the engine thread, with the reported time in ms.
    // Empty until the slider exists. Like the callbacks, it must neither call into libVLC (read the
    // length on the UI thread) nor wait for the UI thread (queue, never block).
    std::function<void(int64_t)> m_fnMoveSeekSlider;

    // Which opening the engines play. The UI thread moves it on whenever it stops the engines or
    // opens a recording, and tells each engine (CVideoEngine::MarkOpening), whose worker takes the
    // mark in order with the stop and the media change. Every message carries the opening its
    // player played for (as lParam): events of a player still being stopped are dropped here, and a
    // message about an earlier opening is known as stale when it arrives.
    std::atomic<uint32_t> m_nOpening{0};
    void BeginNewOpening() { ++m_nOpening; }
    bool IsCurrentOpening(intptr_t posted) const { return static_cast<uint32_t>(posted) == m_nOpening; }
};

// libVLC callbacks; user is the EngineEventTarget. They read the event's type, and for a time report
// its time, from the record, and never call into libVLC.
void OnFrontEngineEvent(const libvlc_event_t* event, void* user);
void OnRearEngineEvent(const libvlc_event_t* event, void* user);
