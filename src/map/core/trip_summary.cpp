#include "trip_summary.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "local_time.h"

namespace {
double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}
} // namespace

double HaversineKm(const LatLon& a, const LatLon& b) {
    const double dLat = Radians(b.latitude - a.latitude);
    const double dLon = Radians(b.longitude - a.longitude);
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) + std::cos(Radians(a.latitude)) *
                                                                   std::cos(Radians(b.latitude)) *
                                                                   std::sin(dLon / 2) * std::sin(dLon / 2);
    // Rounding can push h a hair past 1 for antipodal points.
    return 2.0 * kEarthRadiusKm * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

double RouteDistanceKm(const std::vector<RoutePoint>& route) {
    double km = 0;
    for (size_t i = 1; i < route.size(); ++i)
        km += HaversineKm({route[i - 1].latitude, route[i - 1].longitude},
                          {route[i].latitude, route[i].longitude});
    return km;
}

TripSummary SummarizeTrip(const CTrip& trip, const std::vector<RoutePoint>& route) {
    TripSummary s;
    s.startTime = trip.StartTime();
    s.endTime = trip.EndTime();
    s.startLocal = FormatLocalTime(s.startTime, "%Y-%m-%d %H:%M:%S");
    s.endLocal = FormatLocalTime(s.endTime, "%Y-%m-%d %H:%M:%S");
    s.lengthMs = trip.LengthMs();
    s.recordingCount = trip.Recordings().size();
    s.distanceKm = RouteDistanceKm(route);
    for (const RoutePoint& p : route)
        s.topSpeedKmh = std::max(s.topSpeedKmh, p.speedKmh);
    if (s.lengthMs > 0) s.averageSpeedKmh = s.distanceKm / (static_cast<double>(s.lengthMs) / 3'600'000.0);
    return s;
}

int SpeedInShownUnit(uint16_t speedKmh, bool kmh) {
    return kmh ? speedKmh : (speedKmh * 10) / 16;
}

double AverageSpeedInShownUnit(double speedKmh, bool kmh) {
    return kmh ? speedKmh : speedKmh * 10.0 / 16.0;
}
