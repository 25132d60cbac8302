#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "clip_export_job.h"
#include "clip_fixture.h"
#include "clip_preparation.h"
#include "coordinates.h"

namespace fs = std::filesystem;

namespace {
ClipRequest Prepared(ClipChoice choice) {
    std::string error;
    std::optional<ClipRequest> request = PrepareClipRequest(choice, error);
    EXPECT_TRUE(request) << error;
    return request.value_or(ClipRequest{});
}

ClipChoice Choice(const fs::path& output, int from, int to, bool withRear = true) {
    ClipChoice choice;
    choice.front = FixturePair().front;
    if (withRear) choice.rear = FixturePair().rear;
    choice.fromMs = from * 1000;
    choice.toMs = to * 1000;
    choice.output = output;
    return choice;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text of each cue of an SRT file, in order.
std::vector<std::string> CueTexts(const std::string& srt) {
    std::vector<std::string> cues;
    std::regex block(R"(\d+\r?\n[0-9:,]+ --> [0-9:,]+\r?\n((?:.+\r?\n)+))");
    for (auto it = std::sregex_iterator(srt.begin(), srt.end(), block); it != std::sregex_iterator(); ++it)
        cues.push_back((*it)[1].str());
    return cues;
}

// What the cue of recording second `second` must say, read from the fixture's own telemetry:
// layout 2 has five fixes and five G-sensor samples per second.
void ExpectCueOfSecond(const std::string& cue, int second) {
    const fixtures::Telemetry& t = FixturePair().telemetry;
    const GpsFix& fix = t.fixes.at(size_t(second) * 5);
    ASSERT_TRUE(fix.IsValid());
    char when[32];
    std::snprintf(when, sizeof when, "2024/06/01 14:00:%02d", second); // 12:00 UTC in Berlin summer time
    EXPECT_NE(cue.find(std::string(when) + "   " + std::to_string(fix.speed) + " Km/h\n"), std::string::npos)
        << cue << "expected " << when << " and " << fix.speed << " Km/h";
    std::smatch place;
    ASSERT_TRUE(std::regex_search(cue, place, std::regex(R"(([0-9.]+)N, ([0-9.]+)E   G ([0-9.]+))"))) << cue;
    // The camera stores NMEA rationals to 1/10000 minute, a little under 2e-6 degrees.
    EXPECT_NEAR(std::stod(place[1]), fix.latitude, 2e-6);
    EXPECT_NEAR(std::stod(place[2]), fix.longitude, 2e-6);
    const GSensorSample& s = t.gsensor.at(size_t(second) * 5);
    const double x = GSensorAxisToG(s.x, 8), y = GSensorAxisToG(s.y, 8);
    EXPECT_NEAR(std::stod(place[3]), std::sqrt(x * x + y * y), 0.0051);
}
} // namespace

TEST(ClipExport, SideBySideWithOverlayAndSubtitleTrack) {
    const fs::path dir = fixtures::ScratchDir("clip_side");
    ClipExportJob job(Prepared(Choice(dir / "clip.mp4", 2, 7)));
    std::vector<double> reported;
    const ClipExportResult result = job.Run([&](double f) { reported.push_back(f); });
    ASSERT_EQ(result.status, ClipExportStatus::kDone) << result.message;
    EXPECT_EQ(result.message, (dir / "clip.mp4").string());
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"clip.mp4"}) << "no partial or cue file is left";
    EXPECT_NEAR(DurationOf(dir / "clip.mp4"), 5.0, 0.2);
    EXPECT_EQ(StreamsOf(dir / "clip.mp4"), (std::vector<std::string>{"video:h264", "subtitle:mov_text"}));
    EXPECT_EQ(PictureSizeOf(dir / "clip.mp4"), "320x120");
    const std::vector<std::string> cues = CueTexts(SubtitlesOf(dir / "clip.mp4"));
    ASSERT_EQ(cues.size(), 5u);
    ExpectCueOfSecond(cues.front(), 2);
    ExpectCueOfSecond(cues.back(), 6);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}

TEST(ClipExport, QuickCutKeepsBothCamerasWithoutReEncoding) {
    const fs::path dir = fixtures::ScratchDir("clip_copy");
    ClipChoice choice = Choice(dir / "cut.mp4", 3, 8);
    choice.picture = ClipPicture::kCopy;
    ClipExportJob job(Prepared(choice));
    const ClipExportResult result = job.Run();
    ASSERT_EQ(result.status, ClipExportStatus::kDone) << result.message;
    EXPECT_EQ(StreamsOf(dir / "cut.mp4"), (std::vector<std::string>{"video:h264", "video:h264", "subtitle:mov_text"}));
    // Cut at key frames (one a second in the fixture clip).
    EXPECT_NEAR(DurationOf(dir / "cut.mp4"), 5.0, 1.1);
    ExpectCueOfSecond(CueTexts(SubtitlesOf(dir / "cut.mp4")).front(), 3);
}

TEST(ClipExport, OverlayFilesSurviveAnyTemporaryFolderName) {
    const fs::path dir = fixtures::ScratchDir("clip_escape");
    const fs::path odd = dir / "it's [a]:b,c;d";
    fs::create_directories(odd);
    ClipChoice choice = Choice(dir / "front.mp4", 0, 2, false); // the fixture is made before TMPDIR changes
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", odd.c_str(), 1);
    ClipExportJob job(Prepared(choice));
    const ClipExportResult result = job.Run();
    old ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
    ASSERT_EQ(result.status, ClipExportStatus::kDone) << result.message;
    EXPECT_EQ(PictureSizeOf(dir / "front.mp4"), "320x240");
    EXPECT_TRUE(fs::is_empty(odd)) << "the cue files are removed";
}

TEST(ClipExport, CancelLeavesNoFile) {
    const fs::path dir = fixtures::ScratchDir("clip_cancel");
    // Cancelled from the first progress report of a real ffmpeg run.
    ClipExportJob job(Prepared(Choice(dir / "clip.mp4", 0, 9)));
    const ClipExportResult result = job.Run([&job](double) { job.Cancel(); });
    EXPECT_EQ(result.status, ClipExportStatus::kCancelled);
    EXPECT_TRUE(fs::is_empty(dir));

    // Cancelled from another thread while ffmpeg has written part of the file and runs on.
    ClipRequest slow = Prepared(Choice(dir / "slow.mp4", 0, 9));
    slow.ffmpegProgram = SlowFakeFfmpeg(fixtures::ScratchDir("clip_fake")).string();
    ClipExportJob slowJob(std::move(slow));
    std::thread canceller([&] {
        for (int i = 0; i < 100 && NamesIn(dir).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(NamesIn(dir).empty()) << "the partial file was written";
        slowJob.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    const ClipExportResult slowResult = slowJob.Run();
    canceller.join();
    EXPECT_EQ(slowResult.status, ClipExportStatus::kCancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << "the child was killed";
    EXPECT_TRUE(fs::is_empty(dir));

    // A cancel before the run starts nothing.
    ClipExportJob early(Prepared(Choice(dir / "early.mp4", 0, 2)));
    early.Cancel();
    EXPECT_EQ(early.Run().status, ClipExportStatus::kCancelled);
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(ClipExport, NeverOverwritesUnlessAsked) {
    const fs::path dir = fixtures::ScratchDir("clip_exists");
    const fs::path target = dir / "clip.mp4";
    std::ofstream(target) << "keep me";
    const ClipExportResult refused = ClipExportJob(Prepared(Choice(target, 0, 2))).Run();
    EXPECT_EQ(refused.status, ClipExportStatus::kFailed);
    EXPECT_NE(refused.message.find("exists: not overwritten"), std::string::npos) << refused.message;
    EXPECT_EQ(ReadAll(target), "keep me");

    // A file that appears under the name while ffmpeg runs is kept too, and nothing else is left.
    const fs::path late = dir / "late.mp4";
    ClipExportJob racing(Prepared(Choice(late, 0, 2)));
    const ClipExportResult raced = racing.Run([&](double) {
        if (!fs::exists(late)) std::ofstream(late) << "came first";
    });
    EXPECT_EQ(raced.status, ClipExportStatus::kFailed);
    EXPECT_EQ(ReadAll(late), "came first");
    EXPECT_EQ(NamesIn(dir), (std::vector<std::string>{"clip.mp4", "late.mp4"}));

    // The user agreed to replace it.
    ClipRequest replace = Prepared(Choice(target, 0, 2));
    replace.replaceExisting = true;
    ASSERT_EQ(ClipExportJob(std::move(replace)).Run().status, ClipExportStatus::kDone);
    EXPECT_NEAR(DurationOf(target), 2.0, 0.2);
}

TEST(ClipExport, RequestsThatCannotRun) {
    const fs::path dir = fixtures::ScratchDir("clip_problems");
    const auto problem = [&](ClipRequest r) { return ClipRequestProblem(r); };
    ClipRequest onRecording = Prepared(Choice(FixturePair().front, 0, 2));
    onRecording.replaceExisting = true;
    EXPECT_NE(problem(onRecording).find("is the front recording itself"), std::string::npos);
    ClipRequest onRear = Prepared(Choice(FixturePair().rear, 0, 2));
    onRear.replaceExisting = true;
    EXPECT_NE(problem(onRear).find("is the rear recording itself"), std::string::npos);
    EXPECT_NE(problem(Prepared(Choice(dir / "a.mp4", 8, 12))).find("ends after the front recording"), std::string::npos);
    // Less than a second past the end is the end.
    ClipChoice nearEnd = Choice(dir / "a.mp4", 8, 10);
    nearEnd.toMs = 10900;
    const ClipRequest toEnd = Prepared(nearEnd);
    EXPECT_EQ(toEnd.toMs, 10000);
    EXPECT_EQ(problem(toEnd), "");
    ASSERT_EQ(toEnd.cues.size(), 2u);
    EXPECT_EQ(toEnd.cues.back().endMs, 2000);
    ClipChoice rearOnly = Choice(dir / "a.mp4", 0, 2, false);
    rearOnly.layout = ClipLayout::kRearOnly;
    EXPECT_NE(problem(Prepared(rearOnly)).find("needs a rear recording"), std::string::npos);
    EXPECT_NE(problem(Prepared(Choice(dir / "no/such/a.mp4", 0, 2))).find("no such folder"), std::string::npos);
    EXPECT_EQ(problem(Prepared(Choice(dir / "a.mp4", 0, 2))), "");
    EXPECT_TRUE(fs::is_empty(dir));

    std::string error;
    ClipChoice missing = Choice(dir / "a.mp4", 0, 2);
    missing.front = dir / "gone.MP4";
    EXPECT_FALSE(PrepareClipRequest(missing, error));
    EXPECT_NE(error.find("gone.MP4: no such file"), std::string::npos) << error;
}

TEST(ClipExport, FfmpegThatFailsOrIsMissingIsSaidInWords) {
    const fs::path dir = fixtures::ScratchDir("clip_ffmpeg_fails");
    ClipRequest missing = Prepared(Choice(dir / "a.mp4", 0, 2));
    missing.ffmpegProgram = (dir / "no-ffmpeg-here").string();
    const ClipExportResult notStarted = ClipExportJob(std::move(missing)).Run();
    EXPECT_EQ(notStarted.status, ClipExportStatus::kFailed);
    EXPECT_NE(notStarted.message.find("cannot be started"), std::string::npos) << notStarted.message;
    ClipRequest failing = Prepared(Choice(dir / "a.mp4", 0, 2));
    failing.ffmpegProgram = "false";
    const ClipExportResult failed = ClipExportJob(std::move(failing)).Run();
    EXPECT_EQ(failed.status, ClipExportStatus::kFailed);
    EXPECT_NE(failed.message.find("ffmpeg failed (exit status 1)"), std::string::npos) << failed.message;
    EXPECT_TRUE(fs::is_empty(dir));
}

namespace {
// The grey values of the frame at `seconds` of a clip, width x height bytes.
std::string GreyFrame(const fs::path& clip, double seconds) {
    return RunCommand("ffmpeg -nostdin -v error -ss " + std::to_string(seconds) + " -i '" + clip.string() +
                      "' -frames:v 1 -f rawvideo -pix_fmt gray pipe:1")
        .out;
}

// Mean absolute difference of two frames inside rows [top, bottom) and columns [left, right).
double MeanDifference(const std::string& a, const std::string& b, int width, int left, int right, int top, int bottom) {
    double sum = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            sum += std::abs(int(uint8_t(a[size_t(y * width + x)])) - int(uint8_t(b[size_t(y * width + x)])));
    return sum / double((right - left) * (bottom - top));
}
} // namespace

TEST(ClipExport, OverlayIsBurnedIntoTheBottomLeftOnly) {
    const fs::path dir = fixtures::ScratchDir("clip_burned");
    ClipChoice burned = Choice(dir / "burned.mp4", 1, 3, false);
    ClipChoice plain = Choice(dir / "plain.mp4", 1, 3, false);
    plain.picture = ClipPicture::kPlain;
    ASSERT_EQ(ClipExportJob(Prepared(burned)).Run().status, ClipExportStatus::kDone);
    ASSERT_EQ(ClipExportJob(Prepared(plain)).Run().status, ClipExportStatus::kDone);
    const std::string a = GreyFrame(dir / "burned.mp4", 0.5), b = GreyFrame(dir / "plain.mp4", 0.5);
    ASSERT_EQ(a.size(), 320u * 240u);
    ASSERT_EQ(b.size(), a.size());
    // Two lines of 12-pixel text on their box in the bottom left; the top half untouched.
    EXPECT_GT(MeanDifference(a, b, 320, 0, 160, 200, 240), 20.0);
    EXPECT_LT(MeanDifference(a, b, 320, 0, 320, 0, 120), 3.0);
}
