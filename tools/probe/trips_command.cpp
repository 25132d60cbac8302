#include "trips_command.h"

#include <cstdio>

#include "json_text.h"
#include "trip_route.h"
#include "trip_summary.h"
#include "trips.h"

namespace {

// Fixed-point with three decimals, whatever the locale (the probe never sets one).
std::string Decimal3(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

void AppendTrip(std::string& out, const CTrip& trip, const std::vector<RecordingEntry>& entries) {
    const std::vector<RoutePoint> route = LoadTripRoute(trip, entries).value_or(std::vector<RoutePoint>{});
    const TripSummary s = SummarizeTrip(trip, route);
    out += "{\"start\":" + std::to_string(s.startTime);
    out += ",\"end\":" + std::to_string(s.endTime);
    out += ",\"start_local\":" + JsonString(s.startLocal);
    out += ",\"end_local\":" + JsonString(s.endLocal);
    out += ",\"length_s\":" + Decimal3(static_cast<double>(s.lengthMs) / 1000.0);
    out += ",\"recordings\":[";
    for (size_t i = 0; i < trip.Recordings().size(); ++i) {
        if (i) out += ',';
        out += JsonString(entries[trip.Recordings()[i].entry].m_strFileName);
    }
    out += "],\"distance_km\":" + Decimal3(s.distanceKm);
    out += ",\"top_speed_kmh\":" + std::to_string(s.topSpeedKmh);
    out += ",\"average_speed_kmh\":" + Decimal3(s.averageSpeedKmh);
    out += '}';
}

} // namespace

std::string TripsJson(const CRecordingCatalog& catalog) {
    std::string out = "{\"trips\":[";
    const std::vector<CTrip> trips = BuildTrips(catalog);
    for (size_t i = 0; i < trips.size(); ++i) {
        if (i) out += ',';
        AppendTrip(out, trips[i], catalog.Entries());
    }
    out += "]}";
    return out;
}

int RunTripsCommand(const std::filesystem::path& dir) {
    try {
        CRecordingCatalog catalog;
        const bool found = catalog.ScanSource(dir, std::string());
        const std::string json = TripsJson(catalog) + "\n";
        std::fwrite(json.data(), 1, json.size(), stdout);
        std::fflush(stdout);
        return found ? 0 : 1;
    } catch (...) { // out of memory: no half-written object
        return 1;
    }
}
