// A driver plays a whole drive: the group line of three back-to-back recordings plays its trip, the
// Events list gathers the events of all three on the trip's time line (a harsh run in the second
// recording, an impact in the third), the trip bar marks them, the summary panel says the trip's
// figures, a line of the list opens the recording that holds it, and GPX and CSV export the whole
// trip. The window runs in a child process on the X display.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "../events/planted_events.h"
#include "command_table.h"
#include "control_ids.h"
#include "fixture_writer.h"
#include "local_time.h"
#include "main_window.h"
#include "orvex_file_list_ctrl.h"
#include "playback_session.h"
#include "track_file_commands.h"
#include "trip_bar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr int kSeconds = 4;
constexpr int kSamples = kSeconds * planted::kRate;

// Three front recordings of 4 s, back to back, of layout 0 with 4 valid fixes and 80 samples each.
fs::path WriteTripCard(std::vector<std::string>& names) {
    const fs::path card = fixtures::ScratchDir("e2e_trip_events_card");
    fs::create_directories(card / "Movie");
    planted::Series quiet, harsh, impact;
    quiet.Quiet(kSamples);
    harsh.Quiet(20).Forward(planted::kJustAboveHarsh, 4).Quiet(kSamples - 24);    // 1 s in
    impact.Quiet(40).Forward(planted::kJustAboveImpact, 1).Quiet(kSamples - 41); // 2 s in
    const planted::Series* series[] = {&quiet, &harsh, &impact};
    const int64_t t0 = LocalWallClockToTime(2024, 6, 3, 8, 0, 0);
    for (int k = 0; k < 3; ++k) {
        fixtures::Telemetry t;
        t.startTime = t0 + k * kSeconds;
        t.fixes.resize(kSeconds);
        for (int i = 0; i < kSeconds; ++i)
            t.fixes[size_t(i)] = GpsFix{52.5 + 0.001 * (k * kSeconds + i), 13.4, 30, 40, 24, 6, 1, 12, 0, 0, 0, 1, {}};
        t.gsensor = series[k]->Samples();
        t.gsensorAttr = {planted::kRate, planted::kFullScale, 0, 0};
        names.push_back(e2e::RecordingName(t.startTime, k, false));
        fixtures::WriteRecording(card / "Movie" / names.back(), kLayoutBlocks, t, {},
                                 fixtures::SampleClip(160, 120, kSeconds));
    }
    return card;
}

void TripEventsChild(const fs::path& work, const fs::path& card, const std::vector<std::string>& names) {
    e2e::EnterChild(work);
    e2e::ChildApplication();

    COrvexMainWindow window;
    E2E_CHECK(window.Create() && e2e::ShowExposed(window));
    auto* list = window.ControlById<QListWidget>(IDC_EVENT_LIST);
    auto* bar = window.ControlById<CTripBar>(IDC_TRIP_BAR);
    auto* summary = window.ControlById<QLabel>(IDC_TRIP_SUMMARY);
    auto* files = window.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
    E2E_CHECK(list && bar && summary && files && !summary->isVisible());

    window.OpenFolder(card);
    E2E_CHECK(QTest::qWaitFor([&] { return files->LineCount() == 3 && window.CurrentEntryIndex() == 0; }, 20000));
    E2E_CHECK(QTest::qWaitFor([&] { return !window.Session()->Opening().Active(); }, 10000));
    // The first recording alone has no events, and says so.
    E2E_CHECK(QTest::qWaitFor([&] { return list->accessibleDescription() == "No G-force events"; }, 10000));

    // The group list stays hidden: "Play the whole trip" (T) plays the open recording's trip.
    window.RunCommand(CMD_PLAY_TRIP);
    E2E_CHECK(QTest::qWaitFor([&] { return list->count() == 2; }, 20000));
    E2E_CHECK(list->item(0)->text() == "00:05, harsh, 0.41 G");
    E2E_CHECK(list->item(1)->text() == "00:10, impact, 1.20 G");
    E2E_CHECK(bar->isVisible() && bar->EventMarks().size() == 2);
    E2E_CHECK(summary->isVisible() && summary->height() > 0 && summary->accessibleName() == "Trip summary");
    E2E_CHECK(summary->accessibleDescription().contains("Recordings: 3"));
    E2E_CHECK(summary->geometry().bottom() < list->geometry().top());
    E2E_CHECK(files->geometry().bottom() < summary->geometry().top());
    // A file line's tool tip is its trip's summary.
    const QPoint onLine = files->visualRect(files->model()->index(1, 2)).center();
    QHelpEvent tip(QEvent::ToolTip, onLine, files->viewport()->mapToGlobal(onLine));
    QCoreApplication::sendEvent(files->viewport(), &tip);
    E2E_CHECK(QToolTip::isVisible() && QToolTip::text() == summary->text());

    // The impact's line opens the third recording near its moment.
    emit list->itemActivated(list->item(1));
    E2E_CHECK(QTest::qWaitFor([&] { return window.windowTitle() == QString::fromStdString(names[2]) + " - Halvorn Veltrix"; },
                              15000));
    E2E_CHECK(list->count() == 2); // still the trip's events

    // The track files of the whole trip: every fix and every sample of the three recordings.
    std::optional<TrackFileOutcome> outcome;
    window.TrackFiles()->SetSayer([](const QString&) {});
    QObject::connect(window.TrackFiles(), &CTrackFileCommands::finished,
                     [&](const TrackFileOutcome& o) { outcome = o; });
    const auto exported = [&](int command) {
        outcome.reset();
        window.RunCommand(command);
        E2E_CHECK(QTest::qWaitFor([&] { return outcome.has_value(); }, 20000));
        E2E_CHECK(outcome->status == TrackFileOutcome::Status::kWritten);
        return e2e::ReadFile(outcome->path);
    };
    E2E_CHECK(e2e::Occurrences(exported(CMD_EXPORT_GPX), "<trkpt ") == size_t(3 * kSeconds));
    E2E_CHECK(e2e::Occurrences(exported(CMD_EXPORT_CSV), "\r\n") == size_t(3 * kSamples + 1));
    std::_Exit(0);
}

} // namespace

TEST(TripEventsWindow, ATripsEventsSummaryAndTrackFilesCoverEveryRecordingOfIt) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    std::vector<std::string> names;
    const fs::path card = WriteTripCard(names);
    // Tall enough for the summary panel beside the files and the events.
    const fs::path work = e2e::WindowWorkFolder("e2e_trip_events_work", 900);
    EXPECT_EXIT(TripEventsChild(work, card, names), testing::ExitedWithCode(0), "");
}
