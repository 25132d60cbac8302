// A driver looks for what happened: the window opens a card whose recording has a harsh run at 5 s
// and an impact at 10.2 s, lists and marks both once the telemetry is loaded, and N, Shift+N and
// the Events list take playback there. The window runs in a child process on the X display.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "../events/planted_events.h"
#include "command_table.h"
#include "control_ids.h"
#include "event_items.h"
#include "event_presenter.h"
#include "fixture_writer.h"
#include "gsensor_ctrl.h"
#include "main_window.h"
#include "playback_session.h"
#include "video_slider.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// One recording of 20 s, front only, with the planted events.
fs::path WriteEventCard() {
    const fs::path card = fixtures::ScratchDir("e2e_events_card");
    fs::create_directories(card / "Movie");
    planted::Series s;
    s.Quiet(100).Forward(planted::kJustAboveHarsh, 4).Quiet(100).Forward(planted::kJustAboveImpact, 1).Quiet(195);
    fixtures::Telemetry t;
    t.fixes.resize(20);
    for (auto& fix : t.fixes)
        fix = GpsFix{52.5, 13.4, 30, 40, 24, 6, 1, 12, 0, 0, 0, 1, {}};
    t.gsensor = s.Samples();
    t.gsensorAttr = {planted::kRate, planted::kFullScale, 0, 0};
    fixtures::WriteRecording(card / "Movie" / "2024_06_01_120000_01.MP4", kLayoutBlocks, t, {},
                             fixtures::SampleClip(160, 120, 20));
    return card;
}

// Waits until the seek the step asked for is pending or playback stands near `ms`.
bool ReachesMs(COrvexMainWindow& window, int64_t ms) {
    return QTest::qWaitFor(
        [&] {
            const int64_t now = window.Session()->SeekBaseMs();
            return now >= ms - 300 && now <= ms + 1500;
        },
        5000);
}

void EventsChild(const fs::path& work, const fs::path& card) {
    e2e::EnterChild(work);
    e2e::ChildApplication();

    COrvexMainWindow window;
    E2E_CHECK(window.Create());
    window.show();
    E2E_CHECK(QTest::qWaitForWindowExposed(&window));
    auto* list = window.ControlById<QListWidget>(IDC_EVENT_LIST);
    auto* slider = window.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
    E2E_CHECK(list && list->accessibleName() == "Events");
    E2E_CHECK(list->isVisible() && list->height() > 0);

    window.OpenFolder(card);
    E2E_CHECK(QTest::qWaitFor([&] { return list->count() == 2; }, 20000));
    E2E_CHECK(list->item(0)->text() == "00:05, harsh, 0.41 G");
    E2E_CHECK(list->item(1)->text() == "00:10, impact, 1.20 G");
    E2E_CHECK(slider->TimeMarks().size() == 2);
    E2E_CHECK(window.ControlById<CGSensorCtrl>(IDC_GSENSOR)->SpanMarks().size() == 2);
    // Seeks wait for the players to know the length.
    E2E_CHECK(QTest::qWaitFor([&] { return slider->DurationMs() > 0; }, 10000));
    window.Session()->Pause();
    E2E_CHECK(QTest::qWaitFor([&] { return !window.Session()->AnyPlaying(); }, 5000));

    // Next event from the start, again before the first seek was applied, Previous event back
    // (as the keys and the menu give them: the command table's own tests press every key).
    window.Session()->SeekTo(1000);
    window.Session()->ApplyPendingSeek();
    window.RunCommand(CMD_NEXT_EVENT);
    E2E_CHECK(ReachesMs(window, 5000));
    window.RunCommand(CMD_NEXT_EVENT);
    E2E_CHECK(ReachesMs(window, 10'200));
    window.RunCommand(CMD_PREVIOUS_EVENT);
    E2E_CHECK(ReachesMs(window, 5000));
    // None before the first: no seek is asked for.
    const int64_t before = window.Session()->SeekBaseMs();
    window.RunCommand(CMD_PREVIOUS_EVENT);
    E2E_CHECK(window.Session()->SeekBaseMs() == before);

    // A line of the list, as Enter gives it.
    emit list->itemActivated(list->item(1));
    E2E_CHECK(ReachesMs(window, 10'200));
    std::_Exit(0);
}

} // namespace

TEST(EventsWindow, PlantedEventsAreListedMarkedAndReachedByKeysAndList) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const fs::path card = WriteEventCard();
    const fs::path work = fixtures::ScratchDir("e2e_events_work");
    std::ofstream(work / "Veltrix.ini", std::ios::binary)
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=700\n";
    EXPECT_EXIT(EventsChild(work, card), testing::ExitedWithCode(0), "");
}
