#include "event_settings.h"

#include "settings.h"

namespace {
constexpr const char* kSection = "EVENTS";

double PositiveG(const CAppSettings& settings, const char* key, double defaultValue) {
    const double value = settings.ReadDouble(kSection, key, defaultValue);
    return value > 0 ? value : defaultValue;
}
} // namespace

EventThresholds ReadEventThresholds(const CAppSettings& settings) {
    const EventThresholds defaults;
    EventThresholds t;
    t.harshG = PositiveG(settings, "HARSH_G", defaults.harshG);
    t.impactG = PositiveG(settings, "IMPACT_G", defaults.impactG);
    t.jumpG = PositiveG(settings, "JUMP_G", defaults.jumpG);
    const int minMs = settings.ReadInt(kSection, "HARSH_MIN_MS", defaults.harshMinMs);
    t.harshMinMs = minMs > 0 ? minMs : defaults.harshMinMs;
    const int gapMs = settings.ReadInt(kSection, "MERGE_GAP_MS", defaults.mergeGapMs);
    t.mergeGapMs = gapMs >= 0 ? gapMs : defaults.mergeGapMs;
    return t;
}
