// The window on cards as they come: one kept below a folder whose name is not UTF-8 (a FAT card
// mounted with the wrong character set) plays, exports its track and is saved elsewhere; and an
// end-of-file that arrives just before the user picks another recording does not take that
// choice away. Real engines on the X display, each window in a child process.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "control_ids.h"
#include "fixture_writer.h"
#include "main_window.h"
#include "orvex_file_list_ctrl.h"
#include "private_message.h"
#include "video_engine.h"
#include "video_slider.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kClipSeconds = 6;

// `pairs` front/rear pairs back to back in Movie/ and Movi_be/ of `card`.
void WritePairs(const fs::path& card, int pairs) {
    const fs::path front = fixtures::MakeClip({320, 240, kClipSeconds, 10, "FRONT"});
    const fs::path rear = fixtures::MakeClip({320, 240, kClipSeconds, 10, "REAR"});
    fs::create_directories(card / "Movie");
    fs::create_directories(card / "Movi_be");
    const int64_t t0 = 1717236000; // 2024-06-01 12:00:00 in Berlin
    for (int k = 0; k < pairs; ++k) {
        const int64_t start = t0 + k * kClipSeconds;
        for (bool isRear : {false, true}) {
            fixtures::Telemetry telemetry =
                fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, kClipSeconds));
            telemetry.startTime = start;
            fixtures::WriteRecording(card / (isRear ? "Movi_be" : "Movie") / e2e::RecordingName(start, k, isRear),
                                     kLayoutVideMeta, telemetry, {}, isRear ? rear : front);
        }
    }
}

bool Playing(const CVideoEngine* engine) {
    return engine->IsUsable() && engine->IsPlaying();
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Answers every message box at once, noting its text; a folder picker gets `pickFolder`.
struct ModalAnswerer {
    QStringList texts;
    QString pickFolder;
    QTimer timer;
    ModalAnswerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts << box->text();
                box->accept();
            } else if (auto* picker = qobject_cast<QFileDialog*>(modal); picker && picker->isVisible()) {
                picker->setDirectory(pickFolder);
                static_cast<QDialog*>(picker)->accept(); // the Open button
            }
        });
        timer.start(50);
    }
};

// Waits until the window plays `entry` with its time running.
bool PlaysEntry(COrvexMainWindow& dlg, int entry, int timeoutMs) {
    auto* slider = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
    return QTest::qWaitFor(
        [&] { return dlg.CurrentEntryIndex() == entry && Playing(dlg.FrontEngine()) && slider->CurrentMs() > 0; },
        timeoutMs);
}

} // namespace

TEST(CardBytes, CardBelowALatin1FolderNamePlaysExportsAndIsSavedAs) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const fs::path card = fixtures::ScratchDir("e2e_bytes_card") / "Fahrt_M\xFCnchen";
    WritePairs(card, 2);
    const fs::path work = e2e::WindowWorkFolder("e2e_bytes_work");
    const fs::path target = fixtures::ScratchDir("e2e_bytes_target");
    EXPECT_EXIT(
        {
            e2e::EnterChild(work);
            e2e::ChildApplication();
            ModalAnswerer modal;
            modal.pickFolder = QString::fromStdString(target.string());
            COrvexMainWindow dlg;
            E2E_CHECK(dlg.Create());
            dlg.show();
            E2E_CHECK(QTest::qWaitForWindowExposed(&dlg));
            auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
            dlg.OpenFolder(card);
            E2E_CHECK(QTest::qWaitFor([&] { return files->LineCount() == 4; }, 20000));

            // Both cameras play the first recording; no engine reports an error.
            E2E_CHECK(PlaysEntry(dlg, 0, 10000));
            E2E_CHECK(QTest::qWaitFor([&] { return Playing(dlg.RearEngine()); }, 3000));
            QTest::qWait(500);
            for (const QString& text : modal.texts)
                std::fprintf(stderr, "box: %s\n", qPrintable(text));
            E2E_CHECK(!modal.texts.contains("Media player encountered a error."));
            // The list shows the folder, its stray byte as U+FFFD.
            bool folderShown = false;
            for (int column = 0; column < files->ColumnCount(); ++column)
                folderShown =
                    folderShown || files->LineText(0, column).contains(QStringLiteral("Fahrt_M\uFFFDnchen"));
            E2E_CHECK(folderShown);

            // The track is exported under the recording's own name, as valid UTF-8.
            dlg.OnCommand(IDC_KML);
            const QString saved = modal.texts.isEmpty() ? QString() : modal.texts.last();
            std::fprintf(stderr, "KML: %s\n", qPrintable(saved));
            E2E_CHECK(saved.startsWith("Save KML file:") && saved.endsWith("OK."));
            const fs::path kmlFolder = work / "Documents" / "Halvorn Veltrix" / "KML";
            E2E_CHECK(fs::exists(kmlFolder) && !fs::is_empty(kmlFolder));
            const std::string kml = ReadAll(fs::directory_iterator(kmlFolder)->path());
            E2E_CHECK(kml.find("<coordinates>") != std::string::npos);
            E2E_CHECK(QString::fromUtf8(kml).toUtf8() == QByteArray::fromStdString(kml));

            // Save as copies the ticked group, front and rear, byte for byte.
            files->SetLineTicked(0, true);
            dlg.OnCommand(IDC_SAVE_AS);
            for (const fs::path& source : {dlg.Catalog().EntryPath(0), dlg.Catalog().EntryPath(1)}) {
                const fs::path copy = target / source.parent_path().filename() / source.filename();
                std::fprintf(stderr, "copy %s\n", copy.c_str());
                E2E_CHECK(fs::exists(copy) && ReadAll(copy) == ReadAll(source));
            }
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

// The end of one recording, then within its 400 ms pause the user picks another: the pick stays,
// and an error of the file left behind shows no box.
TEST(CardBytes, EndOfFileJustBeforeAListChoiceLeavesTheChoiceOpen) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const fs::path card = fixtures::ScratchDir("e2e_stale_card");
    WritePairs(card, 4);
    const fs::path work = e2e::WindowWorkFolder("e2e_stale_work");
    EXPECT_EXIT(
        {
            e2e::EnterChild(work);
            e2e::ChildApplication();
            ModalAnswerer modal;
            COrvexMainWindow dlg;
            E2E_CHECK(dlg.Create());
            dlg.show();
            E2E_CHECK(QTest::qWaitForWindowExposed(&dlg));
            auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
            dlg.OpenFolder(card);
            E2E_CHECK(QTest::qWaitFor([&] { return files->LineCount() == 8; }, 20000));
            E2E_CHECK(PlaysEntry(dlg, 0, 10000));
            QTest::qWait(1600); // past the list's debounce

            // What libVLC does at the end of the front file: the engine's own callback.
            CVideoEngine* front = dlg.FrontEngine();
            libvlc_event_t end{};
            end.type = libvlc_MediaPlayerEndReached;
            front->DeliverEvent(end);
            QTest::qWait(100);
            // An error of the file being left, still on its way when the choice is made.
            libvlc_event_t error{};
            error.type = libvlc_MediaPlayerEncounteredError;
            front->DeliverEvent(error);
            SendPrivateMessage(&dlg, MSG_FILE_CHOSEN, 5);
            E2E_CHECK(PlaysEntry(dlg, 5, 5000));
            QTest::qWait(1000);
            std::fprintf(stderr, "current entry %d\n", dlg.CurrentEntryIndex());
            E2E_CHECK(dlg.CurrentEntryIndex() == 5 && files->IsCurrentLine(5));
            E2E_CHECK(Playing(front));
            E2E_CHECK(modal.texts.isEmpty());

            // An error of the recording now open is still said.
            front->DeliverEvent(error);
            E2E_CHECK(QTest::qWaitFor(
                [&] { return modal.texts.contains("Media player encountered a error."); }, 3000));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
