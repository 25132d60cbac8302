#include "trip_route.h"

#include <algorithm>
#include <cmath>

#include "track_rules.h"

namespace {

std::filesystem::path EntryFilePath(const RecordingEntry& entry) {
    std::string path = entry.m_strFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + entry.m_strSubfolder + entry.m_strFileName;
}

// i / rate seconds after the start, in whole milliseconds.
int64_t FixOffsetMs(size_t index, double rate) {
    return static_cast<int64_t>(std::llround(static_cast<double>(index) * 1000.0 / rate));
}

} // namespace

std::vector<RoutePoint> BuildTripRoute(const CTrip& trip, const std::vector<RecordingFixes>& perRecording) {
    std::vector<RoutePoint> route;
    size_t total = 0;
    for (size_t position : trip.Timeline())
        if (position < perRecording.size()) total += perRecording[position].fixes.size();
    route.reserve(total);
    for (size_t position : trip.Timeline()) {
        if (position >= perRecording.size()) continue;
        const RecordingFixes& recording = perRecording[position];
        const double rate = recording.rate > 0 && std::isfinite(recording.rate) ? recording.rate : 1.0;
        const int64_t start = trip.Recordings()[position].startOffsetMs;
        for (size_t i = 0; i < recording.fixes.size(); ++i) {
            const GpsFix& fix = recording.fixes[i];
            const auto point = PlottedPosition(fix, recording.layout);
            if (!point) continue;
            int64_t at = start + FixOffsetMs(i, rate);
            if (!route.empty()) at = std::max(at, route.back().tripMs); // overlapping recordings
            route.push_back(
                {point->latitude, point->longitude, at, fix.speed, static_cast<uint32_t>(position)});
        }
    }
    return route;
}

std::optional<std::vector<RecordingFixes>> LoadTripFixes(const CTrip& trip,
                                                         const std::vector<RecordingEntry>& catalog,
                                                         const TripRouteProgress& progress,
                                                         size_t* unreadable) {
    std::vector<RecordingFixes> perRecording(trip.Recordings().size());
    if (unreadable) *unreadable = 0;
    const size_t total = trip.Timeline().size();
    size_t done = 0;
    for (size_t position : trip.Timeline()) {
        const size_t index = trip.Recordings()[position].entry;
        if (index < catalog.size()) {
            const RecordingEntry& entry = catalog[index];
            MediaInfo info = entry.m_MediaInfo; // a transport stream's chunk list is collected into the copy
            RecordingTelemetry telemetry;
            const TelemetryLoad load = LoadRecordingTelemetry(EntryFilePath(entry), info, telemetry);
            if (load == TelemetryLoad::kOpenFailed && unreadable) ++*unreadable;
            if (load == TelemetryLoad::kLoaded) {
                RecordingFixes& fixes = perRecording[position];
                fixes.layout = info.m_uLayout;
                fixes.rate = GpsRateOf(info);
                const bool blocks = info.m_uLayout == kLayoutBlocks;
                fixes.fixes = std::move(blocks ? telemetry.rawGps : telemetry.track);
                fixes.gsensor = std::move(blocks ? telemetry.rawGsensor : telemetry.gsensor);
                fixes.gsensorRate = GSensorRateOf(info, fixes.gsensor.size());
                fixes.gsensorFullScale = info.m_GsensorAttr[1] != 0 ? info.m_GsensorAttr[1] : 8;
            }
        }
        ++done;
        if (progress && !progress(done, total)) return std::nullopt;
    }
    return perRecording;
}

std::optional<std::vector<RoutePoint>> LoadTripRoute(const CTrip& trip,
                                                     const std::vector<RecordingEntry>& catalog,
                                                     const TripRouteProgress& progress, size_t* unreadable) {
    auto fixes = LoadTripFixes(trip, catalog, progress, unreadable);
    if (!fixes) return std::nullopt;
    return BuildTripRoute(trip, *fixes);
}

std::optional<size_t> RoutePointAt(const std::vector<RoutePoint>& route, int64_t tripMs) {
    const auto after = std::upper_bound(route.begin(), route.end(), tripMs,
                                        [](int64_t t, const RoutePoint& p) { return t < p.tripMs; });
    if (after == route.begin()) return std::nullopt;
    return static_cast<size_t>(after - route.begin() - 1);
}
