// The window's trips part: the trip bar under the seek slider, the trip's summary panel and the
// group lines' tool tips, and the trip presenter that plays a group line as one drive; its openings
// go through OpenEntryAt, its map output straight to the map window, its events to the Events list,
// and while it plays the per-recording track stays off the map.
#include "main_window.h"

#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QToolTip>

#include <algorithm>

#include "control_ids.h"
#include "event_presenter.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
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

// A list line's tool tip is the summary of its trip, asked for when the pointer rests on it.
class CTripTipSource : public QObject {
  public:
    CTripTipSource(QAbstractItemView* list, std::function<QString(int line)> summary)
        : QObject(list), m_pList(list), m_summary(std::move(summary)) {
        list->viewport()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex line = m_pList->indexAt(help->pos());
        const QString text = line.isValid() ? m_summary(line.row()) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_pList->viewport());
        return true;
    }

  private:
    QAbstractItemView* m_pList;
    std::function<QString(int line)> m_summary;
};

} // namespace

void COrvexMainWindow::InitTrips() {
    auto* bar = new CTripBar(this);
    SetControlId(bar, IDC_TRIP_BAR);
    bar->installEventFilter(new CTripBarKeyKeeper(bar));
    TripPresenterHooks hooks;
    hooks.openEntryAt = [this](int entry, int64_t offsetMs) {
        if (EndTripOfOldCatalog()) return;
        OpenEntryAt(entry, offsetMs);
    };
    hooks.seekTo = [this](int64_t offsetMs) { Session()->SeekTo(std::max<int64_t>(offsetMs, 1)); };
    hooks.toMap = [this](const QStringList& scripts, const std::optional<MovePosArgs>& movePos) {
        if (m_pModes->MapShown()) ApplyToMap(m_pMapDlg, scripts, movePos);
    };
    hooks.barShownChanged = [this](bool shown) {
        // A trip's events last as long as its play.
        if (!shown) m_pEvents->ShowRecording();
        m_pModes->LayOutAgain();
    };
    hooks.tripEventsRead = [this](std::vector<RecordingEvents> recordings) {
        m_pEvents->ShowTrip(std::move(recordings));
    };
    auto* summary = new QLabel(this);
    SetControlId(summary, IDC_TRIP_SUMMARY);
    summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Written light on the near-black window, as the map's position is.
    QPalette palette = summary->palette();
    palette.setColor(QPalette::WindowText, QColor(200, 200, 200));
    summary->setPalette(palette);
    m_pTrips = new CTripPresenter(bar, summary, std::move(hooks), this);
    m_pTrips->SetEventThresholds(m_pEvents->Thresholds());
    m_pEvents->SetTripBar(bar);
    auto showSummary = [this, bar] { bar->setToolTip(m_pTrips->PlayingSummary()); };
    connect(m_pTrips, &CTripPresenter::routeShown, bar, showSummary);
    // The group list, and the file list that shows the groups' files while the group list stays
    // hidden.
    new CTripTipSource(Child<COrvexGroupListCtrl>(IDC_GROUP_LIST), [this](int line) {
        if (line < 0 || static_cast<size_t>(line) >= m_catalog.GroupRows().size()) return QString();
        m_pTrips->SyncCatalog(m_catalog);
        return m_pTrips->GroupToolTip(m_catalog.GroupRows()[static_cast<size_t>(line)].m_nGroup);
    });
    new CTripTipSource(Child<COrvexFileListCtrl>(IDC_FILE_LIST), [this](int line) {
        if (line < 0 || static_cast<size_t>(line) >= m_catalog.FileRows().size()) return QString();
        m_pTrips->SyncCatalog(m_catalog);
        return m_pTrips->GroupToolTip(m_catalog.FileRows()[static_cast<size_t>(line)].m_nGroup);
    });
    PlaybackSession* session = Session();
    connect(session, &PlaybackSession::timeReported, m_pTrips, [this](qint64 ms) {
        if (!EndTripOfOldCatalog()) m_pTrips->OnRecordingTime(ms);
    });
    connect(session, &PlaybackSession::seekScheduled, m_pTrips, [this](qint64 ms) { m_pTrips->OnRecordingTime(ms); });
    // Inside a trip the next recording opens at the end itself; the session's later next belongs to
    // the opening before and is dropped.
    connect(session, &PlaybackSession::ended, m_pTrips, [this] { m_pTrips->OnRecordingEnded(Session()->AutoNext()); });
}

// A file command or a rescan changed the catalog under a playing trip: its entry indices may name
// other recordings now, so it ends rather than open one of them. True when it ended.
bool COrvexMainWindow::EndTripOfOldCatalog() {
    if (!m_pTrips->Playing() || m_pTrips->BuiltFrom(m_catalog)) return false;
    m_pTrips->SyncCatalog(m_catalog);
    return true;
}

void COrvexMainWindow::PlayTripOfOpenRecording() {
    const int entry = CurrentEntryIndex();
    if (entry < 0 || static_cast<size_t>(entry) >= m_catalog.FileRows().size()) return;
    OnGroupChosen(static_cast<uintptr_t>(m_catalog.FileRows()[static_cast<size_t>(entry)].m_nGroup));
}

bool COrvexMainWindow::PlayTrip(int group) {
    if (!m_pTrips) return false;
    m_pTrips->SyncCatalog(m_catalog);
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
