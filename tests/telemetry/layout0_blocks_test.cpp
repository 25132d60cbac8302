// The layout-0 block rules shared by the MP4 and AVI readers, and readers reused across files.
#include <gtest/gtest.h>

#include "bounded_file.h"
#include "layout0_blocks.h"
#include "local_time.h"
#include "reader_test_support.h"

using namespace boxes;

namespace {

constexpr int64_t kStart = 1717243200; // 2024-06-01 14:00:00 in Berlin

Bytes Layout0File(const Bytes& beforeMovie, const Bytes& afterMovie) {
    const Bytes mdhd = Mvhd(0, 90000, 450000, 0, "mdhd");
    return Ftyp() + beforeMovie + Box("moov", VideoTrack("VideoHandler", 1920, 1080, mdhd)) + afterMovie;
}
Bytes Skip(char marker) {
    return Box("skip", std::string("camera") + marker);
}
// A box header announcing `announced` payload bytes, followed by only `payload`.
Bytes CutBox(const char* type, uint32_t announced, const Bytes& payload) {
    return BE32(announced + 8) + type + payload;
}

class Layout0Blocks : public ScratchFolder {
  protected:
    BoundedFile& Open(const Bytes& bytes) {
        EXPECT_TRUE(m_file.Open(Write("block", bytes)));
        return m_file;
    }
    BoundedFile m_file;
};

TEST_F(Layout0Blocks, GpsScanTakesTheFirstDatedPlausibleFixAndCountsBackByTheRate) {
    const Bytes undated = RawFix(0, 0, 0, 6, 1, 14, 0, 0);
    const Bytes month13 = RawFix(0, 0, 24, 13, 1, 14, 0, 0);
    const Bytes minute60 = RawFix(0, 0, 24, 6, 1, 14, 60, 0);
    const Bytes dated = RawFix(5230.0, 1324.0, 24, 6, 1, 14, 0, 4);
    BoundedFile& file = Open(Bytes("head") + undated + month13 + minute60 + dated + dated);
    // Record 3 is the first usable one: 3 / 2 = 1 second back at two fixes per second.
    EXPECT_EQ(GpsBlockStartTime(file, 4, 5 * 32, 2), kStart + 4 - 1);
    EXPECT_EQ(GpsBlockStartTime(file, 4, 5 * 32, 0), kStart + 4 - 3) << "rate byte 0 counts as 1";
    EXPECT_EQ(GpsBlockStartTime(file, 4, 3 * 32, 1), std::nullopt) << "only inside the block";
    EXPECT_EQ(GpsBlockStartTime(file, 4, 31, 1), std::nullopt) << "no whole record";
}

TEST_F(Layout0Blocks, BlockSizesAreClippedToTheFile) {
    BoundedFile& file = Open(Zeros(100));
    EXPECT_EQ(ClipBlockSize(file, 40, 60), 60u);
    EXPECT_EQ(ClipBlockSize(file, 40, 0xFFFFFFF0u), 60u);
    EXPECT_EQ(ClipBlockSize(file, 100, 8), 0u);
    EXPECT_EQ(ClipBlockSize(file, 500, 8), 0u);
}

TEST_F(Layout0Blocks, IditTextParsesWithinItsSixtyFourBytes) {
    const std::string valid = "2024-06-01 14:00:00";
    EXPECT_EQ(IditStartTime(valid.data(), valid.size()), kStart);
    // Not terminated and longer than the field: only the first 64 bytes are looked at.
    const std::string padded = valid + std::string(200, '7');
    EXPECT_EQ(IditStartTime(padded.data(), padded.size()), kStart);
    EXPECT_EQ(IditStartTime(valid.data(), 10), std::nullopt) << "the time part is cut off";
    for (const std::string bad :
         {"1899-12-31 23:59:59", "2024-00-01 14:00:00", "2024-06-32 14:00:00", "2024-06-01 24:00:00",
          "2024-06-01 14:60:00", "2024-06-01 14:00:60", "2024/06/01 14:00:00", ""})
        EXPECT_EQ(IditStartTime(bad.data(), bad.size()), std::nullopt) << bad;
    // One second before 1970 UTC is a real time whose value happens to be -1.
    const std::string lastBefore1970 = "1970-01-01 00:59:59"; // Berlin: UTC+1
    EXPECT_EQ(IditStartTime(lastBefore1970.data(), lastBefore1970.size()), -1);
}

TEST_F(Layout0Blocks, Mp4BlocksCutByTheEndOfTheFileAreKeptAsFarAsTheFileGoes) {
    const Bytes fix = RawFix(5230.0, 1324.0, 24, 6, 1, 14, 0, 0);
    MediaInfo info;
    ASSERT_EQ(
        ParseBytes(Layout0File(Skip('\0'), Box("gsen", Zeros(12)) + CutBox("gps0", 4096, fix + fix)), info),
        0);
    EXPECT_EQ(info.m_uGpsSize, 64u);
    EXPECT_EQ(info.m_llStartTime, kStart);
    ASSERT_EQ(
        ParseBytes(Layout0File(Skip('\0'), Box("gps0", fix) + CutBox("gsen", 0xFFFFFFF0u, Zeros(18))), info),
        0);
    EXPECT_EQ(info.m_uGsensorSize, 18u);
}

// One reader object over several files, as a caller that keeps its reader may do: nothing learned
// from one file decides about the next.
TEST_F(Layout0Blocks, ReusedMp4ReaderForgetsTheSkipMarkerOfTheFileBefore) {
    const Bytes gps = Box("gps0", RawFix(5230.0, 1324.0, 24, 6, 1, 14, 0, 0));
    const auto marked = Write("marked.MP4", Layout0File(Skip('\0'), gps));
    const auto unmarked = Write("unmarked.MP4", Layout0File(Box("IDIT", "2024-06-01 15:00:00"), gps));
    COrvex3gpParser parser;
    MediaInfo info;
    parser.SetMediaInfo(&info);
    ASSERT_EQ(parser.Parse(marked), 0);
    EXPECT_EQ(parser.Parse(unmarked), -1) << "no skip box in this file";
    EXPECT_EQ(parser.Layout(), kLayoutBlocks);
    ASSERT_EQ(parser.Parse(marked), 0) << "and the first file is accepted again";
    EXPECT_EQ(info.m_llStartTime, kStart);
}

} // namespace
