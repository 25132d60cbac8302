#include <gtest/gtest.h>
#include <sys/stat.h>

#include "box_bytes.h"
#include "local_time.h"
#include "mp4_boxes.h"
#include "reader_test_support.h"

using namespace boxes;

namespace {
constexpr int64_t kStart = 1717243200; // 2024-06-01 14:00:00 in Berlin

Bytes Movie(const Bytes& children, uint64_t creation = MacTime(kStart), int version = 0) {
    return Box("moov", Mvhd(creation, 1000, 3500, version) + children);
}

Bytes Layout1(const std::vector<uint32_t>& chunks = {4000, 4088}) {
    return Ftyp() + Box("free", Zeros(4)) + Movie(VideoTrack("JTD_VideoHandler") + MetaTrack(chunks)) +
           Box("mdat", Zeros(256));
}
Bytes Layout2(const Bytes& extraTracks = MetaTrack({100, 300})) {
    const Bytes udta = Box("udta", Box("\xA9nam", Zeros(40)));
    return Ftyp() + Box("wide", "") + Movie(udta + VideoTrack("VideoHandler") + extraTracks) +
           Box("mdat", Zeros(64));
}
Bytes Layout4(const std::vector<uint32_t>& chunks, int64_t announced = -1) {
    return Ftyp() + Movie(GpsBox(chunks, announced) + VideoTrack("VideoHandler")) + Box("mdat", Zeros(64));
}
Bytes Layout0Movie(int version = 0) {
    const Bytes mdhd = Mvhd(0, 90000, 450000, version, "mdhd");
    return Box("moov", VideoTrack("VideoHandler", 1920, 1080, mdhd));
}
Bytes Layout0(const Bytes& beforeMovie, const Bytes& afterMovie) {
    return Ftyp() + beforeMovie + Layout0Movie() + afterMovie;
}
Bytes Idit(const std::string& text) {
    return Box("IDIT", text);
}
Bytes Skip(char marker) {
    return Box("skip", std::string("camera") + marker);
}
} // namespace

class Mp4ReaderTest : public ScratchFolder {};

TEST_F(Mp4ReaderTest, BoxHeadersOfBothSizesAndZeroSizeWrapAround) {
    const auto path = Write("boxes", Box("abcd", Zeros(4)) + LargeBox("efgh", Zeros(3)) + BE32(0) + "zero");
    BoundedFile file;
    ASSERT_TRUE(file.Open(path));
    uint64_t pos = 0;
    uint32_t payload = 0;
    EXPECT_EQ(ReadBoxHeader(file, pos, payload), FourCC("abcd"));
    EXPECT_EQ(pos, 8u);
    EXPECT_EQ(payload, 4u);
    pos += payload;
    EXPECT_EQ(ReadBoxHeader(file, pos, payload), FourCC("efgh"));
    EXPECT_EQ(pos, 28u);
    EXPECT_EQ(payload, 3u);
    pos += payload;
    EXPECT_EQ(ReadBoxHeader(file, pos, payload), FourCC("zero"));
    EXPECT_EQ(payload, 0xFFFFFFF8u);
}

TEST_F(Mp4ReaderTest, FindBoxSearchesSiblingsWithinRange) {
    const Bytes bytes = Box("aaaa", Zeros(8)) + Box("bbbb", Box("cccc", Zeros(2))) + Box("dddd", Zeros(100));
    const auto path = Write("boxes", bytes);
    BoundedFile file;
    ASSERT_TRUE(file.Open(path));
    uint64_t pos = 0;
    EXPECT_EQ(FindBoxPath(file, "bbbbcccc", pos, bytes.size()), 2u);
    EXPECT_EQ(pos, 16u + 8 + 8);
    pos = 0;
    EXPECT_EQ(FindBox(file, FourCC("dddd"), pos, 30), 0u) << "consumed reaches the range first";
    EXPECT_EQ(pos, 0u) << "a failed search leaves the position";
    pos = 0;
    EXPECT_EQ(FindBox(file, FourCC("zzzz"), pos, 50), 0u) << "payload 100 exceeds the range";
    pos = 0;
    EXPECT_EQ(FindBox(file, FourCC("dddd"), pos, bytes.size()), 100u);
}

TEST_F(Mp4ReaderTest, Layout1FreeBoxMetaTrackAndResults) {
    MediaInfo info;
    ASSERT_EQ(ParseBytes(Layout1(), info), 0);
    EXPECT_EQ(info.m_uLayout, kLayoutJtdMeta);
    EXPECT_EQ(info.m_wWidth, 320);
    EXPECT_EQ(info.m_wHeight, 240);
    EXPECT_EQ(info.m_uDurationMs, 3000u);
    EXPECT_EQ(info.m_llStartTime, kStart);
    EXPECT_EQ(info.m_GpsAttr[0], 5);
    EXPECT_EQ(info.m_GsensorAttr[0], 5);
    EXPECT_EQ(info.m_GsensorAttr[1], 8);
    EXPECT_EQ(info.m_uVehicleRate, 5u);
    ASSERT_EQ(info.m_Chunks1.size(), 2u);
    EXPECT_EQ(info.m_Chunks1[1].index, 1);
    EXPECT_EQ(info.m_Chunks1[1].offset, 4088u);
}

TEST_F(Mp4ReaderTest, FreeBoxWinsOverWideBox) {
    MediaInfo info;
    TelemetryLayout layout = 0;
    ParseBytes(Ftyp() + Box("wide", "") + Box("free", "") + Movie(VideoTrack("VideoHandler")), info, &layout);
    EXPECT_EQ(layout, kLayoutJtdMeta);
}

TEST_F(Mp4ReaderTest, Layout2NamedUserDataAndOffsetsPlusTwo) {
    MediaInfo info;
    ASSERT_EQ(ParseBytes(Layout2(), info), 0);
    EXPECT_EQ(info.m_uLayout, kLayoutVideMeta);
    ASSERT_EQ(info.m_Chunks2.size(), 2u);
    EXPECT_EQ(info.m_Chunks2[0].offset, 102u);
    EXPECT_EQ(info.m_Chunks2[1].offset, 302u);
}

TEST_F(Mp4ReaderTest, UserDataSizeDecidesBetweenLayouts2And3) {
    TelemetryLayout layout = 0;
    MediaInfo info;
    const Bytes track = VideoTrack("VideoHandler");
    // 34 bytes, even with a name child: not a named recording.
    ParseBytes(Ftyp() + Box("wide", "") + Movie(Box("udta", Box("\xA9nam", Zeros(26))) + track), info,
               &layout);
    EXPECT_EQ(layout, kLayoutTailBoxes);
    ParseBytes(Ftyp() + Box("wide", "") + Movie(Box("udta", Box("\xA9nam", Zeros(27))) + track), info,
               &layout);
    EXPECT_EQ(layout, kLayoutVideMeta);
    ParseBytes(Ftyp() + Box("wide", "") + Movie(Box("udta", Box("xnam", Zeros(27))) + track), info, &layout);
    EXPECT_EQ(layout, kLayoutTailBoxes);
}

TEST_F(Mp4ReaderTest, WideBoxWithoutUserDataDecidesNothing) {
    MediaInfo info;
    TelemetryLayout layout = 0;
    EXPECT_EQ(
        ParseBytes(Ftyp() + Box("wide", "") + Movie(VideoTrack("JTD_x")) + Box("free", ""), info, &layout), 0)
        << "the walk goes on and meets the free box";
    EXPECT_EQ(layout, kLayoutJtdMeta);
    EXPECT_EQ(ParseBytes(Ftyp() + Box("wide", "") + Movie(VideoTrack("VideoHandler")), info, &layout), -1);
    EXPECT_EQ(layout, kLayoutNone);
}

TEST_F(Mp4ReaderTest, MetaTrackBeforeVideoTrackGivesNoChunks) {
    MediaInfo info;
    const Bytes udta = Box("udta", Box("\xA9nam", Zeros(40)));
    const Bytes bytes = Ftyp() + Box("wide", "") +
                        Movie(udta + MetaTrack({100}) + VideoTrack("VideoHandler") + MetaTrack({200}));
    // The picture size comes from the first track, here the meta track: the file is rejected too.
    EXPECT_EQ(ParseBytes(bytes, info), -1);
    EXPECT_TRUE(info.m_Chunks2.empty()) << "only the first meta track counts";
}

TEST_F(Mp4ReaderTest, OversizedChunkTablesAreIgnoredBeforeAllocation) {
    MediaInfo info;
    ASSERT_EQ(ParseBytes(Layout2(MetaTrack({100, 200}, 3)), info), 0);
    EXPECT_TRUE(info.m_Chunks2.empty());
    ASSERT_EQ(ParseBytes(Layout2(MetaTrack({100}, 0xFFFFFFFFu)), info), 0);
    EXPECT_TRUE(info.m_Chunks2.empty());
    ASSERT_EQ(ParseBytes(Layout4({500}, 0x40000000), info), 0) << "8 + 8 * 2^30 overflows 32 bits";
    EXPECT_TRUE(info.m_Chunks4.empty());
}

TEST_F(Mp4ReaderTest, VideoHandlerNameMustMatchTheLayout) {
    MediaInfo info;
    EXPECT_EQ(ParseBytes(Ftyp() + Box("free", "") + Movie(VideoTrack("VideoHandler")), info), -1);
    EXPECT_EQ(info.m_uLayout, 0u) << "nothing written on failure";
    // The last video track decides.
    const Bytes two = VideoTrack("JTD_A") + VideoTrack("Other");
    EXPECT_EQ(ParseBytes(Ftyp() + Box("free", "") + Movie(two), info), -1);
}

TEST_F(Mp4ReaderTest, FirstBoxMustBeFtyp) {
    MediaInfo info;
    TelemetryLayout layout = 0;
    const Bytes bytes = Layout1();
    EXPECT_EQ(ParseBytes(bytes.substr(Ftyp().size()), info, &layout), -1);
    EXPECT_EQ(layout, kLayoutJtdMeta) << "classified, but the procedure needs ftyp first";
}

TEST_F(Mp4ReaderTest, Layout4ChunksAndMediaDataBeforeMovie) {
    MediaInfo info;
    ASSERT_EQ(ParseBytes(Layout4({1000, 1156}), info), 0);
    EXPECT_EQ(info.m_uLayout, kLayoutGpsBox);
    EXPECT_EQ(info.m_GpsAttr[0], 1);
    ASSERT_EQ(info.m_Chunks4.size(), 2u);
    EXPECT_EQ(info.m_Chunks4[1].offset, 1156u);

    MediaInfo late;
    const Bytes mdatFirst =
        Ftyp() + Box("mdat", Zeros(64)) + Movie(GpsBox({90}) + VideoTrack("VideoHandler"));
    ASSERT_EQ(ParseBytes(mdatFirst, late), 0) << "the movie box after the media data is still analysed";
    EXPECT_EQ(late.m_wWidth, 320);
    EXPECT_EQ(late.m_Chunks4.size(), 1u);
}

TEST_F(Mp4ReaderTest, StartTimeBefore1970FallsBackToFileTime) {
    MediaInfo info;
    const Bytes bytes = Ftyp() + Box("free", "") + Movie(VideoTrack("JTD_x"), 2082844799);
    ASSERT_EQ(ParseBytes(bytes, info), 0);
    FileStatus status;
    ASSERT_TRUE(ReadFileStatus(m_dir / "rec.MP4", status));
    EXPECT_EQ(info.m_llStartTime, status.m_ctime);
}

TEST_F(Mp4ReaderTest, Version1MovieHeaderHas64BitTimes) {
    MediaInfo info;
    const Bytes bytes = Ftyp() + Box("free", "") + Movie(VideoTrack("JTD_x"), MacTime(kStart), 1);
    ASSERT_EQ(ParseBytes(bytes, info), 0);
    EXPECT_EQ(info.m_uDurationMs, 3000u);
    EXPECT_EQ(info.m_llStartTime, kStart);
}

TEST_F(Mp4ReaderTest, ZeroTimeScaleRejectsInsteadOfDividing) {
    MediaInfo info;
    const Bytes movie = Box("moov", Mvhd(MacTime(kStart), 0, 3500) + VideoTrack("JTD_x"));
    EXPECT_EQ(ParseBytes(Ftyp() + Box("free", "") + movie, info), -1);
}

TEST_F(Mp4ReaderTest, ReadMovieTimeRoundTripsLocalTime) {
    COrvex3gpParser parser;
    EXPECT_EQ(parser.ReadMovieTime(MacTime(kStart)), kStart);
    EXPECT_EQ(parser.ReadMovieTime(MacTime(1700000000)), 1700000000); // winter time
}

TEST_F(Mp4ReaderTest, Layout0BlocksAttributesAndIditStart) {
    MediaInfo info;
    const Bytes gps = RawFix(5230.0, 1324.0, 24, 6, 1, 14, 0, 5);
    const Bytes bytes = Layout0(Box("gpsa", "\x01\0\0\0") + Box("gsea", "\x0A\x04\0\0") +
                                    Idit("2024-06-01 14:00:00") + Skip('\0'),
                                Box("gps0", gps + gps) + Box("gsen", Zeros(12)));
    ASSERT_EQ(ParseBytes(bytes, info), 0);
    EXPECT_EQ(info.m_uLayout, kLayoutBlocks);
    EXPECT_EQ(info.m_wWidth, 1920);
    EXPECT_EQ(info.m_wHeight, 1080);
    EXPECT_EQ(info.m_uDurationMs, 5000u);
    EXPECT_EQ(info.m_llStartTime, kStart);
    EXPECT_EQ(info.m_uGpsSize, 64u);
    EXPECT_EQ(info.m_uGsensorSize, 12u);
    EXPECT_EQ(bytes.substr(info.m_ullGpsOffset, 32), gps);
    EXPECT_EQ(info.m_GsensorAttr[1], 4);
    EXPECT_EQ(info.m_uVehicleRate, 5u);
}

TEST_F(Mp4ReaderTest, Layout0StartFromFirstDatedFixMinusItsIndex) {
    MediaInfo info;
    const Bytes undated = RawFix(0, 0, 0, 0, 0, 0, 0, 0, 0);
    const Bytes gps = undated + undated + RawFix(5230.0, 1324.0, 24, 6, 1, 14, 0, 10);
    const Bytes bytes = Layout0(Box("gpsa", "\x02\0\0\0") + Skip('\0'), Box("gps0", gps));
    ASSERT_EQ(ParseBytes(bytes, info), 0);
    EXPECT_EQ(info.m_llStartTime, kStart + 10 - 2 / 2);
}

TEST_F(Mp4ReaderTest, Layout0SkipMarkerAndIditWithdrawal) {
    MediaInfo info;
    const Bytes gps = Box("gps0", RawFix(5230.0, 1324.0, 24, 6, 1, 14, 0, 0));
    EXPECT_EQ(ParseBytes(Layout0(Skip('\x01'), gps), info), -1) << "skip marker 1";
    ASSERT_EQ(ParseBytes(Layout0(Skip('\0'), gps + Idit("2024-13-01 00:00:00")), info), 0);
    EXPECT_EQ(info.m_llStartTime, 0) << "an invalid IDIT after a valid gps0 withdraws the start";
    ASSERT_EQ(ParseBytes(Layout0(Idit("2024-06-01 15:00:00") + Skip('\0'), gps), info), 0);
    EXPECT_EQ(info.m_llStartTime, kStart + 3600) << "the first valid source sets it";
}

TEST_F(Mp4ReaderTest, Layout0LongIditIsCutAt64Bytes) {
    MediaInfo info;
    const Bytes idit = Idit("2024-06-01 14:00:00" + std::string(200, 'x'));
    ASSERT_EQ(ParseBytes(Layout0(idit + Skip('\0'), ""), info), 0);
    EXPECT_EQ(info.m_llStartTime, kStart);
}

TEST_F(Mp4ReaderTest, Layout0Version1MediaHeader) {
    MediaInfo info;
    ASSERT_EQ(ParseBytes(Ftyp() + Skip('\0') + Layout0Movie(1), info), 0);
    EXPECT_EQ(info.m_uDurationMs, 5000u);
}

TEST_F(Mp4ReaderTest, BrokenFilesFailWithoutHanging) {
    MediaInfo info;
    const Bytes good = Layout1();
    for (size_t cut : {size_t{3}, size_t{20}, size_t{40}})
        EXPECT_EQ(ParseBytes(good.substr(0, cut), info), -1) << "cut at " << cut;
    EXPECT_EQ(ParseBytes(Ftyp() + BE32(0) + "moov" + Zeros(32), info), -1) << "zero size box";
    EXPECT_EQ(ParseBytes(Ftyp() + Box("free", "") + BE32(8) + "junk" + BE32(8) + "junk", info), -1);
    EXPECT_EQ(ParseBytes("", info), -1);
    COrvex3gpParser parser;
    MediaInfo untouched;
    parser.SetMediaInfo(&untouched);
    EXPECT_EQ(parser.Parse(m_dir / "missing.MP4"), -1);
    EXPECT_EQ(untouched.m_uLayout, 0u);
}

TEST_F(Mp4ReaderTest, SiblingLargerThanItsParentEndsTheSearch) {
    MediaInfo info;
    Bytes oversized = Box("junk", Zeros(8));
    oversized.replace(0, 4, BE32(100000)); // claims more than the movie box holds
    const Bytes track = VideoTrack("JTD_x");
    EXPECT_EQ(ParseBytes(Ftyp() + Box("free", "") + Movie(oversized + track) + Zeros(100000), info), -1)
        << "the track behind it is never reached";
    EXPECT_EQ(
        ParseBytes(Ftyp() + Box("free", "") + Movie(Box("junk", Zeros(8)) + track) + Zeros(100000), info), 0);
}

TEST_F(Mp4ReaderTest, ClassificationLooksAtMost101Boxes) {
    MediaInfo info;
    TelemetryLayout layout = 0;
    Bytes filler;
    for (int i = 0; i < 99; ++i)
        filler += Box("junk", "");
    ParseBytes(Ftyp() + filler + Box("free", "") + Movie(VideoTrack("JTD_x")), info, &layout);
    EXPECT_EQ(layout, kLayoutJtdMeta) << "the free box is box 101";
    ParseBytes(Ftyp() + filler + Box("junk", "") + Box("free", "") + Movie(VideoTrack("JTD_x")), info,
               &layout);
    EXPECT_EQ(layout, kLayoutNone);
}

TEST_F(Mp4ReaderTest, OnlyRegularFilesAreRead) {
    const auto fifo = m_dir / "fifo.MP4";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    COrvex3gpParser parser;
    EXPECT_EQ(parser.Parse(fifo), -1) << "returns at once instead of waiting for a writer";
    EXPECT_EQ(parser.Parse(m_dir), -1);
}

TEST_F(Mp4ReaderTest, FileStatusIsFilledOnOpen) {
    COrvex3gpParser parser;
    FileStatus status;
    parser.SetFileStatus(&status);
    const auto path = Write("rec.MP4", Layout1());
    ASSERT_EQ(parser.Parse(path), 0);
    EXPECT_EQ(status.m_size, Layout1().size());
    EXPECT_EQ(status.m_szFullName.filename(), "rec.MP4");
}
