// A driver opens a card and watches it: the main window with the real engines and the map page on
// the X display opens a card written by the fixture writer (front/rear pairs, a rear recording
// alone, two groups, a file the player cannot open) and is driven through the lists, the
// transport and the end of a recording. The window runs in a child process (one application
// object per process); the parent only reads its exit status and message.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "control_ids.h"
#include "fixture_writer.h"
#include "gsensor_ctrl.h"
#include "map_window.h"
#include "map_test_support.h"
#include "opening_rules.h"
#include "main_window.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "png_static.h"
#include "private_message.h"
#include "property_controls.h"
#include "seek_scale.h"
#include "settings.h"
#include "speed_label_static.h"
#include "playback_session.h"
#include "video_engine.h"
#include "video_slider.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kClipSeconds = 8;

void WriteCamera(const fs::path& path, int64_t start, TelemetryLayout layout, const fs::path& clip) {
    fixtures::Telemetry telemetry =
        fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, kClipSeconds));
    telemetry.startTime = start;
    fixtures::WriteRecording(path, layout, telemetry, {}, clip);
}

// Catalog order (start time, then name):
//   group 0: 0 front A, 1 rear A, 2 front B, 3 rear B, 4 rear C alone
//   group 1: 5 front D (emptied once listed, so it cannot play), 6 front E
struct Card {
    fs::path dir;
    std::string firstName;
    fs::path unplayable;
    int entries = 7;
};

Card WriteCard() {
    Card card;
    card.dir = fixtures::ScratchDir("e2e_card");
    const fs::path front = fixtures::MakeClip({320, 240, kClipSeconds, 10, "FRONT"});
    const fs::path rear = fixtures::MakeClip({320, 240, kClipSeconds, 10, "REAR"});
    fs::create_directories(card.dir / "Movie");
    fs::create_directories(card.dir / "Movi_be");
    std::tm first{};
    first.tm_year = 2024 - 1900;
    first.tm_mon = 5;
    first.tm_mday = 1;
    first.tm_hour = 12;
    first.tm_isdst = -1;
    const int64_t t0 = std::mktime(&first);
    const fs::path movie = card.dir / "Movie", movieB = card.dir / "Movi_be";
    card.firstName = e2e::RecordingName(t0, 0, false);
    WriteCamera(movie / e2e::RecordingName(t0, 0, false), t0, kLayoutJtdMeta, front);
    WriteCamera(movieB / e2e::RecordingName(t0, 0, true), t0, kLayoutJtdMeta, rear);
    WriteCamera(movie / e2e::RecordingName(t0 + kClipSeconds, 1, false), t0 + kClipSeconds, kLayoutVideMeta, front);
    WriteCamera(movieB / e2e::RecordingName(t0 + kClipSeconds, 1, true), t0 + kClipSeconds, kLayoutVideMeta, rear);
    WriteCamera(movieB / e2e::RecordingName(t0 + 2 * kClipSeconds, 2, true), t0 + 2 * kClipSeconds, kLayoutGpsBox, rear);
    card.unplayable = movie / e2e::RecordingName(t0 + 3600, 3, false);
    WriteCamera(card.unplayable, t0 + 3600, kLayoutGpsBox, front);
    WriteCamera(movie / e2e::RecordingName(t0 + 3600 + kClipSeconds, 4, false), t0 + 3600 + kClipSeconds, kLayoutGpsBox,
                front);
    return card;
}

bool Playing(const CVideoEngine* engine) {
    return engine->IsUsable() && engine->IsPlaying();
}

// Answers every message box at once, noting its text.
struct BoxAnswerer {
    QStringList texts;
    QTimer timer;
    BoxAnswerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer.start(50);
    }
};

} // namespace

TEST(CardPlayback, DriverOpensCardAndWatchesIt) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const Card card = WriteCard();
    const fs::path work = e2e::WindowWorkFolder("e2e_work");
    const std::string outputDir = VELTRIX_TEST_OUTPUT_DIR;
    EXPECT_EXIT(
        {
            e2e::EnterChild(work);
            e2e::ChildApplication();
            BoxAnswerer boxes;
            COrvexMainWindow dlg;
            E2E_CHECK(dlg.Create());
            E2E_CHECK(e2e::ShowExposed(dlg));
            auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
            auto* groups = dlg.ControlById<COrvexGroupListCtrl>(IDC_GROUP_LIST);
            auto* slider = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
            auto* rate = dlg.ControlById<CPbSpeedLabelStatic>(IDC_PB_SPEED_LABEL);
            auto* gps = dlg.ControlById<CPngStatic>(IDC_GPS_INDICATOR);
            auto* curve = dlg.ControlById<CGSensorCtrl>(IDC_GSENSOR);
            E2E_CHECK(gps->m_bColor == 0);
            CVideoEngine* front = dlg.FrontEngine();
            CVideoEngine* rear = dlg.RearEngine();
            E2E_CHECK(front->IsUsable() && rear->IsUsable());

            // The map page first: the short clips must not run out while the web engine starts.
            E2E_CHECK(QTest::qWaitFor([&] { return dlg.MapDlg() && dlg.MapDlg()->IsEngineReady(); }, 60000));

            // Opened as `veltrix CARD` does: the lists fill, the first recording plays in both panes.
            dlg.OpenFolder(card.dir);
            (void)QTest::qWaitFor([&] { return files->LineCount() == card.entries; }, 20000);
            std::fprintf(stderr, "file lines %d, group lines %d\n", files->LineCount(), groups->LineCount());
            E2E_CHECK(files->LineCount() == card.entries);
            E2E_CHECK(groups->LineCount() == 2);
            // Listed, then cut to nothing (a card pulled while copying): the player cannot open it.
            fs::resize_file(card.unplayable, 0);
            E2E_CHECK(
                QTest::qWaitFor([&] { return dlg.CurrentEntryIndex() == 0 && Playing(front); }, 10000));
            E2E_CHECK(Playing(rear));
            E2E_CHECK(files->IsCurrentLine(0) && groups->IsCurrentLine(0));
            E2E_CHECK(!files->IsLineTicked(0) && !files->IsLineSelected(0));
            E2E_CHECK(dlg.windowTitle() == QString::fromStdString(card.firstName) + " - Halvorn Veltrix");
            E2E_CHECK(dlg.ControlById(IDC_FRONT_PANE)->isVisible() &&
                       dlg.ControlById(IDC_REAR_PANE)->isVisible());
            E2E_CHECK(fs::path(GetAppSettings().ReadString("UI", "Folder", "")) == card.dir);

            // Time reports move the slider.
            E2E_CHECK(QTest::qWaitFor(
                [&] { return slider->value() > slider->OriginPosition() && slider->CurrentMs() > 0; }, 5000));

            // The telemetry follows: the GPS indicator in colour, the curve running, the speed shown.
            E2E_CHECK(QTest::qWaitFor([&] { return gps->m_bColor == 1; }, 3000));
            E2E_CHECK(!curve->IsStopped());
            E2E_CHECK(dlg.ControlById<CSpeedLabelStatic>(IDC_SPEED_LABEL)->m_bValid == 1);
            // The page holds the whole track, the driven part grows and the car is on it.
            CMapBrowser* page = FirstBrowser(*dlg.MapDlg());
            E2E_CHECK(page);
            const QJsonObject map = MapState(page);
            std::fprintf(stderr, "map: %s\n", QJsonDocument(map).toJson(QJsonDocument::Compact).constData());
            E2E_CHECK(map.value("path").toInt() >= 2 && map.value("drived").toInt() >= 1);
            E2E_CHECK(map.value("car").isArray() || map.value("car").isObject());

            // The window playing.
            QTest::qWait(800);
            QDir().mkpath(QString::fromStdString(outputDir));
            const QImage shot =
                dlg.screen()->grabWindow(0, dlg.x(), dlg.y(), dlg.width(), dlg.height()).toImage();
            E2E_CHECK(shot.save(QString::fromStdString(outputDir + "/window_playing_card.png")));

            // Faster twenty times stops at "4.0 X"; both engines get the rate.
            for (int i = 0; i < 20; ++i)
                dlg.OnCommand(IDC_FASTER);
            E2E_CHECK(rate->m_strText == QStringLiteral("4.0 X") && rate->m_bShow == 1);
            E2E_CHECK(front->Rate() == 4.0f && rear->Rate() == 4.0f);
            for (int i = 0; i < 10; ++i)
                dlg.OnCommand(IDC_SLOWER);
            E2E_CHECK(dlg.SpeedIndex() == 7 && front->Rate() == 1.0f);

            // A seek while paused lands within a second of its target.
            E2E_CHECK(dlg.CurrentEntryIndex() == 0 && Playing(front));
            dlg.OnCommand(IDC_PLAY);
            E2E_CHECK(front->IsPaused());
            QTest::qWait(500);
            const int64_t length = front->GetLength();
            E2E_CHECK(length > 3000);
            const int64_t target = length / 2;
            slider->setValue(slider->Scale().origin + static_cast<int>(target * slider->Scale().span / length));
            SendPrivateMessage(&dlg, MSG_SEEK_REQUEST, 0);
            QTest::qWait(1200);
            const int64_t landed = front->GetTime();
            std::fprintf(stderr, "seek target %lld ms, landed %lld ms\n", static_cast<long long>(target),
                         static_cast<long long>(landed));
            E2E_CHECK(landed >= target - 1000 && landed <= target + 1000);
            dlg.OnCommand(IDC_PLAY);
            E2E_CHECK(Playing(front));

            // Next skips the rear partner; previous steps back onto it.
            dlg.OnCommand(IDC_NEXT);
            E2E_CHECK(dlg.CurrentEntryIndex() == 2 && files->IsCurrentLine(2) && !files->IsCurrentLine(0));
            E2E_CHECK(QTest::qWaitFor([&] { return Playing(front) && Playing(rear); }, 5000));
            E2E_CHECK(rear->Volume() == 0); // beside a front file the rear is silent
            // This camera records vehicle data: the gauges show it.
            auto* speedGauge = dlg.ControlById<CPropertyText>(1209);
            E2E_CHECK(QTest::qWaitFor(
                [&] { return !speedGauge->m_strValue.isEmpty() && speedGauge->m_strValue != "Invalid Data"; },
                3000));
            dlg.OnCommand(IDC_PREVIOUS);
            E2E_CHECK(dlg.CurrentEntryIndex() == 1);

            // The rear recording alone, chosen in the list: it plays in the rear engine and drives the
            // slider; at its end the next recording (the unplayable one) opens by itself.
            E2E_CHECK(QTest::qWaitFor([&] { return !dlg.Session()->Opening().Active(); }, 10000));
            QTest::qWait(1600);
            // Two choices within 1.5 s: only the first opens.
            SendPrivateMessage(&dlg, MSG_FILE_CHOSEN, 4);
            SendPrivateMessage(&dlg, MSG_FILE_CHOSEN, 6);
            E2E_CHECK(QTest::qWaitFor([&] { return dlg.CurrentEntryIndex() == 4 && Playing(rear); }, 5000));
            E2E_CHECK(!Playing(front));
            QTest::qWait(300);
            E2E_CHECK(dlg.CurrentEntryIndex() == 4);
            // Alone, the rear is heard at the volume slider's volume and follows it.
            E2E_CHECK(rear->Volume() == 100);
            dlg.VolumeBy(10);
            E2E_CHECK(rear->Volume() == 120 && front->Volume() == 120);
            dlg.VolumeBy(-10);
            E2E_CHECK(QTest::qWaitFor([&] { return slider->CurrentMs() > 1000; }, 8000));
            E2E_CHECK(QTest::qWaitFor([&] { return dlg.CurrentEntryIndex() >= 5; }, 20000));

            // The unplayable file: the error box, answered; the next choice still opens.
            E2E_CHECK(QTest::qWaitFor(
                [&] { return boxes.texts.contains("Media player encountered a error."); }, 10000));
            E2E_CHECK(!dlg.Session()->Opening().Active());
            QTest::qWait(1600);
            SendPrivateMessage(&dlg, MSG_FILE_CHOSEN, 6);
            E2E_CHECK(QTest::qWaitFor([&] { return dlg.CurrentEntryIndex() == 6 && Playing(front); }, 5000));
            E2E_CHECK(QTest::qWaitFor([&] { return slider->CurrentMs() > 0; }, 8000));

            // A group chosen in the group list opens its first recording.
            E2E_CHECK(QTest::qWaitFor([&] { return !dlg.Session()->Opening().Active(); }, 5000));
            SendPrivateMessage(&dlg, MSG_GROUP_CHOSEN, 0);
            E2E_CHECK(QTest::qWaitFor([&] { return dlg.CurrentEntryIndex() == 0 && Playing(front); }, 5000));
            E2E_CHECK(groups->IsCurrentLine(0) && !groups->IsCurrentLine(1) && files->IsCurrentLine(0));

            // The front/rear switch: front alone, rear alone, both; playback goes on.
            QWidget* frontPane = dlg.ControlById(IDC_FRONT_PANE);
            QWidget* rearPane = dlg.ControlById(IDC_REAR_PANE);
            dlg.OnCommand(IDC_SWITCH);
            E2E_CHECK(dlg.Session()->ViewMode() == 1 && frontPane->isVisible() && !rearPane->isVisible());
            dlg.OnCommand(IDC_SWITCH);
            E2E_CHECK(dlg.Session()->ViewMode() == 2 && !frontPane->isVisible() && rearPane->isVisible());
            dlg.OnCommand(IDC_SWITCH);
            E2E_CHECK(dlg.Session()->ViewMode() == 0 && frontPane->isVisible() && rearPane->isVisible());
            E2E_CHECK(Playing(front) && Playing(rear));

            // Rotate: both engines rebuilt turned, the same recording plays on at the same rate.
            dlg.OnCommand(IDC_FASTER);
            dlg.OnCommand(IDC_ROTATE);
            E2E_CHECK(front->ArgumentSet() == 1 && rear->ArgumentSet() == 1);
            E2E_CHECK(dlg.CurrentEntryIndex() == 0 && Playing(front) && Playing(rear));
            E2E_CHECK(front->Rate() == rear->Rate() && front->Rate() > 1.0f);
            dlg.OnCommand(IDC_SLOWER);
            // Rotated while paused: it stays paused where it was.
            E2E_CHECK(QTest::qWaitFor([&] { return front->GetTime() > 500; }, 5000));
            dlg.OnCommand(IDC_PLAY);
            QTest::qWait(300);
            const int64_t pausedAt = front->GetTime();
            dlg.OnCommand(IDC_ROTATE);
            QTest::qWait(1500);
            const int64_t afterRotate = front->GetTime();
            QTest::qWait(1000);
            std::fprintf(stderr, "rotate while paused: %lld -> %lld -> %lld ms\n",
                         static_cast<long long>(pausedAt), static_cast<long long>(afterRotate),
                         static_cast<long long>(front->GetTime()));
            E2E_CHECK(front->IsPaused() && front->GetTime() == afterRotate);
            E2E_CHECK(afterRotate >= pausedAt - 1000 && afterRotate <= pausedAt + 1000);
            dlg.OnCommand(IDC_PLAY);
            E2E_CHECK(Playing(front));

            // The KML command writes the playing recording's track into the documents folder.
            dlg.OnCommand(IDC_KML);
            const QString saved = boxes.texts.isEmpty() ? QString() : boxes.texts.last();
            std::fprintf(stderr, "KML: %s\n", qPrintable(saved));
            E2E_CHECK(saved.startsWith("Save KML file:") && saved.endsWith("OK."));
            E2E_CHECK(fs::exists((work / "Documents" / "Halvorn Veltrix" / "KML")));
            E2E_CHECK(!fs::is_empty(work / "Documents" / "Halvorn Veltrix" / "KML"));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

// `veltrix FOLDER` with a folder that does not exist: the box says so and the window stays empty;
// nothing is stored as the last folder.
TEST(CardPlayback, MissingFolderGivesBoxAndEmptyWindow) {
    const fs::path work = fixtures::ScratchDir("e2e_missing");
    std::ofstream(work / "Veltrix.ini", std::ios::binary) << "[UI]\nLANGID=ENG\n";
    const fs::path missing = work / "no such card";
    EXPECT_EXIT(
        {
            if (chdir(work.c_str()) != 0) std::_Exit(90);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            e2e::ChildApplication();
            BoxAnswerer boxes;
            COrvexMainWindow dlg;
            E2E_CHECK(dlg.Create());
            dlg.show();
            // The GPS indicator starts grey.
            E2E_CHECK(dlg.ControlById<CPngStatic>(IDC_GPS_INDICATOR)->m_bColor == 0);
            dlg.OpenFolder(missing);
            E2E_CHECK(QTest::qWaitFor([&] { return boxes.texts.contains("Folder is not exist."); }, 10000));
            E2E_CHECK(dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST)->LineCount() == 0);
            E2E_CHECK(dlg.Catalog().Entries().empty() && dlg.CurrentEntryIndex() == -1);
            E2E_CHECK(dlg.windowTitle() == QStringLiteral("Halvorn Veltrix"));
            E2E_CHECK(!dlg.Session()->Opening().Active() && !dlg.ScanBusy());
            E2E_CHECK(GetAppSettings().ReadString("UI", "Folder", "").empty());
            // Play, next and previous on the empty window change nothing.
            dlg.OnCommand(IDC_PLAY);
            dlg.OnCommand(IDC_NEXT);
            dlg.OnCommand(IDC_PREVIOUS);
            E2E_CHECK(dlg.CurrentEntryIndex() == -1 && !dlg.FrontEngine()->IsPlaying());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

#ifdef VELTRIX_DEMO_CARD_EXE
// The picture for the README: the demo card that run.sh plays, a little way into its first trip,
// with the track on the map and every gauge filled.
TEST(CardPlayback, DemoCardPlayingScreenshot) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const fs::path demo = fixtures::ScratchDir("e2e_demo");
    const std::string command = std::string(VELTRIX_DEMO_CARD_EXE) + " '" + demo.string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const fs::path work = e2e::WindowWorkFolder("e2e_demo_work");
    const std::string outputDir = VELTRIX_TEST_OUTPUT_DIR;
    EXPECT_EXIT(
        {
            e2e::EnterChild(work);
            e2e::ChildApplication();
            COrvexMainWindow dlg;
            E2E_CHECK(dlg.Create());
            E2E_CHECK(e2e::ShowExposed(dlg));
            E2E_CHECK(QTest::qWaitFor([&] { return dlg.MapDlg() && dlg.MapDlg()->IsEngineReady(); }, 60000));
            dlg.OpenFolder(demo);
            auto* slider = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
            E2E_CHECK(QTest::qWaitFor([&] { return Playing(dlg.FrontEngine()) && slider->CurrentMs() > 0; },
                                       20000));
            dlg.SeekBy(17000);
            E2E_CHECK(QTest::qWaitFor([&] { return slider->CurrentMs() >= 17000; }, 5000));
            QTest::qWait(1500);
            const QJsonObject map = MapState(FirstBrowser(*dlg.MapDlg()));
            E2E_CHECK(map.value("path").toInt() >= 10 && map.value("drived").toInt() >= 10);
            QDir().mkpath(QString::fromStdString(outputDir));
            const QImage shot =
                dlg.screen()->grabWindow(0, dlg.x(), dlg.y(), dlg.width(), dlg.height()).toImage();
            E2E_CHECK(shot.save(QString::fromStdString(outputDir + "/window_playing.png")));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
#endif
