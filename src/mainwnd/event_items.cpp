#include "event_items.h"

#include <algorithm>
#include <cmath>

#include "seek_scale.h"

std::vector<EventItem> PlaceEvents(const std::vector<RecordingEvents>& recordings) {
    std::vector<EventItem> items;
    for (const RecordingEvents& recording : recordings)
        for (const GForceEvent& event : recording.events) {
            EventItem item;
            item.entryIndex = recording.entryIndex;
            item.recordingMs = static_cast<int64_t>(event.timeMs);
            item.lineMs = recording.offsetMs + item.recordingMs;
            item.kind = event.kind;
            item.peakG = event.peakG;
            item.firstSample = event.firstSample;
            item.lastSample = event.lastSample;
            items.push_back(item);
        }
    std::stable_sort(items.begin(), items.end(),
                     [](const EventItem& a, const EventItem& b) { return a.lineMs < b.lineMs; });
    return items;
}

std::vector<RecordingEvents> TripRecordingEvents(const CTrip& trip, const std::vector<RecordingFixes>& perRecording,
                                                 const EventThresholds& thresholds) {
    std::vector<RecordingEvents> recordings;
    for (size_t position : trip.Timeline()) {
        const TripRecording& recording = trip.Recordings()[position];
        RecordingEvents events{static_cast<int>(recording.entry), recording.startOffsetMs, {}};
        if (position < perRecording.size()) {
            const RecordingFixes& series = perRecording[position];
            // Whole samples per second, as the curve places them.
            const long rate = std::isfinite(series.gsensorRate) ? std::lround(series.gsensorRate) : 0;
            if (rate >= 1 && rate <= 10000)
                events.events = DetectGForceEvents(series.gsensor, static_cast<uint32_t>(rate),
                                                   series.gsensorFullScale, thresholds);
        }
        recordings.push_back(std::move(events));
    }
    return recordings;
}

QColor EventKindColour(EventKind kind) {
    return kind == EventKind::kImpact ? QColor(255, 48, 48) : QColor(255, 176, 0);
}

QString EventListLine(int64_t lineMs, const QString& kindText, double peakG) {
    const uint32_t ms = static_cast<uint32_t>(std::clamp<int64_t>(lineMs, 0, UINT32_MAX));
    return SeekTimeText(ms) + QStringLiteral(", ") + kindText + QStringLiteral(", ") +
           QString::number(peakG, 'f', 2) + QStringLiteral(" G");
}

std::optional<size_t> NextEventIndex(const std::vector<EventItem>& items, int64_t nowMs) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].lineMs > nowMs + kEventStepToleranceMs) return i;
    return std::nullopt;
}

std::optional<size_t> PreviousEventIndex(const std::vector<EventItem>& items, int64_t nowMs) {
    for (size_t i = items.size(); i-- > 0;)
        if (items[i].lineMs < nowMs - kEventStepToleranceMs) return i;
    return std::nullopt;
}
