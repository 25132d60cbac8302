// The window's trips part: the trip bar under the seek slider with the trip's summary, and the trip
// presenter that plays a group line as one drive; its openings go through OpenEntryAt, its map
// output straight to the map window, and while it plays the per-recording track stays off the map.
#include "main_window.h"

#include <QEvent>
#include <QKeyEvent>

#include <algorithm>

#include "control_ids.h"
#include "playback_session.h"
#include "track_plot.h"
#include "trip_bar.h"
#include "trip_presenter.h"
#include "window_modes.h"

namespace {

// The window's Left/Right (and other) shortcuts must not take the keys that move the bar.
class CTripBarKeyKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            event->accept();
            return true;
        default:
            return false;
        }
    }
};

} // namespace

void COrvexMainWindow::InitTrips() {
    auto* bar = new CTripBar(this);
    SetControlId(bar, IDC_TRIP_BAR);
    bar->installEventFilter(new CTripBarKeyKeeper(bar));
    TripPresenterHooks hooks;
    hooks.openEntryAt = [this](int entry, int64_t offsetMs) { OpenEntryAt(entry, offsetMs); };
    hooks.seekTo = [this](int64_t offsetMs) { Session()->SeekTo(std::max<int64_t>(offsetMs, 1)); };
    hooks.toMap = [this](const QStringList& scripts, const std::optional<MovePosArgs>& movePos) {
        if (m_pModes->MapShown()) ApplyToMap(m_pMapDlg, scripts, movePos);
    };
    hooks.barShownChanged = [this](bool) { m_pModes->LayOutAgain(); };
    // The summary is the bar's tool tip until the window has a place for its panel.
    m_pTrips = new CTripPresenter(bar, nullptr, std::move(hooks), this);
    auto showSummary = [this, bar] { bar->setToolTip(m_pTrips->PlayingSummary()); };
    connect(m_pTrips, &CTripPresenter::routeShown, bar, showSummary);
    PlaybackSession* session = Session();
    connect(session, &PlaybackSession::timeReported, m_pTrips, [this](qint64 ms) { m_pTrips->OnRecordingTime(ms); });
    connect(session, &PlaybackSession::seekScheduled, m_pTrips, [this](qint64 ms) { m_pTrips->OnRecordingTime(ms); });
    // Inside a trip the next recording opens at the end itself; the session's later next belongs to
    // the opening before and is dropped.
    connect(session, &PlaybackSession::ended, m_pTrips, [this] { m_pTrips->OnRecordingEnded(Session()->AutoNext()); });
}

bool COrvexMainWindow::PlayTrip(int group) {
    if (!m_pTrips) return false;
    m_pTrips->SetCatalog(m_catalog.Entries(), m_catalog.GroupRows());
    if (!m_pTrips->PlayGroup(group)) return false;
    Child<CTripBar>(IDC_TRIP_BAR)->setToolTip(m_pTrips->PlayingSummary());
    return true;
}

bool COrvexMainWindow::TripOwnsMap() const {
    return m_pTrips && m_pTrips->OwnsMap();
}

bool COrvexMainWindow::TripBarShown() const {
    return m_pTrips && m_pTrips->Playing();
}
