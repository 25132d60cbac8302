#include "event_items.h"

#include <algorithm>

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
