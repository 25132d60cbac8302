// The G-force events of what is open, as the window shows them: one line each in the Events list,
// a mark on the seek slider, the curve and the trip bar, and the steps of Next/Previous event.
// Plain rules from detected events to places and texts; the presenter (event_presenter.h) applies
// them to the widgets.
#pragma once

#include <QColor>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "gforce_events.h"
#include "trip_route.h"
#include "trips.h"

// One event of a recording, placed on the time line of what is open (the recording itself, or the
// trip it belongs to).
struct EventItem {
    int entryIndex = -1;     // the catalog entry of its recording
    int64_t recordingMs = 0; // from its recording's start
    int64_t lineMs = 0;      // from the start of the recording or trip shown
    EventKind kind = EventKind::kHarsh;
    double peakG = 0;
    size_t firstSample = 0;
    size_t lastSample = 0;
};

// The events of one recording of a trip, and where that recording starts in the trip.
struct RecordingEvents {
    int entryIndex = -1;
    int64_t offsetMs = 0;
    std::vector<GForceEvent> events;
};

// The events of a trip's leading recordings from the series read with its route
// (`perRecording[i]` belongs to trip.Recordings()[i]), each recording at its place in the trip.
// Recordings without a timed series have no events but are still listed.
std::vector<RecordingEvents> TripRecordingEvents(const CTrip& trip, const std::vector<RecordingFixes>& perRecording,
                                                 const EventThresholds& thresholds);

// Every event of the recordings, each offset by its recording's place, in time order.
std::vector<EventItem> PlaceEvents(const std::vector<RecordingEvents>& recordings);

// Harsh amber, impacts red: the same colour on every mark and nowhere else in the window.
QColor EventKindColour(EventKind kind);

// "00:41, harsh, 0.52 G": the time on the line (as the seek slider writes times), the kind in the
// user's language, the peak horizontal force with two decimals.
QString EventListLine(int64_t lineMs, const QString& kindText, double peakG);

// A step that lands within this of an event counts as being at it: a seek ends a little before or
// after the asked moment, and the next press must still move on.
constexpr int64_t kEventStepToleranceMs = 500;

// The first event after `nowMs` (beyond the tolerance), or none.
std::optional<size_t> NextEventIndex(const std::vector<EventItem>& items, int64_t nowMs);
// The last event before `nowMs` (beyond the tolerance), or none.
std::optional<size_t> PreviousEventIndex(const std::vector<EventItem>& items, int64_t nowMs);
