// The evidence exports of the window's parts: the clip marks, "Export clip..." from a fixture
// front/rear pair through ffmpeg (duration, streams, cancel, no overwrite without the answer) and
// "Export GPX", "Export CSV", "Export subtitles (SRT)" read back against the recording's numbers.
// The parts run in a child process with its own application object (queued calls, worker threads).
#include "shell_test_support.h"

#include "clip_commands.h"
#include "clip_marks.h"
#include "clip_telemetry.h"
#include "coordinates.h"
#include "fixture_writer.h"
#include "track_file_commands.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <regex>

namespace fs = std::filesystem;

namespace {

struct Pair {
    fs::path front, rear;
    fixtures::Telemetry telemetry; // the front's: five fixes and samples a second
};

const Pair& FixturePair() {
    static const Pair pair = [] {
        Pair p;
        const fs::path dir = fixtures::ScratchDir("evidence_pair");
        p.telemetry = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 8));
        p.front = dir / "2024_06_01_120000_01.MP4";
        p.rear = dir / "2024_06_01_120001_01_b.MP4";
        fixtures::WriteRecording(p.front, kLayoutVideMeta, p.telemetry, {},
                                 fixtures::MakeClip({320, 240, 8, 10, "FRONT"}));
        fixtures::Telemetry rear = p.telemetry;
        rear.startTime += 1;
        fixtures::WriteRecording(p.rear, kLayoutVideMeta, rear, {}, fixtures::MakeClip({320, 240, 8, 10, "REAR"}));
        return p;
    }();
    return pair;
}

std::string Quoted(const fs::path& path) {
    std::string out = "'";
    for (const char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// Every name in the folder, hidden partial files too; none while it does not exist.
std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

// The clip commands on the fixture pair, the playback time and the answers set by the test.
struct ClipBench {
    OpenRecording open{FixturePair().front, FixturePair().rear, 0};
    QStringList said;
    std::vector<std::pair<std::optional<int64_t>, std::optional<int64_t>>> shownMarks;
    int asked = 0;
    bool replace = false;
    std::optional<ClipExportSettings> proposed;
    std::function<ClipExportSettings(ClipExportSettings)> choose = [](ClipExportSettings s) { return s; };
    std::optional<ClipExportStatus> status;
    CClipCommands commands{nullptr, [this] { return open; }};

    explicit ClipBench(const fs::path& documents) {
        commands.SetDocumentsFolder(documents);
        commands.SetMarksView([this](auto start, auto end) { shownMarks.emplace_back(start, end); });
        commands.SetChooser([this](const ClipExportSettings& s, bool) -> std::optional<ClipExportSettings> {
            proposed = s;
            return choose(s);
        });
        commands.SetAsker([this](const QString&) { return ++asked, replace; });
        commands.SetSayer([this](const QString& text) { said << text; });
        QObject::connect(&commands, &CClipCommands::finished,
                         [this](ClipExportStatus s, const QString&) { status = s; });
    }
    void Mark(int64_t fromMs, int64_t toMs) {
        open.timeMs = fromMs;
        commands.SetStart();
        open.timeMs = toMs;
        commands.SetEnd();
    }
    bool Export() {
        status.reset();
        commands.ExportClip();
        return QTest::qWaitFor([this] { return status.has_value(); }, 120000);
    }
};

} // namespace

TEST(ClipMarks, AStartAfterTheEndOrAnEndBeforeTheStartDropsTheOtherMark) {
    ClipMarks marks;
    marks.SetStart(3000);
    EXPECT_FALSE(marks.Complete());
    marks.SetEnd(7000);
    ASSERT_TRUE(marks.Complete());
    marks.SetStart(7000); // at the end: no span is left
    EXPECT_EQ(marks.Start(), 7000);
    EXPECT_FALSE(marks.End());
    marks.SetEnd(2000);
    EXPECT_EQ(marks.End(), 2000);
    EXPECT_FALSE(marks.Start());
    marks.SetStart(-5);
    EXPECT_EQ(marks.Start(), 0);
    EXPECT_TRUE(marks.Complete());
}

TEST(EvidenceExports, ClipOfTheMarkedSpanWithSubtitlesAndNoOverwriteWithoutTheAnswer) {
    const fs::path documents = fixtures::ScratchDir("evidence_clip_docs");
    FixturePair();
    EXPECT_EXIT(
        {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ChildApplication();
            ClipBench bench(documents);
            // No marks yet: nothing is asked, the user is told to mark the span.
            bench.commands.ExportClip();
            CHILD_CHECK(bench.said.size() == 1 && !bench.proposed);
            bench.Mark(2000, 6000);
            CHILD_CHECK(bench.shownMarks.back().first == 2000 && bench.shownMarks.back().second == 6000);
            CHILD_CHECK(bench.Export());
            CHILD_CHECK(*bench.status == ClipExportStatus::kDone);
            // Proposed in the documents folder's clip folder, made on demand; side by side with a rear.
            const fs::path clip = bench.proposed->output;
            CHILD_CHECK(clip.parent_path() == documents / "Halvorn Veltrix" / "Clips");
            CHILD_CHECK(bench.proposed->layout == ClipLayout::kSideBySide);
            CHILD_CHECK(bench.said.back().contains(QString::fromStdString(clip.string())));
            const std::string probe = Output("ffprobe -v error -show_entries format=duration:stream=codec_type "
                                             "-of default=nw=1 " + Quoted(clip));
            std::smatch duration;
            CHILD_CHECK(std::regex_search(probe, duration, std::regex("duration=([0-9.]+)")));
            CHILD_CHECK(std::fabs(std::stod(duration[1]) - 4.0) < 0.25);
            CHILD_CHECK(Count(probe, "codec_type=video") == 1 && Count(probe, "codec_type=subtitle") == 1);
            const std::string srt = Output("ffmpeg -nostdin -v error -i " + Quoted(clip) + " -map 0:s:0 -f srt pipe:1");
            CHILD_CHECK(srt.find("2024/06/01 14:00:02") != std::string::npos);
            CHILD_CHECK(srt.find("2024/06/01 14:00:05") != std::string::npos);
            CHILD_CHECK(srt.find("14:00:06") == std::string::npos);

            // Again into the same file: asked, "no" keeps the file as it was.
            const auto before = fs::last_write_time(clip);
            const auto size = fs::file_size(clip);
            bench.choose = [](ClipExportSettings s) {
                s.picture = ClipPicture::kCopy;
                return s;
            };
            CHILD_CHECK(bench.Export());
            CHILD_CHECK(bench.asked == 1 && *bench.status == ClipExportStatus::kCancelled);
            CHILD_CHECK(fs::last_write_time(clip) == before && fs::file_size(clip) == size);
            // "Yes" replaces it with the quick cut.
            bench.replace = true;
            CHILD_CHECK(bench.Export());
            CHILD_CHECK(bench.asked == 2 && *bench.status == ClipExportStatus::kDone);
            CHILD_CHECK(fs::file_size(clip) != size);
            CHILD_CHECK(NamesIn(clip.parent_path()).size() == 1);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(EvidenceExports, CancelStopsTheExportAndLeavesNoFile) {
    const fs::path documents = fixtures::ScratchDir("evidence_cancel_docs");
    const fs::path tools = fixtures::ScratchDir("evidence_cancel_tools");
    const fs::path slow = tools / "ffmpeg";
    std::ofstream(slow) << "#!/bin/sh\nfor last; do :; done\necho partial > \"$last\"\nexec sleep 60\n";
    ::chmod(slow.c_str(), 0755);
    FixturePair();
    EXPECT_EXIT(
        {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ChildApplication();
            ClipBench bench(documents);
            bench.commands.SetFfmpegProgram(slow.string());
            // A rear recording alone is cut as the one camera it has.
            bench.open.front.clear();
            bench.Mark(1000, 7000);
            bench.commands.ExportClip();
            CHILD_CHECK(bench.proposed && bench.proposed->layout == ClipLayout::kFrontOnly);
            CHILD_CHECK(bench.commands.Running() && bench.commands.Progress());
            const fs::path folder = bench.proposed->output.parent_path();
            // Cancelled once ffmpeg has started writing its partial file.
            CHILD_CHECK(QTest::qWaitFor([&] { return !NamesIn(folder).empty(); }, 20000));
            auto* cancel = bench.commands.Progress()->findChild<QPushButton*>();
            CHILD_CHECK(cancel);
            cancel->click();
            CHILD_CHECK(QTest::qWaitFor([&] { return bench.status.has_value(); }, 20000));
            CHILD_CHECK(*bench.status == ClipExportStatus::kCancelled);
            CHILD_CHECK(NamesIn(folder).empty());
            CHILD_CHECK(!bench.commands.Running());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(EvidenceExports, TrackFilesReadBackToTheRecordingsNumbers) {
    const fs::path documents = fixtures::ScratchDir("evidence_track_docs");
    FixturePair();
    EXPECT_EXIT(
        {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ChildApplication();
            std::string error;
            const std::optional<ExaminedRecording> front = ExamineRecording(FixturePair().front, error);
            CHILD_CHECK(front);
            QStringList said;
            int asked = 0;
            std::optional<TrackFileOutcome> outcome;
            CTrackFileCommands commands(nullptr, [&] {
                return std::vector<TrackFileSource>{{front->path, front->info}};
            });
            commands.SetDocumentsFolder(documents);
            commands.SetSayer([&](const QString& text) { said << text; });
            commands.SetAsker([&](const QString&) { return ++asked, true; });
            QObject::connect(&commands, &CTrackFileCommands::finished,
                             [&](const TrackFileOutcome& o) { outcome = o; });
            const auto run = [&](TrackFileKind kind) {
                outcome.reset();
                commands.Export(kind);
                CHILD_CHECK(QTest::qWaitFor([&] { return outcome.has_value(); }, 20000));
                CHILD_CHECK(outcome->status == TrackFileOutcome::Status::kWritten);
                CHILD_CHECK(said.back().contains(QString::fromStdString(outcome->path.string())));
                return ShellTestFolder::Read(outcome->path);
            };
            const fixtures::Telemetry& t = FixturePair().telemetry;

            const std::string csv = run(TrackFileKind::kCsv);
            CHILD_CHECK(outcome->path.parent_path() == documents / "Halvorn Veltrix" / "CSV");
            CHILD_CHECK(Count(csv, "\r\n") == t.gsensor.size() + 1); // the header and one row a sample
            // Row of sample 10 (2 s): its axes in G and the fix of the same moment.
            std::vector<std::string> lines;
            for (size_t begin = 0, end; (end = csv.find("\r\n", begin)) != std::string::npos; begin = end + 2)
                lines.push_back(csv.substr(begin, end - begin));
            std::vector<std::string> fields;
            for (size_t begin = 0, end;; begin = end + 1) {
                end = lines[11].find(',', begin);
                fields.push_back(lines[11].substr(begin, end - begin));
                if (end == std::string::npos) break;
            }
            CHILD_CHECK(fields[1] == "2000");
            CHILD_CHECK(std::fabs(std::stod(fields[3]) - GSensorAxisToG(t.gsensor[10].x, 8)) < 1e-9);
            CHILD_CHECK(std::fabs(std::stod(fields[7]) - t.fixes[10].latitude) < 2e-6);
            CHILD_CHECK(std::fabs(std::stod(fields[8]) - t.fixes[10].longitude) < 2e-6);

            const std::string gpx = run(TrackFileKind::kGpx);
            CHILD_CHECK(outcome->path.parent_path() == documents / "Halvorn Veltrix" / "GPX");
            size_t valid = 0;
            for (const GpsFix& fix : t.fixes) valid += fix.IsValid();
            CHILD_CHECK(valid > 0 && Count(gpx, "<trkpt ") == valid);

            const std::string srt = run(TrackFileKind::kSrt);
            CHILD_CHECK(outcome->path.parent_path() == documents / "Halvorn Veltrix" / "SRT");
            CHILD_CHECK(Count(srt, " --> ") == 8); // a cue a second
            CHILD_CHECK(srt.find("2024/06/01 14:00:00   " + std::to_string(t.fixes[0].speed) + " Km/h") !=
                        std::string::npos);
            CHILD_CHECK(srt.find("2024/06/01 14:00:07") != std::string::npos);
            CHILD_CHECK(asked == 0);
            // Exported again: the existing file is replaced only after the question.
            run(TrackFileKind::kSrt);
            CHILD_CHECK(asked == 1);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
