// The snapshot (1006) and print (1077) commands of the main window.
#include "main_window.h"

#include "playback_session.h"
#include "snapshot.h"
#include "video_engine.h"
#include "window_print.h"

void COrvexMainWindow::Snapshot() {
    // Held by the session too, so that no other hold resumes the players under the dialogs.
    m_pSession->BeginHold();
    SaveSnapshot(CatalogEntryCount(), m_pSession->Engine(PlaybackSession::Side::kFront),
                 m_pSession->Engine(PlaybackSession::Side::kRear), SnapshotDialogs(this));
    m_pSession->EndHold();
}

void COrvexMainWindow::Print() {
    PrintMainWindow(this);
}
