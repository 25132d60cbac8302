#include "gforce_events.h"

#include <algorithm>
#include <cmath>

#include "coordinates.h"

namespace {
// The forces are multiples of 1/128 of the full scale, and the square root of the horizontal force
// may land a rounding step below a threshold it meets exactly.
constexpr double kRoundingSlack = 1e-9;

bool AtLeast(double value, double threshold) {
    return value >= threshold - kRoundingSlack;
}

struct Reading {
    double x, y, z;
};

Reading ToG(const GSensorSample& s, uint8_t fullScale) {
    return {GSensorAxisToG(s.x, fullScale), GSensorAxisToG(s.y, fullScale), GSensorAxisToG(s.z, fullScale)};
}

double Horizontal(const Reading& r) {
    return std::sqrt(r.x * r.x + r.y * r.y);
}

bool IsJump(const Reading& now, const Reading& before, double jumpG) {
    return AtLeast(std::fabs(now.x - before.x), jumpG) || AtLeast(std::fabs(now.y - before.y), jumpG) ||
           AtLeast(std::fabs(now.z - before.z), jumpG);
}

struct Span {
    size_t first, last;
    bool impact;
};

// Harsh runs and impact samples, each as a span of sample indices, as the series yields them.
class SpanCollector {
  public:
    SpanCollector(uint32_t rate, const EventThresholds& t) : m_rate(rate), m_t(t) {}

    void Add(size_t index, const Reading& r, double h) {
        if (AtLeast(h, m_t.harshG)) {
            if (m_runCount == 0) m_runFirst = index;
            m_runLast = index;
            ++m_runCount;
        } else {
            CloseRun();
        }
        if (AtLeast(h, m_t.impactG) || (m_hasPrevious && IsJump(r, m_previous, m_t.jumpG)))
            m_spans.push_back({index, index, true});
        m_previous = r;
        m_hasPrevious = true;
    }

    std::vector<Span> Finish() {
        CloseRun();
        // An impact inside a run is found before the run ends.
        std::stable_sort(m_spans.begin(), m_spans.end(),
                         [](const Span& a, const Span& b) { return a.first < b.first; });
        return std::move(m_spans);
    }

  private:
    void CloseRun() {
        // count x (1000 / rate) >= minimum, kept in integers so a run of exactly the minimum counts.
        if (m_runCount > 0 &&
            m_runCount * 1000 >= static_cast<uint64_t>(std::max(m_t.harshMinMs, 0)) * m_rate)
            m_spans.push_back({m_runFirst, m_runLast, false});
        m_runCount = 0;
    }

    uint32_t m_rate;
    EventThresholds m_t;
    std::vector<Span> m_spans;
    uint64_t m_runCount = 0;
    size_t m_runFirst = 0, m_runLast = 0;
    Reading m_previous{};
    bool m_hasPrevious = false;
};

// Spans sorted by their first sample, joined when one starts less than the gap after the last
// sample of the one before (overlapping ones included).
std::vector<Span> Merge(const std::vector<Span>& spans, uint32_t rate, int gapMs) {
    std::vector<Span> merged;
    for (const Span& s : spans) {
        if (!merged.empty()) {
            Span& open = merged.back();
            // (first - last) x 1000 / rate < gap, in integers; a start at or before the last sample joins.
            const bool joins = s.first <= open.last ||
                               uint64_t{s.first - open.last} * 1000 < uint64_t(std::max(gapMs, 0)) * rate;
            if (joins) {
                open.last = std::max(open.last, s.last);
                open.impact = open.impact || s.impact;
                continue;
            }
        }
        merged.push_back(s);
    }
    return merged;
}
} // namespace

const char* EventKindName(EventKind kind) {
    return kind == EventKind::kImpact ? "impact" : "harsh";
}

bool IsMissingGSensorReading(const GSensorSample& s) {
    const auto missing = [](int16_t w) { return w == 128 || w == -128; };
    return missing(s.x) || missing(s.y) || missing(s.z);
}

std::vector<GForceEvent> DetectGForceEvents(std::span<const GSensorSample> samples, uint32_t rate,
                                            uint8_t fullScale, const EventThresholds& thresholds) {
    if (rate == 0 || samples.empty()) return {};
    // NaN marks a missing reading, so the peak search below passes over it.
    std::vector<double> horizontal(samples.size(), std::nan(""));
    SpanCollector collector(rate, thresholds);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (IsMissingGSensorReading(samples[i])) continue;
        const Reading r = ToG(samples[i], fullScale);
        horizontal[i] = Horizontal(r);
        collector.Add(i, r, horizontal[i]);
    }
    const double periodMs = 1000.0 / rate;
    std::vector<GForceEvent> events;
    for (const Span& s : Merge(collector.Finish(), rate, thresholds.mergeGapMs)) {
        GForceEvent e;
        e.kind = s.impact ? EventKind::kImpact : EventKind::kHarsh;
        e.firstSample = s.first;
        e.lastSample = s.last;
        e.timeMs = static_cast<double>(s.first) * 1000.0 / rate;
        e.durationMs = static_cast<double>(s.last - s.first) * 1000.0 / rate + periodMs;
        for (size_t i = s.first; i <= s.last; ++i)
            if (!std::isnan(horizontal[i])) e.peakG = std::max(e.peakG, horizontal[i]);
        events.push_back(e);
    }
    return events;
}
