#include "pane_picture_hold.h"

#include "playback_session.h"
#include "video_static.h"

CPanePictureHold::CPanePictureHold(PlaybackSession& session, CVideoStatic* front, CVideoStatic* rear,
                                   QObject* parent)
    : QObject(parent), m_front(front), m_rear(rear) {
    connect(&session, &PlaybackSession::ended, this, &CPanePictureHold::Hold);
    connect(&session, &PlaybackSession::recordingOpened, this, [this] {
        if (m_bHolding) m_bNextOpened = true;
    });
    // A new player reports time 0 while it is still making its picture; a later time says it draws.
    connect(&session, &PlaybackSession::timeReported, this, [this](qint64 ms) {
        if (m_bHolding && m_bNextOpened && ms > 0) Release(false);
    });
    for (auto signal : {&PlaybackSession::stopped, &PlaybackSession::transportReset, &PlaybackSession::errorReported})
        connect(&session, signal, this, [this] { Release(true); });
}

void CPanePictureHold::Hold() {
    m_bHolding = false;
    m_bNextOpened = false;
    for (CVideoStatic* pane : {m_front.data(), m_rear.data()})
        if (pane && pane->HoldPicture()) m_bHolding = true;
}

void CPanePictureHold::Release(bool repaintNow) {
    for (CVideoStatic* pane : {m_front.data(), m_rear.data()})
        if (pane && pane->HoldsPicture()) pane->ReleaseHeldPicture(repaintNow);
    m_bHolding = false;
    m_bNextOpened = false;
}
