// The route of a trip: the valid fixes of its leading recordings (every front recording, and a
// rear recording only where its front is missing, see trips.h) in time order, each placed on the
// trip's time line: fix i of a recording lies i / GPS rate seconds after that recording's start.
//
// Threading: LoadTripRoute reads one file per leading recording; run it on a worker thread. It
// touches nothing but its arguments, and its progress callback (called on that thread) can stop
// it. BuildTripRoute does no file work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "recording_entry.h"
#include "recording_telemetry.h"
#include "trips.h"

struct RoutePoint {
    double latitude = 0;  // decimal degrees
    double longitude = 0; // decimal degrees
    int64_t tripMs = 0;   // the fix's moment, from the trip's start
    uint16_t speedKmh = 0;
    uint32_t recording = 0; // position in CTrip::Recordings() of the recording it came from
};

// The fixes of one recording as its reader delivered them, and how many lie in a second.
struct RecordingFixes {
    TelemetryLayout layout = kLayoutNone; // layout 0 keeps its NMEA form; PlottedPosition converts it
    double rate = 1.0;                    // fixes per second (GpsRateOf)
    std::vector<GpsFix> fixes;
    // The G-sensor series read with the fixes (for the trip's events): sample j lies
    // j / gsensorRate seconds after the start; a rate of 0 places no sample in time.
    std::vector<GSensorSample> gsensor;
    double gsensorRate = 0.0;
    uint8_t gsensorFullScale = 8;
};

// The route from fixes already read: `perRecording[i]` belongs to trip.Recordings()[i] (missing or
// empty entries give nothing; those of recordings that do not lead are ignored). Fixes that
// PlottedPosition refuses (not valid, not finite, a layout-0 coordinate of 200 degrees or more)
// are left out. Points never go back in time: where a recording runs on past the next one's start,
// the first fixes of the next one take the moment of the point before them.
std::vector<RoutePoint> BuildTripRoute(const CTrip& trip, const std::vector<RecordingFixes>& perRecording);

// Called after each file with the number read so far and the number to read; false stops.
using TripRouteProgress = std::function<bool(size_t done, size_t total)>;

// Reads the fixes of every leading recording of `trip` (entries of `catalog`) with the reader of
// its telemetry layout. A recording without telemetry, or whose file cannot be read, adds nothing;
// `unreadable` (when given) counts the files that could not be read. Empty when `progress` stopped.
std::optional<std::vector<RecordingFixes>> LoadTripFixes(const CTrip& trip,
                                                         const std::vector<RecordingEntry>& catalog,
                                                         const TripRouteProgress& progress = {},
                                                         size_t* unreadable = nullptr);

// LoadTripFixes, then BuildTripRoute.
std::optional<std::vector<RoutePoint>> LoadTripRoute(const CTrip& trip,
                                                     const std::vector<RecordingEntry>& catalog,
                                                     const TripRouteProgress& progress = {},
                                                     size_t* unreadable = nullptr);

// Index of the last route point at or before `tripMs`; empty when the route is empty or its first
// point lies later.
std::optional<size_t> RoutePointAt(const std::vector<RoutePoint>& route, int64_t tripMs);
