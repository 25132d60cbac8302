// G-force events of one recording: harsh runs (braking, cornering, swerving) and impacts, found in
// its G-sensor samples. Plain values in, plain values out: the probe, the window's marks and lists
// and the benchmark all call DetectGForceEvents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "records.h"

// What makes an event. The defaults are the viewer's; the settings store can change them
// (event_settings.h).
struct EventThresholds {
    double harshG = 0.40;  // horizontal force of every sample of a harsh run
    double impactG = 1.20; // horizontal force of an impact sample
    double jumpG = 1.00;   // change of x, y or z from the previous reading that is an impact too
    int harshMinMs = 150;  // samples in a harsh run x sample period, at least
    int mergeGapMs = 2000; // an event starting less than this after the previous one's last sample joins it
};

enum class EventKind { kHarsh, kImpact };

// "harsh" or "impact".
const char* EventKindName(EventKind kind);

struct GForceEvent {
    EventKind kind = EventKind::kHarsh;
    double timeMs = 0;      // the first sample's time after the recording's start
    double durationMs = 0;  // last sample's time - first sample's time + one sample period
    double peakG = 0;       // the largest horizontal force of the readings from first to last
    size_t firstSample = 0; // indices into the series
    size_t lastSample = 0;
};

// A reading the camera did not take: a word of +128 or -128 on any axis (the G-sensor curve leaves
// these out the same way).
bool IsMissingGSensorReading(const GSensorSample& sample);

// The events of a series of `rate` samples per second, in time order; sample i lies i * 1000 / rate
// ms after the start; `fullScale` is the recording's G-sensor full scale (0 counts as 8, as
// GSensorAxisToG says). Missing readings take no part: they belong to no event, do not break a
// harsh run and are never the previous reading of a jump. A rate of 0 places no sample in time and
// gives no events. Linear in the number of samples.
std::vector<GForceEvent> DetectGForceEvents(std::span<const GSensorSample> samples, uint32_t rate,
                                            uint8_t fullScale, const EventThresholds& thresholds = {});
