// The figures of a trip: when it started and ended, how long it took, how many files it has, how
// far it went along its route, and its top and average speed. Shared by the window (group line
// tool tip, summary panel) and `veltrix-probe --trips`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "coordinates.h"
#include "trip_route.h"
#include "trips.h"

struct TripSummary {
    int64_t startTime = 0;  // epoch seconds of the first recording's start
    int64_t endTime = 0;    // epoch seconds: start + length (whole seconds)
    std::string startLocal; // local time, "%Y-%m-%d %H:%M:%S" as the group list writes it
    std::string endLocal;
    int64_t lengthMs = 0;
    size_t recordingCount = 0;  // files, rear files included
    double distanceKm = 0;      // along the route
    uint16_t topSpeedKmh = 0;   // the largest speed of a route fix
    double averageSpeedKmh = 0; // distance / length; 0 for a trip of no length
};

// Mean Earth radius used for every distance here.
inline constexpr double kEarthRadiusKm = 6371.0088;

// Great-circle distance by the haversine formula, in km.
double HaversineKm(const LatLon& a, const LatLon& b);
// Sum of the distances between consecutive route points, in km.
double RouteDistanceKm(const std::vector<RoutePoint>& route);

TripSummary SummarizeTrip(const CTrip& trip, const std::vector<RoutePoint>& route);

// A speed in the unit the speed label shows: km/h as it is, MPH as (km/h x 10) / 16 truncated
// (the label's own rule).
int SpeedInShownUnit(uint16_t speedKmh, bool kmh);
// An average speed in the same unit, by the same factor, not truncated.
double AverageSpeedInShownUnit(double speedKmh, bool kmh);
