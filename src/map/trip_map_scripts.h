// The map side of a trip: its whole route is sent to the page once, and afterwards only the car
// and the driven part move, across the trip's recordings, without the route being drawn again.
// The page functions are the usual five (map_scripts.h); movpos moves the car and extends the
// driven line itself, so a step along the route only has to fill in the points it passed.
//
// While a trip plays, the per-recording map output of CTrackPlot (LoadTrack's scripts and
// movePos, UpdateAtTime's map part, RebuildDrivenPath) is not sent: it would empty the route.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <QStringList>

#include "track_plot.h"
#include "trip_route.h"

// What to send, in order: the scripts, then MovePos (ApplyToMap does both).
struct TripMapStep {
    QStringList scripts;
    std::optional<MovePosArgs> movePos;
};

// Both lines emptied, then every route point as the route line (a point equal to the one before
// it is sent once).
QStringList TripRouteScripts(const std::vector<RoutePoint>& route);
// The driven line emptied, then the route points before route point `end` (exclusive) as the
// driven line.
QStringList TripDrivenScripts(const std::vector<RoutePoint>& route, size_t end);

// Keeps the map of one trip in step with the playback position on the trip's time line.
class CTripMapFollower {
  public:
    // The route is sent once, the driven part up to `tripMs`, then the car to the point of that
    // moment.
    TripMapStep Start(std::vector<RoutePoint> route, int64_t tripMs);
    // The car to the route point of `tripMs`. Playing on (forward by at most 3 s since the last
    // call) fills the driven line with the points passed; any other jump draws the driven part
    // again up to the moment. The route line is never touched; nothing is sent while the car's
    // point stays the same.
    TripMapStep MoveTo(int64_t tripMs);

    const std::vector<RoutePoint>& Route() const { return m_Route; }

  private:
    TripMapStep CarTo(std::optional<size_t> point, TripMapStep step);

    std::vector<RoutePoint> m_Route;
    std::optional<size_t> m_nCarPoint; // route point the car stands on
    int64_t m_llLastMs = 0;
};
