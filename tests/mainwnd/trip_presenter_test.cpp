// The trip presenter on a real card of three back-to-back recordings: a group line plays its trip
// from the first recording, the trip bar (set the way a screen reader sets it) opens the recording
// that holds the moment at the right offset, the route reaches the map once however often the
// recording changes, and the summary says the trip's figures in words.
#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QSignalSpy>

#include <cstdio>

#include "../events/planted_events.h"
#include "fixture_writer.h"
#include "local_time.h"
#include "recording_catalog.h"
#include "string_tables.h"
#include "trip_bar.h"
#include "trip_presenter.h"
#include "trip_summary_text.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecordingSeconds = 3;

// Front recording `number` of a drive cut into 3 s files, starting `number` * 3 s after `t0`; of
// layout 0 with `gsensor` as its series at 20 samples a second and full scale 2 when given.
std::string WriteFront(const fs::path& root, int64_t t0, int number,
                       const std::vector<GSensorSample>* gsensor = nullptr) {
    const int64_t start = t0 + number * kRecordingSeconds;
    const TelemetryLayout layout = gsensor ? kLayoutBlocks : kLayoutGpsBox;
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(layout, kRecordingSeconds);
    drive.offsetSeconds = number * kRecordingSeconds;
    fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    telemetry.startTime = start;
    if (gsensor) {
        telemetry.gsensor = *gsensor;
        telemetry.gsensorAttr = {planted::kRate, planted::kFullScale, 0, 0};
    }
    const LocalDateTime t = TimeToLocalWallClock(start);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d.MP4", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, number);
    fs::create_directories(root / "Movie");
    fixtures::WriteRecording(root / "Movie" / name, layout, telemetry, {}, fixtures::SampleClip());
    return name;
}

struct Opened {
    int entry;
    int64_t offsetMs;
};

// What the presenter asked of the window and the map.
struct Window {
    std::vector<Opened> opened;
    std::vector<int64_t> seeks;
    std::vector<QStringList> mapCalls;
    std::vector<bool> barShown;
    std::vector<std::vector<RecordingEvents>> events;

    TripPresenterHooks Hooks() {
        TripPresenterHooks hooks;
        hooks.openEntryAt = [this](int entry, int64_t offsetMs) { opened.push_back({entry, offsetMs}); };
        hooks.seekTo = [this](int64_t offsetMs) { seeks.push_back(offsetMs); };
        hooks.toMap = [this](const QStringList& scripts, const std::optional<MovePosArgs>&) {
            mapCalls.push_back(scripts);
        };
        hooks.barShownChanged = [this](bool shown) { barShown.push_back(shown); };
        hooks.tripEventsRead = [this](std::vector<RecordingEvents> recordings) { events.push_back(recordings); };
        return hooks;
    }
    int RouteDraws() const {
        int draws = 0;
        for (const QStringList& scripts : mapCalls)
            draws += static_cast<int>(scripts.count(QStringLiteral("path_delete()")));
        return draws;
    }
};

class TripPresenterTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_root = new fs::path(fixtures::ScratchDir("trip_presenter"));
        const int64_t t0 = LocalWallClockToTime(2024, 6, 1, 10, 0, 0);
        for (int number = 0; number < 3; ++number)
            s_names.push_back(WriteFront(*s_root, t0, number));
    }
    static inline fs::path* s_root = nullptr;
    static inline std::vector<std::string> s_names;
    ShellTestFolder m_folder;
};

// Sets the bar's value as an assistive client does, through its accessible value.
void SetByAccessibility(CTripBar& bar, int seconds) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&bar);
    CHILD_CHECK(face && face->valueInterface());
    face->valueInterface()->setCurrentValue(seconds);
}

} // namespace

TEST_F(TripPresenterTest, BarOpensTheRecordingOfTheMomentOnBothSidesOfABoundaryAndTheRouteIsDrawnOnce) {
    EXPECT_EXIT(
        {
            EnterChild(m_folder.path());
            QApplication& app = ChildApplication();
            CRecordingCatalog catalog;
            CHILD_CHECK(catalog.ScanSource(*s_root, ""));
            CHILD_CHECK(catalog.Entries().size() == 3 && catalog.GroupRows().size() == 1);
            auto nameOf = [&](int entry) { return catalog.Entries()[static_cast<size_t>(entry)].m_strFileName; };

            CTripBar bar;
            QLabel panel;
            Window window;
            CTripPresenter presenter(&bar, &panel, window.Hooks());
            presenter.SetCatalog(catalog.Entries(), catalog.GroupRows());
            QSignalSpy routeShown(&presenter, &CTripPresenter::routeShown);

            // The group line plays the trip from its first recording, with the bar shown.
            CHILD_CHECK(presenter.PlayGroup(0));
            CHILD_CHECK(window.opened.size() == 1 && nameOf(window.opened[0].entry) == s_names[0]);
            CHILD_CHECK(window.opened[0].offsetMs == 0);
            CHILD_CHECK(!window.barShown.empty() && window.barShown.back() && presenter.OwnsMap());
            presenter.OnRecordingOpened(window.opened[0].entry);
            CHILD_CHECK(routeShown.wait(10000));
            CHILD_CHECK(routeShown.at(0).at(1).toLongLong() > 0);
            CHILD_CHECK(bar.maximum() >= 3 * kRecordingSeconds - 1);

            // 2 s: still the first recording (a seek in it); 4 s: the second at 1 s; 3 s: the second
            // at its start, not the end of the first.
            SetByAccessibility(bar, 2);
            CHILD_CHECK(window.seeks.size() == 1 && window.seeks[0] == 2000);
            SetByAccessibility(bar, 4);
            CHILD_CHECK(window.opened.size() == 2 && nameOf(window.opened[1].entry) == s_names[1]);
            CHILD_CHECK(window.opened[1].offsetMs == 1000);
            presenter.OnRecordingOpened(window.opened[1].entry);
            presenter.OnRecordingTime(1000);
            CHILD_CHECK(presenter.TripMs() == 4000 && bar.PlayedMs() == 4000);
            SetByAccessibility(bar, 0);
            CHILD_CHECK(window.opened.size() == 3 && nameOf(window.opened[2].entry) == s_names[0]);
            presenter.OnRecordingOpened(window.opened[2].entry);
            SetByAccessibility(bar, 3);
            CHILD_CHECK(window.opened.size() == 4 && nameOf(window.opened[3].entry) == s_names[1]);
            CHILD_CHECK(window.opened[3].offsetMs == 0);

            // Playing on through the third recording moves the car, never the route.
            presenter.OnRecordingOpened(window.opened[3].entry);
            presenter.OnRecordingTime(2500);
            const auto third = presenter.NextInTrip(static_cast<size_t>(window.opened[3].entry));
            CHILD_CHECK(third && nameOf(static_cast<int>(*third)) == s_names[2]);
            // At the end of the second, with auto-next on, the third opens at once, from its start.
            CHILD_CHECK(!presenter.OnRecordingEnded(false));
            const size_t before = window.opened.size();
            CHILD_CHECK(presenter.OnRecordingEnded(true));
            CHILD_CHECK(window.opened.size() == before + 1 && window.opened.back().entry == static_cast<int>(*third));
            CHILD_CHECK(window.opened.back().offsetMs == 0);
            presenter.OnRecordingOpened(static_cast<int>(*third));
            for (int64_t ms = 0; ms <= 3000; ms += 500)
                presenter.OnRecordingTime(ms);
            CHILD_CHECK(!presenter.NextInTrip(*third));
            CHILD_CHECK(!presenter.OnRecordingEnded(true)); // the trip's last: the window's own rule
            CHILD_CHECK(window.RouteDraws() == 1);
            CHILD_CHECK(window.mapCalls.size() > 2);

            // The summary panel says the trip in words, the distance once the route is known.
            CHILD_CHECK(panel.accessibleDescription() == panel.text());
            CHILD_CHECK(panel.text().contains(QStringLiteral("Recordings: 3")));
            CHILD_CHECK(panel.text().contains(QStringLiteral("Distance: ")));
            CHILD_CHECK(presenter.GroupToolTip(0) == panel.text());

            // A recording of no trip being played ends the trip: bar hidden, the map back to the window.
            presenter.OnRecordingOpened(-1);
            CHILD_CHECK(!presenter.OwnsMap() && !window.barShown.back());
            (void)app;
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(TripSummaryText, LinesInTheShownUnitAndRouteFiguresOnlyOnceTheRouteIsKnown) {
    TripSummary s;
    s.startLocal = "2024-06-01 10:00:00";
    s.endLocal = "2024-06-01 12:00:05";
    s.lengthMs = 7'205'999;
    s.recordingCount = 61;
    s.distanceKm = 12.3456;
    s.topSpeedKmh = 100;
    s.averageSpeedKmh = 30.0;
    EXPECT_EQ(TripSummaryText(s, true, true).toStdString(),
              "Start: 2024-06-01 10:00:00\nEnd: 2024-06-01 12:00:05\nLength: 2:00:05\nRecordings: 61\n"
              "Distance: 12.346 km\nTop speed: 100 km/h\nAverage speed: 30.0 km/h");
    // mph as the speed label shows it: 100 km/h is 62, 30 km/h on average 18.75.
    const QString mph = TripSummaryText(s, false, true);
    EXPECT_TRUE(mph.endsWith(QStringLiteral("Top speed: 62 mph\nAverage speed: 18.8 mph"))) << mph.toStdString();
    const QString early = TripSummaryText(s, true, false);
    EXPECT_EQ(early.count(u'\n'), 3);
    EXPECT_FALSE(early.contains(QStringLiteral("km")));
    EXPECT_EQ(TripLengthText(-5).toStdString(), "0:00:00");
    EXPECT_EQ(TripLengthText(36'000'000 * 3).toStdString(), "30:00:00");
}

TEST(TripSummaryText, EveryLanguageHasItsOwnLabels) {
    const char* english = FindLangString(FindStringTable(1033), IDS_TRIP_TOP_SPEED);
    ASSERT_NE(english, nullptr);
    for (const StringTable* table : AllStringTables()) {
        for (unsigned id = IDS_TRIP_SUMMARY; id <= IDS_TRIP_AVERAGE_SPEED; ++id) {
            const char* text = FindLangString(table, id);
            ASSERT_NE(text, nullptr) << table->langId << " " << id;
            EXPECT_GT(std::strlen(text), 0u);
        }
        if (table->langId != 1033) {
            EXPECT_STRNE(FindLangString(table, IDS_TRIP_TOP_SPEED), english) << table->langId;
        }
    }
}

// A trip whose middle recording holds a harsh run 1 s in and whose last holds an impact 2 s in:
// the events come with the route, every leading recording at its place, and a catalog changed under
// the playing trip ends it instead of leaving it with indices that name other recordings.
TEST(TripPresenterEvents, ComeWithTheRouteAtTheirRecordingsPlacesAndAChangedCatalogEndsTheTrip) {
    ShellTestFolder folder;
    const fs::path root = fixtures::ScratchDir("trip_presenter_events");
    const int64_t t0 = LocalWallClockToTime(2024, 6, 2, 9, 0, 0);
    planted::Series quiet, harsh, impact;
    quiet.Quiet(60);
    harsh.Quiet(20).Forward(planted::kJustAboveHarsh, 4).Quiet(36);
    impact.Quiet(40).Forward(planted::kJustAboveImpact, 1).Quiet(19);
    WriteFront(root, t0, 0, &quiet.Samples());
    const std::string second = WriteFront(root, t0, 1, &harsh.Samples());
    const std::string third = WriteFront(root, t0, 2, &impact.Samples());
    EXPECT_EXIT(
        {
            EnterChild(folder.path());
            QApplication& app = ChildApplication();
            CRecordingCatalog catalog;
            CHILD_CHECK(catalog.ScanSource(root, ""));
            CHILD_CHECK(catalog.Entries().size() == 3 && catalog.GroupRows().size() == 1);
            CTripBar bar;
            Window window;
            CTripPresenter presenter(&bar, nullptr, window.Hooks());
            presenter.SyncCatalog(catalog);
            CHILD_CHECK(presenter.BuiltFrom(catalog));
            QSignalSpy routeShown(&presenter, &CTripPresenter::routeShown);
            CHILD_CHECK(presenter.PlayGroup(0));
            CHILD_CHECK(routeShown.wait(10000));

            CHILD_CHECK(window.events.size() == 1 && window.events[0].size() == 3);
            const std::vector<RecordingEvents>& trip = window.events[0];
            auto nameOf = [&](int entry) { return catalog.Entries()[static_cast<size_t>(entry)].m_strFileName; };
            CHILD_CHECK(trip[0].offsetMs == 0 && trip[0].events.empty());
            CHILD_CHECK(nameOf(trip[1].entryIndex) == second && trip[1].offsetMs == 3000);
            CHILD_CHECK(trip[1].events.size() == 1 && trip[1].events[0].kind == EventKind::kHarsh);
            CHILD_CHECK(trip[1].events[0].timeMs == 1000 && trip[1].events[0].durationMs == 200);
            CHILD_CHECK(nameOf(trip[2].entryIndex) == third && trip[2].offsetMs == 6000);
            CHILD_CHECK(trip[2].events.size() == 1 && trip[2].events[0].kind == EventKind::kImpact);
            const std::vector<EventItem> line = PlaceEvents(trip);
            CHILD_CHECK(line.size() == 2 && line[0].lineMs == 4000 && line[1].lineMs == 8000);

            // The same catalog again changes nothing; after a rescan (a file command's refresh
            // as well) the trip ends.
            presenter.SyncCatalog(catalog);
            CHILD_CHECK(presenter.Playing());
            fs::remove(root / "Movie" / nameOf(0));
            CHILD_CHECK(catalog.ScanSource(root, "") && catalog.Entries().size() == 2);
            CHILD_CHECK(!presenter.BuiltFrom(catalog));
            presenter.SyncCatalog(catalog);
            CHILD_CHECK(!presenter.Playing() && !window.barShown.back() && presenter.BuiltFrom(catalog));
            (void)app;
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
