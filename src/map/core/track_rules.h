// The rules that turn the telemetry of a recording into map points and into the record shown
// for a playback time. Shared by the track plotting and the KML export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "coordinates.h"
#include "records.h"

// True for the five layouts that carry telemetry.
inline bool HasTelemetryLayout(TelemetryLayout layout) {
    return layout <= kLayoutGpsBox;
}

// Fixes per second of a recording: byte 0 of its GPS attributes, or the layout's default when
// that byte is 0 (1 for layouts 0 and 4, 5 for layouts 1 to 3).
double GpsRateOf(const MediaInfo& info);

// G-sensor samples per second of a recording: byte 0 of its G-sensor attributes, else its
// `sampleCount` samples spread over its duration; 0 when neither gives a rate.
double GSensorRateOf(const MediaInfo& info, size_t sampleCount);

// Index of the fix shown at `timeMs` (integer part of t * rate / 1000). A negative time counts
// as 0; the index saturates instead of overflowing for absurd times.
uint64_t FixIndexForTime(int64_t timeMs, double rate);

// Index of the vehicle sample shown at `timeMs` with `rate` samples per second: the sample of
// the time, or the next one once more than a third of its period has passed; limited to the
// last of `count` samples. A negative time counts as 0; a rate above 1000 never rounds up.
size_t VehicleSampleIndex(int64_t timeMs, uint32_t rate, size_t count);

// Where a fix goes on the map, in decimal degrees; empty when it is not plotted: flags bit 0
// clear, a coordinate that is not a finite number, or (layout 0, NMEA form) a coordinate whose
// value / 100 is 200 or more.
std::optional<LatLon> PlottedPosition(const GpsFix& fix, TelemetryLayout layout);

// The map's repeat filter for layouts 1 to 4: within one run of plot calls a point is sent only
// when both its coordinates differ from the last point sent (the run starts at 0, 0).
class RepeatFilter {
  public:
    // True when the point is to be sent; it then becomes the last point sent.
    bool Pass(const LatLon& point);

  private:
    double m_dLastLat = 0.0;
    double m_dLastLon = 0.0;
};

// Look-down axis codes: 0 x, 1 -x, 2 y, 3 -y, 4 z, 5 -z.
enum : int16_t { kLookDownX = 0, kLookDownZ = 4 };
// The G value of `code`; any other code gives `fallback` (x for the first value, y for the second).
double LookDownValue(int16_t code, double x, double y, double z, double fallback);
