#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "avi_reader.h"
#include "avi_writer.h"
#include "avits_test_support.h"
#include "container_remux.h"
#include "local_time.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Cat(Bytes& a, const Bytes& b) {
    const size_t n = a.size();
    a.resize(n + b.size());
    if (!b.empty()) std::memcpy(&a[n], b.data(), b.size());
}
void Append32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void AppendId(Bytes& b, const char* id) {
    Cat(b, Bytes(id, id + 4));
}

Bytes Chunk(const char* id, const Bytes& data) {
    Bytes b;
    AppendId(b, id);
    Append32(b, static_cast<uint32_t>(data.size()));
    Cat(b, data);
    return b;
}
Bytes List(const char* type, const Bytes& children) {
    Bytes data;
    AppendId(data, type);
    Cat(data, children);
    return Chunk("LIST", data);
}
Bytes MainHeader(uint32_t microsPerFrame, uint32_t frames, const char* marker = "JTDD") {
    Bytes d(56, 0);
    std::memcpy(&d[0], &microsPerFrame, 4);
    std::memcpy(&d[16], &frames, 4);
    std::memcpy(&d[40], marker, 4);
    return Chunk("avih", d);
}
Bytes VideoStream(uint32_t width, uint32_t height) {
    Bytes strh(56, 0);
    std::memcpy(&strh[0], "vids", 4);
    Bytes strf(40, 0);
    strf[0] = 40;
    std::memcpy(&strf[4], &width, 4);
    std::memcpy(&strf[8], &height, 4);
    Bytes children = Chunk("strh", strh);
    const Bytes f = Chunk("strf", strf);
    Cat(children, f);
    return List("strl", children);
}
Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes b;
    AppendId(b, "RIFF");
    Append32(b, 0);
    AppendId(b, "AVI ");
    for (const Bytes& c : chunks)
        Cat(b, c);
    const uint32_t size = static_cast<uint32_t>(b.size() - 8);
    std::memcpy(&b[4], &size, 4);
    return b;
}
Bytes Header(uint32_t microsPerFrame = 33333, uint32_t frames = 1800, const char* marker = "JTDD") {
    Bytes children = MainHeader(microsPerFrame, frames, marker);
    const Bytes stream = VideoStream(1920, 1080);
    Cat(children, stream);
    return List("hdrl", children);
}
Bytes Movi() {
    return List("movi", Bytes(64, 0));
}

// `count` raw fixes; fix `firstValid` and later carry the date of `when` + their index - firstValid.
Bytes GpsBlock(int count, int firstValid, int64_t when) {
    Bytes b(size_t(count) * 32, 0);
    for (int i = firstValid; i < count; ++i) {
        const LocalDateTime t = TimeToLocalWallClock(when + (i - firstValid));
        uint8_t* r = &b[size_t(i) * 32];
        r[22] = uint8_t(t.year - 2000), r[23] = uint8_t(t.month), r[24] = uint8_t(t.day);
        r[25] = uint8_t(t.hour), r[26] = uint8_t(t.minute), r[27] = uint8_t(t.second), r[29] = 1;
    }
    return b;
}
Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

class AviReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fixtures::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    int Parse(const Bytes& bytes, MediaInfo& info) {
        COrvexAviParser parser;
        parser.SetMediaInfo(&info);
        return parser.Parse(avits::WriteBytes(m_dir / "REC.AVI", bytes));
    }
    std::filesystem::path m_dir;
};

const int64_t kNoon = LocalWallClockToTime(2024, 6, 1, 12, 0, 0);

TEST_F(AviReaderTest, FixtureRecordingIsReadAsLayoutZeroAndMatchesFfprobe) {
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    const auto written = fixtures::WriteAviRecording(m_dir / "FILE0001.AVI", telemetry);
    ASSERT_TRUE(avits::FfmpegDecodesCleanly(written.path));

    MediaInfo info;
    info.m_uLayout = 7; // left alone by the AVI reader
    FileStatus status;
    COrvexAviParser parser;
    parser.SetMediaInfo(&info);
    parser.SetFileStatus(&status);
    ASSERT_EQ(parser.Parse(written.path), 0);

    const avits::ProbeView probe = avits::FfprobeView(written.path);
    EXPECT_EQ(info.m_wWidth, probe.width);
    EXPECT_EQ(info.m_wHeight, probe.height);
    EXPECT_NEAR(info.m_uDurationMs / 1000.0, probe.duration, 0.11);
    EXPECT_EQ(info.m_uDurationMs, written.durationMs);
    EXPECT_EQ(info.m_llDurationSec, written.durationSec);
    EXPECT_EQ(info.m_llStartTime, telemetry.startTime);
    EXPECT_EQ(info.m_ullGpsOffset, written.gpsOffset);
    EXPECT_EQ(info.m_uGpsSize, telemetry.fixes.size() * 32);
    EXPECT_EQ(info.m_ullGsensorOffset, written.gsensorOffset);
    EXPECT_EQ(info.m_uGsensorSize, telemetry.gsensor.size() * 6);
    EXPECT_EQ(0, std::memcmp(info.m_GpsAttr, telemetry.gpsAttr.data(), 4));
    EXPECT_EQ(0, std::memcmp(info.m_GsensorAttr, telemetry.gsensorAttr.data(), 4));
    EXPECT_EQ(info.m_ullFileSize, written.fileSize);
    EXPECT_EQ(info.m_uLayout, 7u);
    EXPECT_EQ(info.m_uVehicleRate, 0u);
    EXPECT_EQ(status.m_size, written.fileSize);

    // The stored block holds the fixes as written (NMEA form).
    const Bytes file = fixtures::ReadWholeFile(written.path);
    GpsFix first;
    std::memcpy(&first, &file[info.m_ullGpsOffset], 32);
    EXPECT_NEAR(first.latitude, fixtures::DegreesToNmea(telemetry.fixes[0].latitude), 1e-9);
}

TEST_F(AviReaderTest, RecordingOfAnotherCameraOrCutShortIsRejected) {
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive({});
    fixtures::AviOptions noMarker;
    noMarker.marker = false;
    MediaInfo info;
    COrvexAviParser parser;
    parser.SetMediaInfo(&info);
    EXPECT_EQ(parser.Parse(fixtures::WriteAviRecording(m_dir / "A.AVI", telemetry, noMarker).path), -1);
    fixtures::AviOptions cut;
    cut.truncateInsideMovi = true;
    EXPECT_EQ(parser.Parse(fixtures::WriteAviRecording(m_dir / "B.AVI", telemetry, cut).path), -1);
    EXPECT_EQ(info.m_wWidth, 0); // nothing written on failure
    EXPECT_EQ(Parse(Text("RIFX and more bytes than eight"), info), -1);
    EXPECT_EQ(parser.Parse(m_dir / "missing.AVI"), -1);
}

TEST_F(AviReaderTest, DurationIsTheThirtyTwoBitProductOfTheMainHeader) {
    MediaInfo info;
    ASSERT_EQ(Parse(Riff({Header(33333, 1800), Movi()}), info), 0);
    EXPECT_EQ(info.m_uDurationMs, 59999u);
    EXPECT_EQ(info.m_llDurationSec, 59);
    EXPECT_EQ(info.m_wWidth, 1920);
    EXPECT_EQ(info.m_wHeight, 1080);
    EXPECT_EQ(info.m_llStartTime, 0); // no time in the file

    // 40000 us x 200000 frames wraps at 2^32: (8000000000 mod 2^32) / 1000.
    ASSERT_EQ(Parse(Riff({Header(40000, 200000), Movi()}), info), 0);
    EXPECT_EQ(info.m_uDurationMs, uint32_t(8000000000ull % 4294967296ull) / 1000);
    EXPECT_EQ(Parse(Riff({Header(33333, 0), Movi()}), info), -1);
    EXPECT_EQ(Parse(Riff({Header(33333, 1800, "JTDC"), Movi()}), info), -1);
}

TEST_F(AviReaderTest, StartTimeFromFirstDatedFixCountsBackByTheGpsRate) {
    MediaInfo info;
    ASSERT_EQ(Parse(Riff({Header(), Movi(), Chunk("gps0", GpsBlock(20, 10, kNoon))}), info), 0);
    EXPECT_EQ(info.m_llStartTime, kNoon - 10);
    EXPECT_EQ(info.m_uGpsSize, 20u * 32);

    // Two fixes per second: record 10 is 5 seconds in.
    ASSERT_EQ(
        Parse(Riff({Header(), Chunk("gpsa", {2, 0, 0, 0}), Movi(), Chunk("gps0", GpsBlock(20, 10, kNoon))}),
              info),
        0);
    EXPECT_EQ(info.m_llStartTime, kNoon - 5);
    EXPECT_EQ(info.m_GpsAttr[0], 2);
}

TEST_F(AviReaderTest, IditAfterGpsReplacesOrWithdrawsTheStartTime) {
    MediaInfo info;
    const Bytes gps = Chunk("gps0", GpsBlock(4, 0, kNoon));
    ASSERT_EQ(Parse(Riff({Header(), gps, Chunk("IDIT", Text("2024-06-01 13:30:00"))}), info), 0);
    EXPECT_EQ(info.m_llStartTime, LocalWallClockToTime(2024, 6, 1, 13, 30, 0));
    ASSERT_EQ(Parse(Riff({Header(), gps, Chunk("IDIT", Text("2024-13-01 13:30:00"))}), info), 0);
    EXPECT_EQ(info.m_llStartTime, 0);
    // A valid IDIT before the GPS block wins: the block no longer sets the time.
    ASSERT_EQ(Parse(Riff({Header(), Chunk("IDIT", Text("2023-01-02 03:04:05")), gps}), info), 0);
    EXPECT_EQ(info.m_llStartTime, LocalWallClockToTime(2023, 1, 2, 3, 4, 5));

    fixtures::AviOptions after;
    after.iditAfterGps = true;
    after.iditText = "1899-12-31 00:00:00";
    const auto written = fixtures::WriteAviRecording(m_dir / "C.AVI", fixtures::SimulateDrive({}), after);
    COrvexAviParser parser;
    parser.SetMediaInfo(&info);
    ASSERT_EQ(parser.Parse(written.path), 0);
    EXPECT_EQ(info.m_llStartTime, 0);
}

TEST_F(AviReaderTest, ReusedReaderJudgesEachFileByItsOwnMarkAndBlocks) {
    const auto marked = avits::WriteBytes(m_dir / "MARKED.AVI",
                                          Riff({Header(), Movi(), Chunk("gps0", GpsBlock(3, 0, kNoon))}));
    const auto other = avits::WriteBytes(m_dir / "OTHER.AVI", Riff({Header(33333, 1800, "XXXX"), Movi()}));
    const auto plain = avits::WriteBytes(m_dir / "PLAIN.AVI", Riff({Header(), Movi()}));
    COrvexAviParser parser;
    MediaInfo info;
    parser.SetMediaInfo(&info);
    ASSERT_EQ(parser.Parse(marked), 0);
    EXPECT_EQ(parser.Parse(other), -1) << "the mark of the file before does not count";
    ASSERT_EQ(parser.Parse(plain), 0);
    EXPECT_EQ(info.m_uGpsSize, 0u) << "nor its GPS block";
    EXPECT_EQ(info.m_llStartTime, 0);
}

TEST_F(AviReaderTest, HostileSizesNeverReachBeyondTheFile) {
    MediaInfo info;
    // A GPS block announcing 4 GB: kept only as far as the file holds it.
    Bytes gps = Chunk("gps0", GpsBlock(3, 0, kNoon));
    const uint32_t huge = 0xFFFFFFF0;
    std::memcpy(&gps[4], &huge, 4);
    ASSERT_EQ(Parse(Riff({Header(), Movi(), gps}), info), 0);
    EXPECT_EQ(info.m_uGpsSize, 96u);
    EXPECT_EQ(info.m_llStartTime, kNoon);

    // An IDIT size no file can hold: the time counts as known, the following GPS block sets nothing.
    Bytes idit = Chunk("IDIT", {});
    std::memcpy(&idit[4], &huge, 4);
    ASSERT_EQ(Parse(Riff({Header(), idit, Chunk("gps0", GpsBlock(3, 0, kNoon))}), info), 0);
    EXPECT_EQ(info.m_llStartTime, 0);

    // Lists that announce themselves again and again, and chunks whose sizes run past the end.
    Bytes nested = Header();
    for (int i = 0; i < 2000; ++i)
        nested = List(i % 2 ? "hdrl" : "strl", nested);
    EXPECT_EQ(Parse(Riff({nested, Movi()}), info), 0);
    for (const char* id : {"LIST", "avih", "strh", "JUNK", "idx1", "gsen", "gpsa", "IDIT"}) {
        Bytes truncated = Riff({Header(), Movi()});
        AppendId(truncated, id);
        Append32(truncated, 0x7FFFFFFF);
        AppendId(truncated, "movi");
        EXPECT_LE(Parse(truncated, info), 0) << id;
    }
    Bytes movi = Movi();
    const uint32_t past = 0x10000;
    std::memcpy(&movi[4], &past, 4);
    EXPECT_EQ(Parse(Riff({Header(), movi}), info), -1);
}

} // namespace
