// Trips: a group of the catalog (a front/rear pair and the recordings that follow each other
// without a gap) seen as one drive on one time line. A trip knows its recordings, where each one
// sits on the time line, and turns a moment of the drive into the recording that holds it and the
// offset into that recording, and back.
//
// The time line is made of the trip's leading recordings: every front recording, and a rear
// recording only where its front is missing (no front recording of the trip starts within 2 s of
// it, as far as the partner searches look). Opening a leading recording plays its partner of the
// other camera with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "catalog_rows.h"
#include "recording_entry.h"

class CRecordingCatalog;

// One recording file of a trip.
struct TripRecording {
    size_t entry = 0;          // index in the catalog's entries
    int64_t startOffsetMs = 0; // its start, from the trip's start
    uint32_t durationMs = 0;
    bool rear = false;  // a rear camera file
    bool leads = false; // on the time line (a front file, or a rear one without its front)
};

// A moment of a trip as a recording to open and an offset into it.
struct TripPosition {
    size_t entry = 0;     // catalog index of a leading recording
    int64_t offsetMs = 0; // from that recording's start, within 0 .. its duration
};

class CTrip {
  public:
    // `recordings` in time order, offsets from `startTime` (epoch seconds of the first start).
    CTrip(int group, int64_t startTime, std::vector<TripRecording> recordings);

    int Group() const { return m_nGroup; }
    // Epoch seconds (the catalog's start times) of the first recording's start.
    int64_t StartTime() const { return m_llStartTime; }
    // From the first recording's start to the end of the recording that ends last (start +
    // duration); with a front/rear pair that is the end of the last of the two.
    int64_t LengthMs() const { return m_llLengthMs; }
    // Epoch seconds of the end: StartTime + LengthMs / 1000 (whole seconds).
    int64_t EndTime() const { return m_llStartTime + m_llLengthMs / 1000; }

    // Every file of the trip, rear files included, in catalog (time) order.
    const std::vector<TripRecording>& Recordings() const { return m_Recordings; }
    // Positions in Recordings() of the leading recordings, in time order.
    const std::vector<size_t>& Timeline() const { return m_Timeline; }

    bool Contains(size_t entry) const;

    // The leading recording that holds `tripMs` and the offset into it. A moment held by two
    // recordings (a recording longer than the step to the next start) belongs to the later one;
    // a moment in a gap between two recordings opens the next one at its start. Times before the
    // start or after the end are taken as the start or the end. Empty for a trip without
    // recordings.
    std::optional<TripPosition> PositionAt(int64_t tripMs) const;
    // The moment of the trip at `offsetMs` into catalog entry `entry` (front or rear file of the
    // trip); empty when the entry is not part of the trip. Not limited to the trip's length.
    std::optional<int64_t> TripTimeOf(size_t entry, int64_t offsetMs) const;

  private:
    int m_nGroup = 0;
    int64_t m_llStartTime = 0;
    int64_t m_llLengthMs = 0;
    std::vector<TripRecording> m_Recordings;
    std::vector<size_t> m_Timeline;
};

// One trip per group row, in group order. Rows that point outside `entries` are left out.
std::vector<CTrip> BuildTrips(const std::vector<RecordingEntry>& entries,
                              const std::vector<GroupRow>& groups);
std::vector<CTrip> BuildTrips(const CRecordingCatalog& catalog);

// Index in `trips` of the trip that holds catalog entry `entry`.
std::optional<size_t> FindTripOfEntry(const std::vector<CTrip>& trips, size_t entry);
