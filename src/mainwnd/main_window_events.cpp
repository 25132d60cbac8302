// The window's events part: the Events list under the file list, the presenter that fills it and
// marks the slider and the curve, and where its seeks go.
#include "main_window.h"

#include <QListWidget>

#include <algorithm>

#include "control_ids.h"
#include "event_list.h"
#include "event_presenter.h"
#include "event_settings.h"
#include "gsensor_ctrl.h"
#include "playback_session.h"
#include "settings.h"
#include "video_slider.h"

void COrvexMainWindow::InitEvents() {
    auto* list = new CEventList(this);
    SetControlId(list, IDC_EVENT_LIST);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->show();
    m_pEvents = new CEventPresenter(Child<CGSensorCtrl>(IDC_GSENSOR), Child<CVideoSlider>(IDC_SEEK_SLIDER), list,
                                    ReadEventThresholds(GetAppSettings()), [this] { return CurrentEntryIndex(); },
                                    this);
    // A seek waiting to be applied counts already: a second N goes on from there.
    m_pEvents->SetClock([this] { return Session()->SeekBaseMs(); });
    connect(m_pEvents, &CEventPresenter::seekRequested, this, &COrvexMainWindow::ShowEventAt);
}

// Within the open recording a seek; an event of another recording of the trip opens that one there.
void COrvexMainWindow::ShowEventAt(int entryIndex, int64_t recordingMs) {
    if (EndTripOfOldCatalog()) return;
    if (entryIndex == CurrentEntryIndex())
        Session()->SeekTo(std::max<int64_t>(recordingMs, 1));
    else
        OpenEntryAt(entryIndex, recordingMs);
}
