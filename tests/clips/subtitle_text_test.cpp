#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fixture_writer.h"
#include "subtitle_file.h"
#include "subtitle_text.h"

namespace {
OverlayCue Cue(int64_t start, int64_t end, std::string dateTime, std::string speed = {}) {
    OverlayCue cue;
    cue.startMs = start;
    cue.endMs = end;
    cue.dateTime = std::move(dateTime);
    cue.speed = std::move(speed);
    return cue;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(SrtText, TimestampsAndNumberedBlocks) {
    EXPECT_EQ(SrtTimestamp(0), "00:00:00,000");
    EXPECT_EQ(SrtTimestamp(3723045), "01:02:03,045");
    EXPECT_EQ(SrtTimestamp(100LL * 3600000), "100:00:00,000");
    OverlayCue placed = Cue(1000, 2000, "2024/05/17 08:00:04");
    placed.position = "48.139304N, 11.579344E";
    placed.gforce = "G 0.42";
    // A cue with nothing to say is left out and does not take a number.
    const std::string srt =
        SrtText({Cue(0, 1000, "2024/05/17 08:00:03", "47 Km/h"), Cue(1000, 1000, "x"), OverlayCue{}, placed});
    EXPECT_EQ(srt, "1\n00:00:00,000 --> 00:00:01,000\n2024/05/17 08:00:03   47 Km/h\n\n"
                   "2\n00:00:01,000 --> 00:00:02,000\n2024/05/17 08:00:04\n48.139304N, 11.579344E   G 0.42\n\n");
    EXPECT_EQ(SrtText({}), "");
}

TEST(AssText, StyledForThePictureWithOneEventPerCue) {
    OverlayCue braces = Cue(61500, 62000, "{\\b1}");
    const std::string ass = AssText({Cue(0, 1000, "2024/05/17 08:00:03", "47 Km/h"), braces}, 1920, 540);
    EXPECT_NE(ass.find("PlayResX: 1920\nPlayResY: 540\n"), std::string::npos);
    // A 48th of the width: 40 pixels at 1920.
    EXPECT_NE(ass.find("Style: Overlay,DejaVu Sans,40,"), std::string::npos);
    EXPECT_NE(ass.find("Dialogue: 0,0:00:00.00,0:00:01.00,Overlay,,0,0,0,,2024/05/17 08:00:03   47 Km/h\n"),
              std::string::npos);
    // Text stays text: no override block, no escape.
    EXPECT_NE(ass.find("Dialogue: 0,0:01:01.50,0:01:02.00,Overlay,,0,0,0,,(/b1)\n"), std::string::npos);
    EXPECT_NE(AssText({}, 320, 120).find("Style: Overlay,DejaVu Sans,12,"), std::string::npos)
        << "never below 12 pixels";
}

TEST(SrtFile, WrittenWholeAndNeverOverAnotherFile) {
    const std::filesystem::path dir = fixtures::ScratchDir("srt_file");
    const std::filesystem::path path = dir / "drive.srt";
    const std::vector<OverlayCue> cues = {Cue(0, 1000, "2024/05/17 08:00:03", "47 Km/h")};
    std::string error;
    ASSERT_TRUE(WriteSrtFile(path, cues, false, error)) << error;
    EXPECT_EQ(ReadAll(path), SrtText(cues));
    EXPECT_FALSE(WriteSrtFile(path, {}, false, error));
    EXPECT_NE(error.find("exists: not overwritten"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), SrtText(cues));
    ASSERT_TRUE(WriteSrtFile(path, {Cue(0, 500, "x")}, true, error)) << error;
    EXPECT_EQ(ReadAll(path), "1\n00:00:00,000 --> 00:00:00,500\nx\n\n");
    EXPECT_FALSE(WriteSrtFile(dir / "no" / "such.srt", cues, false, error));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "no temporary file is left";
}
