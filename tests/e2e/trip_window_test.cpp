// A driver watches a drive rather than its files: the window opens a card of three back-to-back
// recordings, the group line plays the trip, "Trip position" set the way a screen reader sets it
// opens the recording that holds that moment (its name in the window title) on either side of a
// boundary, and at the end of a recording the next one of the trip follows without the loading
// caption. The window runs in a child process on the X display.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "control_ids.h"
#include "fixture_writer.h"
#include "local_time.h"
#include "main_window.h"
#include "opening_rules.h"
#include "orvex_file_list_ctrl.h"
#include "playback_session.h"
#include "private_message.h"
#include "trip_bar.h"
#include "video_static.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSeconds = 4;

// Three front recordings of 4 s, back to back.
fs::path WriteTripCard(std::vector<std::string>& names) {
    const fs::path card = fixtures::ScratchDir("e2e_trip_card");
    fs::create_directories(card / "Movie");
    const int64_t t0 = LocalWallClockToTime(2024, 6, 1, 10, 0, 0);
    for (int k = 0; k < 3; ++k) {
        fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutGpsBox, kSeconds);
        drive.offsetSeconds = k * kSeconds;
        fixtures::Telemetry t = fixtures::SimulateDrive(drive);
        t.startTime = t0 + k * kSeconds;
        const LocalDateTime local = TimeToLocalWallClock(t.startTime);
        char name[64];
        std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d.MP4", local.year, local.month,
                      local.day, local.hour, local.minute, local.second, k);
        names.push_back(name);
        fixtures::WriteRecording(card / "Movie" / name, kLayoutGpsBox, t, {}, fixtures::SampleClip(160, 120, kSeconds));
    }
    return card;
}

QString TitleOf(const std::string& name) {
    return QString::fromStdString(name) + " - Halvorn Veltrix";
}

void SetTripPosition(CTripBar& bar, int seconds) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&bar);
    E2E_CHECK(face && face->text(QAccessible::Name) == "Trip position" && face->valueInterface());
    face->valueInterface()->setCurrentValue(seconds);
}

void TripChild(const fs::path& work, const fs::path& card, const std::vector<std::string>& names) {
    e2e::EnterChild(work);
    e2e::ChildApplication();

    COrvexMainWindow window;
    E2E_CHECK(window.Create());
    window.show();
    E2E_CHECK(QTest::qWaitForWindowExposed(&window));
    auto* bar = window.ControlById<CTripBar>(IDC_TRIP_BAR);
    auto* files = window.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
    auto* pane = window.ControlById<CVideoStatic>(IDC_FRONT_PANE);
    E2E_CHECK(bar && files && pane && !bar->isVisible());

    window.OpenFolder(card);
    E2E_CHECK(QTest::qWaitFor([&] { return files->LineCount() == 3 && window.CurrentEntryIndex() == 0; }, 20000));
    // A choice is taken once the first recording has finished opening.
    E2E_CHECK(QTest::qWaitFor([&] { return !window.Session()->Opening().Active(); }, 10000));
    SendPrivateMessage(&window, MSG_GROUP_CHOSEN, 0);
    E2E_CHECK(QTest::qWaitFor([&] { return bar->isVisible(); }, 5000));
    E2E_CHECK(bar->maximum() >= 3 * kSeconds - 1);
    E2E_CHECK(window.windowTitle() == TitleOf(names[0]));

    // Into the second recording, back before the boundary, and onto it.
    SetTripPosition(*bar, kSeconds + 1);
    E2E_CHECK(QTest::qWaitFor([&] { return window.windowTitle() == TitleOf(names[1]); }, 5000));
    SetTripPosition(*bar, kSeconds - 1);
    E2E_CHECK(QTest::qWaitFor([&] { return window.windowTitle() == TitleOf(names[0]); }, 5000));
    SetTripPosition(*bar, kSeconds);
    E2E_CHECK(QTest::qWaitFor([&] { return window.windowTitle() == TitleOf(names[1]); }, 5000));

    // Played to its end, the second is followed by the third, never under the loading caption.
    E2E_CHECK(window.Session()->AutoNext());
    QElapsedTimer waited;
    waited.start();
    bool loadingSeen = false;
    while (window.windowTitle() != TitleOf(names[2]) && waited.elapsed() < 15000) {
        QTest::qWait(20);
        loadingSeen = loadingSeen || (pane->m_bShowCaption && pane->m_strCaption == "Loading...");
    }
    E2E_CHECK(window.windowTitle() == TitleOf(names[2]));
    E2E_CHECK(!loadingSeen);
    E2E_CHECK(bar->isVisible());
    std::_Exit(0);
}

} // namespace

TEST(TripWindow, TripPositionOpensTheRecordingOfTheMomentAndTheNextFollowsWithoutLoading) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    std::vector<std::string> names;
    const fs::path card = WriteTripCard(names);
    const fs::path work = fixtures::ScratchDir("e2e_trip_work");
    std::ofstream(work / "Veltrix.ini", std::ios::binary)
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=700\n";
    EXPECT_EXIT(TripChild(work, card, names), testing::ExitedWithCode(0), "");
}
