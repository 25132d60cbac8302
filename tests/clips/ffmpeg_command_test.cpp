#include <gtest/gtest.h>

#include <algorithm>

#include "ffmpeg_command.h"

namespace {
ClipRequest Request(ClipLayout layout, ClipPicture picture) {
    ClipRequest r;
    r.front = {"/card/front.MP4", 1920, 1080, 60000, 0};
    r.rear = ClipCamera{"/card/rear_b.MP4", 1280, 720, 60000, 2000};
    r.fromMs = 10000;
    r.toMs = 25500;
    r.layout = layout;
    r.picture = picture;
    r.output = "/out/clip.mp4";
    return r;
}

bool Has(const std::vector<std::string>& args, const std::vector<std::string>& run) {
    return std::search(args.begin(), args.end(), run.begin(), run.end()) != args.end();
}

std::string GraphOf(const std::vector<std::string>& args) {
    const auto at = std::find(args.begin(), args.end(), "-filter_complex");
    return at == args.end() || at + 1 == args.end() ? std::string() : *(at + 1);
}
} // namespace

TEST(ClipCommand, CutsPlaceTheRearByItsDelay) {
    const ClipCamera rear{"r", 0, 0, 30000, 2000};
    const CameraCut late = CutOf(rear, 1000, 5000); // the rear starts 1 s into the clip
    EXPECT_EQ(late.seekMs, 0);
    EXPECT_EQ(late.leadMs, 1000);
    EXPECT_EQ(late.durationMs, 3000);
    const CameraCut inside = CutOf(rear, 10000, 15000);
    EXPECT_EQ(inside.seekMs, 8000);
    EXPECT_EQ(inside.leadMs, 0);
    EXPECT_EQ(inside.durationMs, 5000);
    EXPECT_EQ(CutOf(rear, 30000, 35000).durationMs, 2000) << "the rear ends at 32 s of the front";
    EXPECT_LE(CutOf(rear, 33000, 35000).durationMs, 0);
}

TEST(ClipCommand, PictureSizeOfEachLayout) {
    const auto size = [](ClipLayout layout) {
        const ClipSize s = ClipPictureSize(Request(layout, ClipPicture::kOverlay));
        return std::to_string(s.width) + "x" + std::to_string(s.height);
    };
    EXPECT_EQ(size(ClipLayout::kSideBySide), "1920x540");
    EXPECT_EQ(size(ClipLayout::kFrontOnly), "1920x1080");
    EXPECT_EQ(size(ClipLayout::kRearOnly), "1280x720");
    EXPECT_EQ(size(ClipLayout::kPictureInPicture), "1920x1080");
    ClipRequest odd = Request(ClipLayout::kFrontOnly, ClipPicture::kOverlay);
    odd.front.width = 721;
    odd.front.height = 0;
    EXPECT_EQ(ClipPictureSize(odd).width, 1920) << "an unknown size is taken as 1080p as a whole";
    odd.front.height = 481;
    EXPECT_EQ(ClipPictureSize(odd).width, 720);
    EXPECT_EQ(ClipPictureSize(odd).height, 480);
}

TEST(ClipCommand, ReEncodedWithTheOverlayAndTheSubtitleTrack) {
    const ClipWorkFiles files{"/tmp/w/cues.srt", "/tmp/w/overlay.ass", "/out/.clip.mp4.part"};
    const std::vector<std::string> args = FfmpegClipArguments(Request(ClipLayout::kSideBySide, ClipPicture::kOverlay), files);
    EXPECT_TRUE(Has(args, {"-ss", "10.000", "-t", "15.500", "-i", "/card/front.MP4"}));
    EXPECT_TRUE(Has(args, {"-ss", "8.000", "-t", "15.500", "-i", "/card/rear_b.MP4"}));
    EXPECT_TRUE(Has(args, {"-i", "/tmp/w/cues.srt"}));
    EXPECT_TRUE(Has(args, {"-map", "2:s:0", "-c:s", "mov_text"}));
    EXPECT_TRUE(Has(args, {"-progress", "pipe:1"}));
    EXPECT_TRUE(Has(args, {"-f", "mp4", "/out/.clip.mp4.part"}));
    const std::string graph = GraphOf(args);
    EXPECT_NE(graph.find("[0:v]scale=960:540"), std::string::npos) << graph;
    EXPECT_NE(graph.find("pad=1920:540:0:0[left]"), std::string::npos) << graph;
    EXPECT_NE(graph.find("overlay=960:0:eof_action=pass"), std::string::npos) << graph;
    EXPECT_NE(graph.find("subtitles=filename=/tmp/w/overlay.ass:"), std::string::npos) << graph;
    EXPECT_EQ(args.back(), "/out/.clip.mp4.part");

    // Without the overlay nothing is burned in; the track stays.
    const ClipWorkFiles plainFiles{"/tmp/w/cues.srt", "", "/out/.clip.mp4.part"};
    const auto plain = FfmpegClipArguments(Request(ClipLayout::kFrontOnly, ClipPicture::kPlain), plainFiles);
    EXPECT_EQ(GraphOf(plain).find("subtitles"), std::string::npos);
    EXPECT_FALSE(Has(plain, {"-i", "/card/rear_b.MP4"})) << "the front layout reads no rear";
    EXPECT_TRUE(Has(plain, {"-map", "1:s:0"}));
}

TEST(ClipCommand, RearLayoutsAndTheBlackLeadIn) {
    ClipRequest r = Request(ClipLayout::kRearOnly, ClipPicture::kOverlay);
    r.fromMs = 500;
    const auto args = FfmpegClipArguments(r, {"", "", "/out/x"});
    EXPECT_FALSE(Has(args, {"-i", "/card/front.MP4"}));
    EXPECT_NE(GraphOf(args).find("[0:v]tpad=start_duration=1.500:color=black,scale=1280:720"), std::string::npos)
        << GraphOf(args);
    const auto pip = FfmpegClipArguments(Request(ClipLayout::kPictureInPicture, ClipPicture::kOverlay), {"", "", "/out/x"});
    EXPECT_NE(GraphOf(pip).find("[1:v]scale=640:360"), std::string::npos) << GraphOf(pip);
    EXPECT_NE(GraphOf(pip).find("overlay=1250:30:eof_action=pass"), std::string::npos) << GraphOf(pip);
}

TEST(ClipCommand, QuickCutCopiesEveryCameraShown) {
    ClipRequest r = Request(ClipLayout::kSideBySide, ClipPicture::kCopy);
    r.fromMs = 1000;
    const auto args = FfmpegClipArguments(r, {"/tmp/w/cues.srt", "", "/out/x"});
    EXPECT_TRUE(GraphOf(args).empty());
    EXPECT_TRUE(Has(args, {"-map", "0:v:0", "-map", "1:v:0", "-c:v", "copy"}));
    EXPECT_TRUE(Has(args, {"-itsoffset", "1.000", "-ss", "0.000"})) << "the rear's track starts later";
    EXPECT_TRUE(Has(args, {"-map", "2:s:0", "-c:s", "mov_text"}));
}

TEST(ClipCommand, TextsForFfmpeg) {
    EXPECT_EQ(SecondsText(0), "0.000");
    EXPECT_EQ(SecondsText(61005), "61.005");
    EXPECT_EQ(SecondsText(-1500), "-1.500");
    EXPECT_EQ(FilterOptionEscaped("/a b/c.ass"), "/a b/c.ass");
    EXPECT_EQ(FilterOptionEscaped("/x:y/it's,[1];"), "/x\\\\:y/it\\\\\\'s\\,\\[1\\]\\;");
}
