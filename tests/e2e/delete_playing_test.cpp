// The driver deletes the recording that is playing: the window keeps nothing of it on screen and
// no later command (rotate, seek, snapshot, KML) reaches its path. The window runs in a child
// process on the X display with the real engines and the map page.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "control_ids.h"
#include "fixture_writer.h"
#include "gsensor_ctrl.h"
#include "map_window.h"
#include "map_test_support.h"
#include "main_window.h"
#include "orvex_file_list_ctrl.h"
#include "speed_label_static.h"
#include "video_engine.h"
#include "video_slider.h"
#include "window_title.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSeconds = 8;

fs::path WriteCamera(const fs::path& path, int64_t start, const fs::path& clip) {
    fixtures::Telemetry telemetry = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, kSeconds));
    telemetry.startTime = start;
    fs::create_directories(path.parent_path());
    fixtures::WriteRecording(path, kLayoutVideMeta, telemetry, {}, clip);
    return path;
}

// Every box: the delete question is answered Yes, the snapshot dialog gets `shot`; texts noted.
struct Answerer {
    QStringList texts;
    QString shot;
    QTimer timer;
    Answerer() {
        // Every window is looked at, not only the active modal one: on a loaded display without a
        // window manager the dialog being executed is not always the one Qt reports as active.
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget* window : windows) {
                auto* box = qobject_cast<QMessageBox*>(window);
                if (!box || !box->isVisible()) continue;
                texts << box->text();
                if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                    yes->click();
                else
                    box->accept();
                return;
            }
            for (QWidget* window : windows) {
                if (auto* dialog = qobject_cast<QFileDialog*>(window); dialog && dialog->isVisible()) {
                    // Typed into the name box: selectFile() leaves the box alone once it has the
                    // focus, and on a loaded display the dialog is often active before this runs.
                    const QFileInfo file(shot);
                    dialog->setDirectory(file.absolutePath());
                    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                        name->setText(file.fileName());
                    static_cast<QDialog*>(dialog)->accept();
                    return;
                }
            }
        });
        timer.start(50);
    }
};

} // namespace

static void DeletePlayingChild(const fs::path& card, const fs::path& work, const fs::path& playing,
                               const fs::path& partner, const fs::path& other, const QString& shot) {
    e2e::EnterChild(work);
    e2e::ChildApplication();
    Answerer boxes;
    boxes.shot = shot;
    COrvexMainWindow dlg;
    E2E_CHECK(dlg.Create());
    dlg.show();
    E2E_CHECK(QTest::qWaitForWindowExposed(&dlg));
    auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
    auto* slider = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
    auto* curve = dlg.ControlById<CGSensorCtrl>(IDC_GSENSOR);
    auto* speed = dlg.ControlById<CSpeedLabelStatic>(IDC_SPEED_LABEL);
    CVideoEngine* frontEngine = dlg.FrontEngine();
    CVideoEngine* rearEngine = dlg.RearEngine();
    E2E_CHECK(QTest::qWaitFor([&] { return dlg.MapDlg() && dlg.MapDlg()->IsEngineReady(); }, 60000));

    dlg.OpenFolder(card);
    E2E_CHECK(QTest::qWaitFor([&] { return files->LineCount() == 3; }, 20000));
    E2E_CHECK(QTest::qWaitFor(
        [&] { return dlg.CurrentEntryIndex() == 0 && frontEngine->IsPlaying() && rearEngine->IsPlaying(); },
        10000));
    E2E_CHECK(QTest::qWaitFor([&] { return slider->CurrentMs() > 0 && !curve->Samples().empty(); }, 5000));
    CMapBrowser* page = FirstBrowser(*dlg.MapDlg());
    E2E_CHECK(page && QTest::qWaitFor([&] { return MapState(page).value("path").toInt() >= 2; }, 5000));

    // The playing recording's line ticked, deleted with its rear partner.
    files->SetLineTicked(0, true);
    dlg.OnCommand(IDC_DELETE);
    E2E_CHECK(!fs::exists(playing) && !fs::exists(partner) && fs::exists(other));
    E2E_CHECK(boxes.texts.size() == 1 && boxes.texts[0].contains("2 files in 1 groups"));
    E2E_CHECK(files->LineCount() == 1);

    // Nothing of it stays on screen.
    E2E_CHECK(dlg.windowTitle() == MainWindowTitle(QString()));
    E2E_CHECK(!dlg.ControlById(IDC_FRONT_PANE)->isVisible() && !dlg.ControlById(IDC_REAR_PANE)->isVisible());
    E2E_CHECK(slider->CurrentMs() == 0 && slider->DurationMs() == 0 && slider->value() == slider->OriginPosition());
    E2E_CHECK(curve->Samples().empty());
    E2E_CHECK(speed->m_bValid == 0);
    E2E_CHECK(QTest::qWaitFor([&] { return MapState(page).value("path").toInt() == 0; }, 3000));

    // No command reaches the deleted path: rotate reopens nothing, a seek moves nothing, the
    // snapshot has no picture to save and the KML export has no recording.
    dlg.OnCommand(IDC_ROTATE);
    dlg.SeekBy(3000);
    QTest::qWait(1500);
    E2E_CHECK(!frontEngine->IsPlaying() && !frontEngine->IsPaused());
    E2E_CHECK(!rearEngine->IsPlaying() && !rearEngine->IsPaused());
    E2E_CHECK(slider->CurrentMs() == 0);
    dlg.RunCommand(IDC_SNAPSHOT);
    E2E_CHECK(boxes.texts.size() == 2 && boxes.texts[1] == "Snapshot failed: no picture was saved.");
    E2E_CHECK(!fs::exists(work / "shot_F.jpg") && !fs::exists(work / "shot_R.jpg"));
    dlg.RunCommand(IDC_KML);
    E2E_CHECK(boxes.texts.size() == 3 && boxes.texts[2].contains("Failed"));
    E2E_CHECK(!fs::exists(playing) && !fs::exists(partner));
    std::_Exit(0);
}

TEST(DeletePlaying, TheDeletedRecordingLeavesNothingOnScreenAndNoCommandReachesIt) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const fs::path card = fixtures::ScratchDir("e2e_delete_card");
    const fs::path work = fixtures::ScratchDir("e2e_delete_work");
    std::ofstream(work / "Veltrix.ini", std::ios::binary)
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=560\n";
    std::tm first{};
    first.tm_year = 2024 - 1900;
    first.tm_mon = 5;
    first.tm_mday = 2;
    first.tm_hour = 9;
    first.tm_isdst = -1;
    const int64_t t0 = std::mktime(&first);
    const fs::path front = fixtures::MakeClip({320, 240, kSeconds, 10, "FRONT"});
    const fs::path rear = fixtures::MakeClip({320, 240, kSeconds, 10, "REAR"});
    const fs::path playing = WriteCamera(card / "Movie" / e2e::RecordingName(t0, 0, false), t0, front);
    const fs::path partner = WriteCamera(card / "Movi_be" / e2e::RecordingName(t0, 0, true), t0, rear);
    const fs::path other = WriteCamera(card / "Movie" / e2e::RecordingName(t0 + 3600, 1, false), t0 + 3600, front);
    const QString shot = QString::fromStdString((work / "shot.jpg").string());
    EXPECT_EXIT(DeletePlayingChild(card, work, playing, partner, other, shot), testing::ExitedWithCode(0), "");
}
