// Trips: groups of the catalog seen as one drive. Boundaries on a card of real recordings, and the
// mapping between a moment of the trip and a recording with an offset at both sides of each
// boundary.
#include <gtest/gtest.h>

#include "catalog_test_support.h"
#include "fixture_writer.h"
#include "trips.h"

using namespace catalog_test;

namespace {

std::string NameAt(int64_t start, int number, bool rear) {
    const LocalDateTime t = TimeToLocalWallClock(start);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s.MP4", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, number, rear ? "_b" : "");
    return name;
}

// Fronts in Movie/, rears in Movi_be/, as the camera writes them; 3 s clips.
void WriteRecording(const fs::path& root, int64_t start, int number, bool rear) {
    fixtures::Telemetry telemetry = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 3));
    telemetry.startTime = start;
    const fs::path path = root / (rear ? "Movi_be" : "Movie") / NameAt(start, number, rear);
    fs::create_directories(path.parent_path());
    fixtures::WriteRecording(path, kLayoutVideMeta, telemetry, {}, fixtures::SampleClip());
}

std::vector<std::string> FileNames(const CTrip& trip, const CRecordingCatalog& catalog) {
    std::vector<std::string> names;
    for (const TripRecording& r : trip.Recordings())
        names.push_back(catalog.Entries()[r.entry].m_strFileName);
    return names;
}

size_t EntryNamed(const CRecordingCatalog& catalog, const std::string& name) {
    for (size_t i = 0; i < catalog.Entries().size(); ++i)
        if (catalog.Entries()[i].m_strFileName == name) return i;
    ADD_FAILURE() << name << " not in the catalog";
    return 0;
}

} // namespace

TEST(Trips, GapStartsANewTripAndRearFilesJoinTheirFront) {
    const fs::path root = fixtures::ScratchDir("trips_card");
    const int64_t t0 = At(2024, 6, 1, 14, 0, 0);
    WriteRecording(root, t0, 1, false);
    WriteRecording(root, t0 + 1, 1, true); // the rear camera one second late
    WriteRecording(root, t0 + 3, 2, false);
    WriteRecording(root, t0 + 6, 3, true);   // its front file is missing
    WriteRecording(root, t0 + 15, 4, false); // 6 s after the last end: a new trip
    WriteRecording(root, t0 + 15, 4, true);

    CRecordingCatalog catalog;
    ASSERT_TRUE(catalog.ScanSource(root, ""));
    ASSERT_EQ(catalog.Entries().size(), 6u);
    const std::vector<CTrip> trips = BuildTrips(catalog);
    ASSERT_EQ(trips.size(), 2u);

    const CTrip& first = trips[0];
    EXPECT_EQ(FileNames(first, catalog),
              (std::vector<std::string>{NameAt(t0, 1, false), NameAt(t0 + 1, 1, true),
                                        NameAt(t0 + 3, 2, false), NameAt(t0 + 6, 3, true)}));
    EXPECT_EQ(first.StartTime(), t0);
    EXPECT_EQ(first.LengthMs(), 9000) << "to the end of the rear-only recording (6 s + 3 s)";
    EXPECT_EQ(first.EndTime(), t0 + 9);
    // The time line: both fronts and the rear file whose front is missing, not the paired rear.
    ASSERT_EQ(first.Timeline().size(), 3u);
    EXPECT_FALSE(first.Recordings()[1].leads);
    EXPECT_TRUE(first.Recordings()[3].leads);
    EXPECT_EQ(first.Recordings()[1].startOffsetMs, 1000);

    const CTrip& second = trips[1];
    EXPECT_EQ(FileNames(second, catalog),
              (std::vector<std::string>{NameAt(t0 + 15, 4, false), NameAt(t0 + 15, 4, true)}));
    EXPECT_EQ(second.StartTime(), t0 + 15);
    EXPECT_EQ(second.LengthMs(), 3000);

    const size_t pairedRear = EntryNamed(catalog, NameAt(t0 + 1, 1, true));
    EXPECT_EQ(FindTripOfEntry(trips, pairedRear), std::optional<size_t>(0));
    EXPECT_EQ(FindTripOfEntry(trips, EntryNamed(catalog, NameAt(t0 + 15, 4, true))),
              std::optional<size_t>(1));
    EXPECT_EQ(FindTripOfEntry(trips, 99), std::nullopt);
    // A moment of the rear-only recording opens that rear file.
    const auto rearOnly = first.PositionAt(7500);
    ASSERT_TRUE(rearOnly);
    EXPECT_EQ(rearOnly->entry, EntryNamed(catalog, NameAt(t0 + 6, 3, true)));
    EXPECT_EQ(rearOnly->offsetMs, 1500);
}

TEST(Trips, TripTimeMapsToRecordingAndOffsetAtBothSidesOfEachBoundary) {
    TempCard card("trip_mapping");
    FakeReaders readers;
    const int64_t t0 = At(2024, 6, 1, 8, 0, 0);
    readers.Add("2024_06_01_080000_01.MP4", t0, 60000);
    readers.Add("2024_06_01_080001_01_b.MP4", t0 + 1, 60000);
    readers.Add("2024_06_01_080100_02.MP4", t0 + 60, 59500);  // ends at 119.5 s
    readers.Add("2024_06_01_080201_03.MP4", t0 + 121, 60400); // 1.5 s gap; runs 0.4 s into the next
    readers.Add("2024_06_01_080301_04.MP4", t0 + 181, 30000);
    for (const char* name : {"2024_06_01_080000_01.MP4", "2024_06_01_080100_02.MP4",
                             "2024_06_01_080201_03.MP4", "2024_06_01_080301_04.MP4"})
        card.Write(std::string("Movie/") + name);
    card.Write("Movi_be/2024_06_01_080001_01_b.MP4");
    CRecordingCatalog catalog;
    catalog.SetParserFactory(readers.Factory());
    ASSERT_TRUE(catalog.ScanSource(card.Root(), ""));
    const std::vector<CTrip> trips = BuildTrips(catalog);
    ASSERT_EQ(trips.size(), 1u);
    const CTrip& trip = trips[0];
    EXPECT_EQ(trip.LengthMs(), 211000);

    const auto entry = [&](const char* name) { return EntryNamed(catalog, name); };
    struct Case {
        int64_t tripMs;
        size_t entry;
        int64_t offsetMs;
    };
    const Case cases[] = {
        {-5000, entry("2024_06_01_080000_01.MP4"), 0}, // before the start: the start
        {0, entry("2024_06_01_080000_01.MP4"), 0},
        {59999, entry("2024_06_01_080000_01.MP4"), 59999},
        {60000, entry("2024_06_01_080100_02.MP4"), 0},
        {119499, entry("2024_06_01_080100_02.MP4"), 59499},
        {120000, entry("2024_06_01_080201_03.MP4"), 0}, // in the gap: the next one from its start
        {121000, entry("2024_06_01_080201_03.MP4"), 0},
        {180999, entry("2024_06_01_080201_03.MP4"), 59999},
        {181200, entry("2024_06_01_080301_04.MP4"), 200}, // held by both: the later recording
        {211000, entry("2024_06_01_080301_04.MP4"), 30000},
        {999999, entry("2024_06_01_080301_04.MP4"), 30000}, // after the end: the end
    };
    for (const Case& c : cases) {
        const auto at = trip.PositionAt(c.tripMs);
        ASSERT_TRUE(at) << c.tripMs;
        EXPECT_EQ(at->entry, c.entry) << "trip ms " << c.tripMs;
        EXPECT_EQ(at->offsetMs, c.offsetMs) << "trip ms " << c.tripMs;
        if (c.tripMs >= 0 && c.tripMs <= trip.LengthMs() && c.tripMs != 120000) {
            EXPECT_EQ(trip.TripTimeOf(at->entry, at->offsetMs), c.tripMs) << "and back";
        }
    }
    // The rear file sits one second into the trip; an entry of no trip has no moment.
    EXPECT_EQ(trip.TripTimeOf(entry("2024_06_01_080001_01_b.MP4"), 2500), 3500);
    EXPECT_EQ(trip.TripTimeOf(99, 0), std::nullopt);
    EXPECT_EQ(CTrip(0, t0, {}).PositionAt(0), std::nullopt);
}
