#include "trips.h"

#include <algorithm>
#include <limits>

#include "recording_catalog.h"
#include "recording_name.h"

namespace {

// Start times come from file contents: work wide and keep the results inside int64_t.
using Wide = __int128;

int64_t Clamped(Wide value) {
    constexpr Wide kMax = std::numeric_limits<int64_t>::max();
    constexpr Wide kMin = std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::clamp(value, kMin, kMax));
}

// How far apart the start times of a front file and its rear file may be: the partner searches
// try the name shifted by up to 2 seconds, so playback pairs no files further apart.
constexpr int64_t kPairSeconds = 2;

bool HasFrontNear(const std::vector<RecordingEntry>& entries, const std::vector<TripRecording>& recordings,
                  const TripRecording& rear) {
    const Wide start = entries[rear.entry].m_MediaInfo.m_llStartTime;
    return std::any_of(recordings.begin(), recordings.end(), [&](const TripRecording& r) {
        if (r.rear) return false;
        const Wide front = entries[r.entry].m_MediaInfo.m_llStartTime;
        return front >= start - kPairSeconds && front <= start + kPairSeconds;
    });
}

CTrip MakeTrip(const std::vector<RecordingEntry>& entries, const GroupRow& row) {
    const size_t first = static_cast<size_t>(row.m_nFirstEntry);
    const size_t end = std::min(entries.size(), first + static_cast<size_t>(std::max(row.m_nFileCount, 0)));
    const int64_t start = entries[first].m_MediaInfo.m_llStartTime;
    std::vector<TripRecording> recordings;
    recordings.reserve(end - first);
    for (size_t i = first; i < end; ++i) {
        const RecordingEntry& entry = entries[i];
        TripRecording r;
        r.entry = i;
        r.startOffsetMs = Clamped((Wide(entry.m_MediaInfo.m_llStartTime) - start) * 1000);
        r.durationMs = entry.m_MediaInfo.m_uDurationMs;
        r.rear = IsRearRecording(entry.m_strFileName);
        recordings.push_back(r);
    }
    for (TripRecording& r : recordings)
        r.leads = !r.rear || !HasFrontNear(entries, recordings, r);
    return CTrip(row.m_nGroup, start, std::move(recordings));
}

} // namespace

CTrip::CTrip(int group, int64_t startTime, std::vector<TripRecording> recordings)
    : m_nGroup(group), m_llStartTime(startTime), m_Recordings(std::move(recordings)) {
    Wide end = 0;
    for (size_t i = 0; i < m_Recordings.size(); ++i) {
        const TripRecording& r = m_Recordings[i];
        end = std::max(end, Wide(r.startOffsetMs) + r.durationMs);
        if (r.leads) m_Timeline.push_back(i);
    }
    m_llLengthMs = Clamped(end);
    // The time line is searched by start; catalog order already is, but a caller's list need not be.
    std::stable_sort(m_Timeline.begin(), m_Timeline.end(), [this](size_t a, size_t b) {
        return m_Recordings[a].startOffsetMs < m_Recordings[b].startOffsetMs;
    });
}

bool CTrip::Contains(size_t entry) const {
    return std::any_of(m_Recordings.begin(), m_Recordings.end(),
                       [entry](const TripRecording& r) { return r.entry == entry; });
}

std::optional<TripPosition> CTrip::PositionAt(int64_t tripMs) const {
    if (m_Timeline.empty()) return std::nullopt;
    tripMs = std::clamp<int64_t>(tripMs, 0, m_llLengthMs);
    // The last leading recording that starts at or before the moment.
    const auto after =
        std::upper_bound(m_Timeline.begin(), m_Timeline.end(), tripMs,
                         [this](int64_t t, size_t i) { return t < m_Recordings[i].startOffsetMs; });
    if (after == m_Timeline.begin()) // before the first leading start (its rear partner began earlier)
        return TripPosition{m_Recordings[m_Timeline.front()].entry, 0};
    const TripRecording& holder = m_Recordings[*(after - 1)];
    const int64_t offset = tripMs - holder.startOffsetMs;
    if (offset >= static_cast<int64_t>(holder.durationMs) && after != m_Timeline.end())
        return TripPosition{m_Recordings[*after].entry, 0}; // in the gap before the next one
    return TripPosition{holder.entry, std::min<int64_t>(offset, holder.durationMs)};
}

std::optional<int64_t> CTrip::TripTimeOf(size_t entry, int64_t offsetMs) const {
    for (const TripRecording& r : m_Recordings)
        if (r.entry == entry) return Clamped(Wide(r.startOffsetMs) + offsetMs);
    return std::nullopt;
}

std::vector<CTrip> BuildTrips(const std::vector<RecordingEntry>& entries,
                              const std::vector<GroupRow>& groups) {
    std::vector<CTrip> trips;
    trips.reserve(groups.size());
    for (const GroupRow& row : groups) {
        if (row.m_nFirstEntry < 0 || static_cast<size_t>(row.m_nFirstEntry) >= entries.size()) continue;
        trips.push_back(MakeTrip(entries, row));
    }
    return trips;
}

std::vector<CTrip> BuildTrips(const CRecordingCatalog& catalog) {
    return BuildTrips(catalog.Entries(), catalog.GroupRows());
}

std::optional<size_t> FindTripOfEntry(const std::vector<CTrip>& trips, size_t entry) {
    for (size_t i = 0; i < trips.size(); ++i)
        if (trips[i].Contains(entry)) return i;
    return std::nullopt;
}
