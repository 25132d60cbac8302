// The route of a trip across its recordings, and its figures against a computation of our own on
// the fixes the fixture writer was given. Real recordings, read by the real readers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "fixture_writer.h"
#include "local_time.h"
#include "recording_catalog.h"
#include "trip_route.h"
#include "trip_summary.h"
#include "trips.h"

namespace fs = std::filesystem;

namespace {

struct Written {
    fixtures::Telemetry telemetry;
    std::string name;
};

// A recording of `layout` on a 3 s clip, front in Movie/ or rear in Movi_be/, with the simulated
// drive `offset` seconds in; `shift` moves every fix (to tell rear fixes from front ones).
Written WriteRecording(const fs::path& root, TelemetryLayout layout, int64_t start, int number, bool rear,
                       int offset, double shift = 0,
                       const std::function<void(std::vector<GpsFix>&)>& edit = {}) {
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(layout, 3);
    drive.offsetSeconds = offset;
    Written w{fixtures::SimulateDrive(drive), {}};
    w.telemetry.startTime = start;
    for (GpsFix& fix : w.telemetry.fixes) {
        fix.latitude += shift;
        fix.longitude += shift;
    }
    if (edit) edit(w.telemetry.fixes);
    for (VehicleSample& v : w.telemetry.vehicle) // layout 2 takes its positions from these
        v.longitude = v.latitude = kNoVehiclePosition;
    const LocalDateTime t = TimeToLocalWallClock(start);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s.MP4", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, number, rear ? "_b" : "");
    w.name = name;
    const fs::path path = root / (rear ? "Movi_be" : "Movie") / w.name;
    fs::create_directories(path.parent_path());
    fixtures::WriteRecording(path, layout, w.telemetry, {}, fixtures::SampleClip());
    return w;
}

// Our own great-circle distance (atan2 form of the haversine) in km.
double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
    const double r = M_PI / 180.0;
    const double a = std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
                     std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
    return 6371.0088 * 2 * std::atan2(std::sqrt(a), std::sqrt(1 - a));
}

std::vector<CTrip> ScanTrips(const fs::path& root, CRecordingCatalog& catalog) {
    EXPECT_TRUE(catalog.ScanSource(root, ""));
    return BuildTrips(catalog);
}

} // namespace

TEST(TripRoute, FrontFixesInTimeOrderAndTheRearOnlyWhereItsFrontIsMissing) {
    const fs::path root = fixtures::ScratchDir("trip_route");
    const int64_t t0 = LocalWallClockToTime(2024, 6, 1, 10, 0, 0);
    // 1: front (5 fixes a second) and rear; 2: rear only (1 fix a second); 3: front (1 a second).
    const Written front1 = WriteRecording(root, kLayoutVideMeta, t0, 1, false, 0);
    WriteRecording(root, kLayoutVideMeta, t0, 1, true, 0, 0.5);
    Written rear2 = WriteRecording(root, kLayoutBlocks, t0 + 3, 2, true, 3);
    const Written front3 = WriteRecording(root, kLayoutGpsBox, t0 + 6, 3, false, 6);
    CRecordingCatalog catalog;
    const std::vector<CTrip> trips = ScanTrips(root, catalog);
    ASSERT_EQ(trips.size(), 1u);
    const CTrip& trip = trips[0];
    ASSERT_EQ(trip.Recordings().size(), 4u);

    const auto route = LoadTripRoute(trip, catalog.Entries());
    ASSERT_TRUE(route);
    struct Expected {
        const Written* source;
        uint32_t recording; // position in the trip
        int64_t startMs;
        int perSecond;
    };
    const Expected parts[] = {{&front1, 0, 0, 5}, {&rear2, 2, 3000, 1}, {&front3, 3, 6000, 1}};
    ASSERT_EQ(route->size(), 15u + 3u + 3u);
    size_t k = 0;
    for (const Expected& part : parts) {
        const std::vector<GpsFix>& fixes = part.source->telemetry.fixes;
        for (size_t i = 0; i < fixes.size(); ++i, ++k) {
            const RoutePoint& p = (*route)[k];
            EXPECT_EQ(p.recording, part.recording) << k;
            EXPECT_EQ(p.tripMs, part.startMs + static_cast<int64_t>(i) * 1000 / part.perSecond) << k;
            EXPECT_NEAR(p.latitude, fixes[i].latitude, 1e-5) << k;
            EXPECT_NEAR(p.longitude, fixes[i].longitude, 1e-5) << k;
            EXPECT_EQ(p.speedKmh, fixes[i].speed) << k;
        }
    }
    EXPECT_EQ(RoutePointAt(*route, 2999), std::optional<size_t>(14));
    EXPECT_EQ(RoutePointAt(*route, 3000), std::optional<size_t>(15));
    EXPECT_EQ(RoutePointAt(*route, -1), std::nullopt);

    // Stopping after the first file gives no route; the counts reach the callback.
    std::vector<size_t> seen;
    const auto stopped = LoadTripRoute(trip, catalog.Entries(), [&](size_t done, size_t total) {
        seen.push_back(done * 10 + total);
        return false;
    });
    EXPECT_FALSE(stopped);
    EXPECT_EQ(seen, (std::vector<size_t>{13}));
}

TEST(TripRoute, SummaryAgreesWithAnIndependentComputation) {
    const fs::path root = fixtures::ScratchDir("trip_summary");
    const int64_t t0 = LocalWallClockToTime(2024, 6, 1, 23, 59, 57);
    // The middle recording has an invalid fix: neither its place nor its (high) speed counts.
    const auto invalidFix = [](std::vector<GpsFix>& fixes) {
        fixes[1].flags = 0;
        fixes[1].speed = 250;
    };
    std::vector<Written> fronts;
    for (int i = 0; i < 3; ++i)
        fronts.push_back(WriteRecording(root, kLayoutBlocks, t0 + 3 * i, i + 1, false, 3 * i, 0,
                                        i == 1 ? invalidFix : std::function<void(std::vector<GpsFix>&)>{}));
    // A rear file beside the first front, far away: not on the route.
    WriteRecording(root, kLayoutBlocks, t0, 1, true, 0, 1.0);
    CRecordingCatalog catalog;
    const std::vector<CTrip> trips = ScanTrips(root, catalog);
    ASSERT_EQ(trips.size(), 1u);
    const auto route = LoadTripRoute(trips[0], catalog.Entries());
    ASSERT_TRUE(route);
    const TripSummary s = SummarizeTrip(trips[0], *route);

    double km = 0;
    uint16_t top = 0;
    const GpsFix* previous = nullptr;
    for (const Written& w : fronts)
        for (const GpsFix& fix : w.telemetry.fixes) {
            if (!(fix.flags & 1)) continue;
            if (previous)
                km += DistanceKm(previous->latitude, previous->longitude, fix.latitude, fix.longitude);
            top = std::max(top, fix.speed);
            previous = &fix;
        }
    ASSERT_GT(km, 0.01);
    EXPECT_NEAR(s.distanceKm, km, 1e-9);
    EXPECT_EQ(s.topSpeedKmh, top);
    EXPECT_LT(s.topSpeedKmh, 250);
    EXPECT_EQ(s.lengthMs, 9000);
    EXPECT_NEAR(s.averageSpeedKmh, km / (9.0 / 3600.0), 1e-6);
    EXPECT_EQ(s.recordingCount, 4u);
    EXPECT_EQ(s.startTime, t0);
    EXPECT_EQ(s.endTime, t0 + 9);
    EXPECT_EQ(s.startLocal, "2024-06-01 23:59:57");
    EXPECT_EQ(s.endLocal, "2024-06-02 00:00:06");

    EXPECT_NEAR(HaversineKm({0, 0}, {0, 1}), 6371.0088 * M_PI / 180.0, 1e-9);
    EXPECT_EQ(SpeedInShownUnit(100, true), 100);
    EXPECT_EQ(SpeedInShownUnit(100, false), 62) << "the speed label's MPH: (km/h x 10) / 16";
    EXPECT_DOUBLE_EQ(AverageSpeedInShownUnit(40.0, false), 25.0);
}

TEST(TripRoute, FixesOfOverlappingRecordingsNeverGoBackInTime) {
    std::vector<TripRecording> recordings(2);
    recordings[0] = {0, 0, 2500, false, true};
    recordings[1] = {1, 2000, 2000, false, true};
    const CTrip trip(0, 0, recordings);
    std::vector<RecordingFixes> fixes(2);
    for (RecordingFixes& f : fixes) {
        f.layout = kLayoutGpsBox;
        f.rate = 1.0;
        for (int i = 0; i < 3; ++i) {
            GpsFix fix{};
            fix.latitude = 50 + i;
            fix.longitude = 10;
            fix.flags = 1;
            f.fixes.push_back(fix);
        }
    }
    fixes[1].fixes[1].flags = 2; // bit 0 clear: left out
    const std::vector<RoutePoint> route = BuildTripRoute(trip, fixes);
    std::vector<int64_t> times;
    for (const RoutePoint& p : route)
        times.push_back(p.tripMs);
    EXPECT_EQ(times, (std::vector<int64_t>{0, 1000, 2000, 2000, 4000}));
}
