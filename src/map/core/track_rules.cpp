#include "track_rules.h"

#include <cmath>

double GpsRateOf(const MediaInfo& info) {
    if (info.m_GpsAttr[0] != 0) return info.m_GpsAttr[0];
    return info.m_uLayout == kLayoutBlocks || info.m_uLayout == kLayoutGpsBox ? 1.0 : 5.0;
}

double GSensorRateOf(const MediaInfo& info, size_t sampleCount) {
    if (info.m_GsensorAttr[0] != 0) return info.m_GsensorAttr[0];
    if (info.m_uDurationMs == 0) return 0.0;
    const double rate = double(sampleCount) * 1000.0 / info.m_uDurationMs;
    return std::isfinite(rate) && rate > 0 ? rate : 0.0;
}

uint64_t FixIndexForTime(int64_t timeMs, double rate) {
    constexpr double kLimit = 9.0e18; // far beyond any track, still inside uint64_t
    if (timeMs <= 0 || !(rate > 0)) return 0;
    const double index = std::floor(static_cast<double>(timeMs) * rate / 1000.0);
    return index < kLimit ? static_cast<uint64_t>(index) : static_cast<uint64_t>(kLimit);
}

size_t VehicleSampleIndex(int64_t timeMs, uint32_t rate, size_t count) {
    if (count == 0) return 0;
    const uint64_t t = timeMs > 0 ? static_cast<uint64_t>(timeMs) : 0;
    uint64_t k = static_cast<uint64_t>(static_cast<double>(rate) * static_cast<double>(t) / 1000.0);
    const uint64_t step = rate > 0 ? 1000 / rate : 0;
    // The sample of the next period once a third of this one has passed (integer thirds).
    if (step > 0 && t % step > step / 3) ++k;
    return k < count ? static_cast<size_t>(k) : count - 1;
}

std::optional<LatLon> PlottedPosition(const GpsFix& fix, TelemetryLayout layout) {
    if (!fix.IsValid() || !std::isfinite(fix.latitude) || !std::isfinite(fix.longitude)) return std::nullopt;
    if (layout != kLayoutBlocks) return LatLon{fix.latitude, fix.longitude};
    if (fix.latitude / 100.0 >= 200.0 || fix.longitude / 100.0 >= 200.0) return std::nullopt;
    return LatLon{NmeaToDegrees(fix.latitude), NmeaToDegrees(fix.longitude)};
}

bool RepeatFilter::Pass(const LatLon& point) {
    if (point.latitude == m_dLastLat || point.longitude == m_dLastLon) return false;
    m_dLastLat = point.latitude;
    m_dLastLon = point.longitude;
    return true;
}

double LookDownValue(int16_t code, double x, double y, double z, double fallback) {
    switch (code) {
    case 0:
        return x;
    case 1:
        return -x;
    case 2:
        return y;
    case 3:
        return -y;
    case 4:
        return z;
    case 5:
        return -z;
    default:
        return fallback;
    }
}
