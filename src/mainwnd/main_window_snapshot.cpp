// The snapshot (1006) and print (1077) commands of the main window.
#include "main_window.h"

#include "snapshot.h"
#include "video_engine.h"
#include "window_print.h"

void COrvexMainWindow::Snapshot() {
    SaveSnapshot(CatalogEntryCount(), *m_pFrontEngine, *m_pRearEngine, SnapshotDialogs(this));
}

void COrvexMainWindow::Print() {
    PrintMainWindow(this);
}
