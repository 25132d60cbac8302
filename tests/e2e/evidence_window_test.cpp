// Evidence from the window: a driver marks a clip (the I and O commands) on a playing front/rear pair (the
// marks appear on the seek slider), exports it, and exports the recording's CSV, GPX and SRT; the
// files read back to the recording's own numbers. Real engines on the X display, in a child process.
#include <gtest/gtest.h>

#include "e2e_child.h"

#include "clip_commands.h"
#include "command_table.h"
#include "control_ids.h"
#include "fixture_writer.h"
#include "main_window.h"
#include "playback_session.h"
#include "track_file_commands.h"
#include "video_engine.h"
#include "video_slider.h"

#include <QApplication>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSeconds = 8;

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

} // namespace

TEST(EvidenceWindow, ClipMarkedWithIAndOAndTrackFilesOfTheOpenRecording) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const fs::path card = fixtures::ScratchDir("evidence_card");
    fs::create_directories(card / "Movie");
    fs::create_directories(card / "Movi_be");
    const fixtures::Telemetry telemetry =
        fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, kSeconds));
    // Named for 2024-06-01 14:00:00 local time (the drive's start in Berlin summer time).
    fixtures::WriteRecording(card / "Movie" / "2024_06_01_140000_00.MP4", kLayoutVideMeta, telemetry, {},
                             fixtures::MakeClip({320, 240, kSeconds, 10, "FRONT"}));
    fixtures::WriteRecording(card / "Movi_be" / "2024_06_01_140000_00_b.MP4", kLayoutVideMeta, telemetry, {},
                             fixtures::MakeClip({320, 240, kSeconds, 10, "REAR"}));
    const fs::path work = fixtures::ScratchDir("evidence_work");
    std::ofstream(work / "Veltrix.ini", std::ios::binary)
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=560\n";
    const fs::path documents = work / "Documents" / "Halvorn Veltrix";
    EXPECT_EXIT(
        {
            e2e::EnterChild(work);
            e2e::ChildApplication();
            COrvexMainWindow dlg;
            E2E_CHECK(dlg.Create());
            dlg.show();
            E2E_CHECK(QTest::qWaitForWindowExposed(&dlg));
            dlg.activateWindow();
            auto* slider = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
            dlg.OpenFolder(card);
            // Playing as asked is not enough: seeks wait for the players to know the length.
            E2E_CHECK(QTest::qWaitFor(
                [&] { return dlg.CurrentEntryIndex() == 0 && dlg.Session()->AnyPlaying() && slider->DurationMs() > 0; },
                20000));
            dlg.Session()->Pause();

            // I and O at the session's time: the marks on the slider, the events' layer untouched.
            const std::vector<SliderTimeMark> eventMarks = slider->TimeMarks(SliderMarkLayer::kEvents);
            dlg.Session()->SeekTo(2000);
            // Through the command table: without a window manager the window is not reliably
            // active, so its shortcuts are driven in the command tests instead.
            dlg.RunCommand(CMD_CLIP_START);
            dlg.Session()->SeekTo(5000);
            dlg.RunCommand(CMD_CLIP_END);
            const auto& marks = slider->TimeMarks(SliderMarkLayer::kClip);
            E2E_CHECK(marks.size() == 2);
            E2E_CHECK(marks[0].ms == 2000 && marks[1].ms == 5000);
            E2E_CHECK(slider->TimeMarks(SliderMarkLayer::kEvents).size() == eventMarks.size());
            E2E_CHECK(dlg.Clips()->Marks().Start() == 2000 && dlg.Clips()->Marks().End() == 5000);

            // Export clip...: front only with the overlay, into the proposed file.
            QStringList said;
            dlg.Clips()->SetSayer([&](const QString& text) { said << text; });
            fs::path clip;
            dlg.Clips()->SetChooser([&](ClipExportSettings s, bool hasRear) -> std::optional<ClipExportSettings> {
                if (!hasRear) return std::nullopt;
                s.layout = ClipLayout::kFrontOnly;
                clip = s.output;
                return s;
            });
            std::optional<ClipExportStatus> status;
            QObject::connect(dlg.Clips(), &CClipCommands::finished,
                             [&](ClipExportStatus s, const QString&) { status = s; });
            dlg.RunCommand(CMD_EXPORT_CLIP);
            E2E_CHECK(QTest::qWaitFor([&] { return status.has_value(); }, 60000));
            E2E_CHECK(*status == ClipExportStatus::kDone);
            E2E_CHECK(clip.parent_path() == documents / "Clips");
            const std::string probe =
                Output("ffprobe -v error -show_entries format=duration:stream=codec_type -of default=nw=1 '" +
                       clip.string() + "'");
            std::smatch duration;
            E2E_CHECK(std::regex_search(probe, duration, std::regex("duration=([0-9.]+)")));
            E2E_CHECK(std::fabs(std::stod(duration[1]) - 3.0) < 0.25);
            E2E_CHECK(e2e::Occurrences(probe, "codec_type=subtitle") == 1);

            // The track files of the open recording, beside the KML folder.
            std::optional<TrackFileOutcome> outcome;
            dlg.TrackFiles()->SetSayer([&](const QString& text) { said << text; });
            QObject::connect(dlg.TrackFiles(), &CTrackFileCommands::finished,
                             [&](const TrackFileOutcome& o) { outcome = o; });
            const auto exported = [&](int command) {
                outcome.reset();
                dlg.RunCommand(command);
                E2E_CHECK(QTest::qWaitFor([&] { return outcome.has_value(); }, 20000));
                E2E_CHECK(outcome->status == TrackFileOutcome::Status::kWritten);
                return e2e::ReadFile(outcome->path);
            };
            const std::string csv = exported(CMD_EXPORT_CSV);
            E2E_CHECK(outcome->path.parent_path() == documents / "CSV");
            E2E_CHECK(e2e::Occurrences(csv, "\r\n") == telemetry.gsensor.size() + 1);
            const std::string gpx = exported(CMD_EXPORT_GPX);
            E2E_CHECK(outcome->path.parent_path() == documents / "GPX");
            size_t valid = 0;
            for (const GpsFix& fix : telemetry.fixes) valid += fix.IsValid();
            E2E_CHECK(e2e::Occurrences(gpx, "<trkpt ") == valid);
            const std::string srt = exported(CMD_EXPORT_SRT);
            E2E_CHECK(e2e::Occurrences(srt, " --> ") == size_t(kSeconds));
            E2E_CHECK(srt.find("2024/06/01 14:00:00   " + std::to_string(telemetry.fixes[0].speed) + " Km/h") !=
                       std::string::npos);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
