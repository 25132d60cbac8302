// The trip presenter: plays a group of the catalog as one drive. It owns no playback: it keeps the
// trip bar in step with the open recording, turns a moment chosen on the bar into the recording and
// offset to open (through its hooks, so the window's opening flow stays the only one), draws the
// trip's whole route on the map once and then only moves the car and the driven part, and writes
// the trip's summary into the summary panel.
//
// While a trip plays (OwnsMap), the window sends none of the per-recording track output of
// CTrackPlot to the map; the curve and the gauges stay per recording.
//
// Threading: every function runs on the UI thread. The route is read on one worker thread per
// trip; a newer trip, a new catalog or the destructor stops it (after the file it reads) and a
// result that arrives late for an older trip is dropped.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "catalog_rows.h"
#include "event_items.h"
#include "recording_entry.h"
#include "track_plot.h"
#include "trip_map_scripts.h"
#include "trip_summary.h"
#include "trips.h"

class CTripBar;
class QLabel;
class QThread;

struct TripPresenterHooks {
    // Open catalog entry `entry` (front and rear together) and play it from `offsetMs`.
    std::function<void(int entry, int64_t offsetMs)> openEntryAt;
    // Seek in the recording open now (a moment of the trip inside it).
    std::function<void(int64_t offsetMs)> seekTo;
    // Page scripts, then the car's move.
    std::function<void(const QStringList& scripts, const std::optional<MovePosArgs>& movePos)> toMap;
    // The trip bar was shown or hidden: the window lays out again.
    std::function<void(bool shown)> barShownChanged;
    // The G-force events of the playing trip's recordings, found with the route (each recording at
    // its place in the trip).
    std::function<void(std::vector<RecordingEvents> recordings)> tripEventsRead;
};

class CTripPresenter : public QObject {
    Q_OBJECT
  public:
    CTripPresenter(CTripBar* bar, QLabel* summaryPanel, TripPresenterHooks hooks, QObject* parent = nullptr);
    ~CTripPresenter() override;

    // A new or changed catalog: trips built again, a trip that played ends.
    void SetCatalog(const std::vector<RecordingEntry>& entries, const std::vector<GroupRow>& groups);
    const std::vector<CTrip>& Trips() const { return m_Trips; }
    // SetCatalog from `catalog` unless the trips were built from its revision already. A trip that
    // plays ends when the catalog changed under it (its entry indices are no longer right).
    void SyncCatalog(const CRecordingCatalog& catalog);
    bool BuiltFrom(const CRecordingCatalog& catalog) const;

    // A group line was chosen: its trip plays from its first recording. False for an unknown group.
    bool PlayGroup(int group);
    // The window opened catalog entry `entry` (any flow). A recording outside the playing trip ends
    // trip play. Call it before the recording's track is given to the map.
    void OnRecordingOpened(int entry);
    // A time report (or a seek) of the open recording, in ms from its start.
    void OnRecordingTime(int64_t ms);
    // The open recording reached its end. With auto-next on and a next recording in the trip, that
    // one opens at once (its files were read ahead while this one played) and true is returned:
    // the usual delayed next of the session must then not run.
    bool OnRecordingEnded(bool autoNext);

    bool Playing() const { return m_nTrip.has_value(); }
    // The map shows the trip: the per-recording track must not reach it.
    bool OwnsMap() const { return Playing(); }
    // The trip's moment of the open recording's last reported time.
    int64_t TripMs() const { return m_llTripMs; }
    // The leading recording that follows `entry` in the playing trip (the one to prepare).
    std::optional<size_t> NextInTrip(size_t entry) const;

    // The speed label's unit for the summary (km/h when true, else mph).
    void SetSpeedInKmh(bool kmh);
    // Tool tip of a group line: the summary, with route figures once that trip's route was read.
    QString GroupToolTip(int group) const;
    // The playing trip's summary (empty when none plays).
    QString PlayingSummary() const;
    // The playing trip (none: no trip plays).
    const CTrip* PlayingTrip() const;
    // What the trip's events are found with (the settings' thresholds).
    void SetEventThresholds(const EventThresholds& thresholds) { m_EventThresholds = thresholds; }
    // The route of the playing trip, once read (empty before).
    const std::vector<RoutePoint>& Route() const { return m_Follower.Route(); }

  signals:
    // The playing trip's route was read and sent to the map.
    void routeShown(int group, qint64 points);

  private:
    void OnPositionRequested(int seconds);
    void StartRouteLoad();
    void OnRouteLoaded(uint64_t generation, std::vector<RoutePoint> route, std::vector<RecordingEvents> events);
    void EndTrip();
    void PrepareNext();
    void ShowSummary();

    CTripBar* m_pBar;
    QLabel* m_pSummary;
    TripPresenterHooks m_hooks;
    std::vector<RecordingEntry> m_Entries; // the catalog the trips were built from
    std::optional<uint64_t> m_llRevision;  // its revision, when built by SyncCatalog
    std::vector<CTrip> m_Trips;
    std::vector<std::optional<TripSummary>> m_RouteSummaries; // per trip, once its route was read
    std::optional<size_t> m_nTrip; // index in m_Trips of the playing trip
    int m_nEntry = -1;             // catalog entry open now
    int64_t m_llTripMs = 0;
    bool m_bRouteShown = false;
    bool m_bKmh = true;
    EventThresholds m_EventThresholds;
    CTripMapFollower m_Follower;
    uint64_t m_nGeneration = 0;
    std::shared_ptr<std::atomic_bool> m_pStop; // of the route load running now
    QThread* m_pLoader = nullptr;
};
