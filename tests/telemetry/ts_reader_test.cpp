#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "avi_reader.h"
#include "avits_test_support.h"
#include "container_remux.h"
#include "track_reader.h"
#include "ts_reader.h"
#include "ts_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// ---------------------------------------------------------------------------------------------
// Hand-made streams

class BitWriter {
  public:
    void Bits(uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i)
            m_Bits.push_back((value >> i) & 1);
    }
    void Ue(uint64_t value) {
        const uint64_t v = value + 1;
        int length = 0;
        while ((v >> length) > 1)
            ++length;
        Bits(0, length);
        Bits(v, length + 1);
    }
    void Se(int64_t value) { Ue(value > 0 ? uint64_t(2 * value - 1) : uint64_t(-2 * value)); }
    // Trailing bits, then bytes with emulation prevention as in a NAL unit.
    Bytes Nal(uint8_t header) {
        Bits(1, 1);
        while (m_Bits.size() % 8)
            m_Bits.push_back(0);
        Bytes out{header};
        int zeros = 0;
        for (size_t i = 0; i < m_Bits.size(); i += 8) {
            uint8_t byte = 0;
            for (int b = 0; b < 8; ++b)
                byte = uint8_t(byte << 1 | m_Bits[i + b]);
            if (zeros >= 2 && byte <= 3) {
                out.push_back(3);
                zeros = 0;
            }
            zeros = byte == 0 ? zeros + 1 : 0;
            out.push_back(byte);
        }
        return out;
    }

  private:
    std::vector<int> m_Bits;
};

struct SpsSpec {
    int profile = 66;
    uint64_t widthMbs = 20, heightUnits = 15; // 320 x 240
    bool frameMbsOnly = true;
    uint64_t cropRight = 0, cropBottom = 0;
    uint32_t unitsInTick = 0, timeScale = 0; // VUI timing when non-zero
    bool scalingMatrix = false;
};

Bytes MakeSps(const SpsSpec& s) {
    BitWriter w;
    w.Bits(uint64_t(s.profile), 8);
    w.Bits(0, 8);
    w.Bits(30, 8);
    w.Ue(0);
    if (s.profile == 100) {
        w.Ue(1); // 4:2:0
        w.Ue(0);
        w.Ue(0);
        w.Bits(0, 1);
        w.Bits(s.scalingMatrix, 1);
        for (int i = 0; s.scalingMatrix && i < 8; ++i) {
            w.Bits(i % 2, 1); // every other list present
            for (int j = 0; i % 2 && j < (i < 6 ? 16 : 64); ++j)
                w.Se(j == 0 ? 8 : 1);
        }
    }
    w.Ue(0); // log2_max_frame_num_minus4
    w.Ue(2); // pic_order_cnt_type
    w.Ue(1);
    w.Bits(0, 1);
    w.Ue(s.widthMbs - 1);
    w.Ue(s.heightUnits - 1);
    w.Bits(s.frameMbsOnly, 1);
    if (!s.frameMbsOnly) w.Bits(0, 1);
    w.Bits(1, 1);
    const bool crop = s.cropRight || s.cropBottom;
    w.Bits(crop, 1);
    if (crop) {
        w.Ue(0);
        w.Ue(s.cropRight);
        w.Ue(0);
        w.Ue(s.cropBottom);
    }
    w.Bits(s.timeScale != 0, 1); // vui_parameters_present
    if (s.timeScale) {
        w.Bits(0, 4); // no aspect ratio, overscan, signal type, chroma location
        w.Bits(1, 1);
        w.Bits(s.unitsInTick, 32);
        w.Bits(s.timeScale, 32);
        w.Bits(1, 1);
    }
    return w.Nal(0x67);
}

Bytes Packet(int pid, bool unitStart, int cc, const Bytes& payload) {
    EXPECT_LE(payload.size(), 184u);
    Bytes p(188, 0xFF);
    p[0] = 0x47;
    p[1] = uint8_t((unitStart ? 0x40 : 0) | pid >> 8);
    p[2] = uint8_t(pid);
    const size_t stuffing = 184 - payload.size();
    if (stuffing == 0) {
        p[3] = uint8_t(0x10 | (cc & 15));
    } else {
        p[3] = uint8_t(0x30 | (cc & 15));
        p[4] = uint8_t(stuffing - 1);
        if (stuffing > 1) p[5] = 0;
    }
    std::copy(payload.begin(), payload.end(), p.begin() + 4 + stuffing);
    return p;
}

Bytes Section(uint8_t table, uint16_t id, const Bytes& body) {
    Bytes s{table, 0, 0, uint8_t(id >> 8), uint8_t(id), 0xC1, 0, 0};
    s.insert(s.end(), body.begin(), body.end());
    const size_t length = s.size() - 3 + 4;
    s[1] = uint8_t(0xB0 | length >> 8);
    s[2] = uint8_t(length);
    const uint32_t crc = fixtures::MpegCrc32(s.data(), s.size());
    for (int i = 0; i < 4; ++i)
        s.push_back(uint8_t(crc >> (24 - 8 * i)));
    s.insert(s.begin(), 0); // pointer field
    return s;
}
Bytes Pat() {
    return Section(0, 1, {0, 1, 0xF0, 0x00});
}
Bytes Pmt(int telemetryPid) {
    return Section(2, 1,
                   {0xE1, 0x00, 0xF0, 0x00, 0x1B, 0xE1, 0x00, 0xF0, 0x00, 0x06,
                    uint8_t(0xE0 | telemetryPid >> 8), uint8_t(telemetryPid), 0xF0, 0x00});
}

Bytes PesHeader(uint8_t streamId, int64_t pts, uint16_t length) {
    return {0,
            0,
            1,
            streamId,
            uint8_t(length >> 8),
            uint8_t(length),
            0x80,
            0x80,
            5,
            uint8_t(0x21 | ((pts >> 29) & 0x0E)),
            uint8_t(pts >> 22),
            uint8_t(((pts >> 14) & 0xFE) | 1),
            uint8_t(pts >> 7),
            uint8_t(((pts << 1) & 0xFE) | 1)};
}
Bytes VideoPes(int64_t pts, const Bytes& sps, uint16_t length = 0) {
    Bytes pes = PesHeader(0xE0, pts, length);
    const Bytes units[] = {{0, 0, 0, 1, 0x09, 0xF0},
                           {0, 0, 0, 1},
                           sps,
                           {0, 0, 0, 1, 0x68, 0xCE, 0x38, 0x80},
                           {0, 0, 0, 1, 0x65, 0x88, 0x84}};
    for (const Bytes& u : units)
        pes.insert(pes.end(), u.begin(), u.end());
    return pes;
}
Bytes TelemetryPes(int64_t pts, uint8_t marker) {
    Bytes pes = PesHeader(0xBD, pts, 3 + 5 + 150);
    pes.insert(pes.end(), {0, 148});
    Bytes record(148, marker);
    record[4] = 10, record[5] = 0;
    pes.insert(pes.end(), record.begin(), record.end());
    return pes;
}

struct StreamSpec {
    int telemetryPid = 258;
    int64_t firstPts = 90000, lastPts = 5490000;
    Bytes sps;             // empty: 320 x 240
    int fillerPackets = 0; // null packets between the first pictures and the last one
};

Bytes MakeStream(const StreamSpec& clipSpec) {
    StreamSpec s = clipSpec;
    if (s.sps.empty()) s.sps = MakeSps(SpsSpec{});
    Bytes ts;
    int videoCc = 0, telemetryCc = 0;
    auto add = [&ts](const Bytes& p) { ts.insert(ts.end(), p.begin(), p.end()); };
    add(Packet(0, true, 0, Pat()));
    add(Packet(0x1000, true, 0, Pmt(s.telemetryPid)));
    add(Packet(256, true, videoCc++, VideoPes(s.firstPts, s.sps)));
    add(Packet(s.telemetryPid, true, telemetryCc++, TelemetryPes(s.firstPts, 1)));
    add(Packet(256, true, videoCc++, VideoPes(s.firstPts + 3600, s.sps)));
    for (int i = 0; i < s.fillerPackets; ++i)
        add(Packet(0x1FFF, false, 0, {}));
    add(Packet(s.telemetryPid, true, telemetryCc++, TelemetryPes(s.lastPts, 2)));
    add(Packet(256, true, videoCc++, VideoPes(s.lastPts, s.sps)));
    return ts;
}

// ---------------------------------------------------------------------------------------------

class TsReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fixtures::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    fs::path Write(const Bytes& bytes, const std::string& name = "REC.TS") {
        const fs::path path = avits::WriteBytes(m_dir / name, bytes);
        SetModificationTime(path);
        return path;
    }
    static void SetModificationTime(const fs::path& path) {
        const timespec times[2] = {{kMtime, 0}, {kMtime, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    int Probe(const fs::path& path, MediaInfo& info, bool collect = false, uint64_t* visited = nullptr) {
        COrvexTsParser parser;
        parser.SetMediaInfo(&info);
        const int rc = parser.ProbeTransportStream(path, collect);
        if (visited) *visited = parser.PacketsVisited();
        return rc;
    }
    static constexpr time_t kMtime = 1717243200;
    fs::path m_dir;
};

TEST_F(TsReaderTest, FixtureRecordingIsCataloguedAsLayoutTwoAndMatchesFfprobe) {
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    drive.fixRate = 5;
    drive.gsensorRate = 5;
    const auto written = fixtures::WriteTsRecording(m_dir / "FILE0001.TS", fixtures::SimulateDrive(drive));
    SetModificationTime(written.path);
    ASSERT_TRUE(avits::FfmpegDecodesCleanly(written.path));

    MediaInfo info;
    FileStatus status;
    COrvexTsParser parser;
    parser.SetMediaInfo(&info);
    parser.SetFileStatus(&status);
    ASSERT_EQ(parser.Parse(written.path), 0);
    const avits::ProbeView probe = avits::FfprobeView(written.path);
    EXPECT_EQ(info.m_wWidth, probe.width);
    EXPECT_EQ(info.m_wHeight, probe.height);
    EXPECT_EQ(info.m_uDurationMs, written.durationMs);
    // Largest minus first time stamp: ffprobe adds the last picture's own length.
    EXPECT_NEAR(info.m_uDurationMs / 1000.0, probe.duration, 0.15);
    EXPECT_EQ(info.m_llStartTime, kMtime - info.m_uDurationMs / 1000);
    EXPECT_EQ(info.m_uLayout, kLayoutVideMeta);
    EXPECT_EQ(info.m_GpsAttr[0], 5);
    const uint8_t gsensor[4] = {5, 8, 2, 1};
    EXPECT_EQ(0, std::memcmp(info.m_GsensorAttr, gsensor, 4));
    EXPECT_EQ(info.m_uVehicleRate, 5u);
    EXPECT_EQ(info.m_ullFileSize, written.fileSize);
    EXPECT_TRUE(info.m_Chunks2.empty());
    EXPECT_EQ(status.m_mtime, kMtime);
}

TEST_F(TsReaderTest, CollectingListsEveryTelemetryRecordForTheTrackReader) {
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    drive.fixRate = 5;
    drive.gsensorRate = 5;
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    const auto written = fixtures::WriteTsRecording(m_dir / "FILE0002.TS", telemetry);
    ASSERT_EQ(written.records.size(), 15u);

    MediaInfo info;
    ASSERT_EQ(Probe(written.path, info, true), 0);
    ASSERT_EQ(info.m_Chunks2.size(), written.chunkOffsets.size());
    const Bytes file = fixtures::ReadWholeFile(written.path);
    for (size_t i = 0; i < info.m_Chunks2.size(); ++i) {
        EXPECT_EQ(info.m_Chunks2[i].index, int32_t(i));
        ASSERT_EQ(info.m_Chunks2[i].offset, written.chunkOffsets[i]);
        EXPECT_EQ(0, std::memcmp(&file[info.m_Chunks2[i].offset], written.records[i].data(), 148)) << i;
    }
    // Collecting again lists each record once.
    ASSERT_EQ(Probe(written.path, info, true), 0);
    EXPECT_EQ(info.m_Chunks2.size(), written.chunkOffsets.size());

    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
    ASSERT_TRUE(ReadLayout2Track(written.path, info.m_Chunks2, track, gsensor, vehicles));
    ASSERT_EQ(track.size(), 15u);
    EXPECT_EQ(vehicles.size(), 15u);
    EXPECT_EQ(gsensor.size(), 15u);
    EXPECT_NEAR(track[0].latitude, telemetry.fixes[0].latitude, 1e-4);
    EXPECT_NEAR(track[14].longitude, telemetry.fixes[14].longitude, 1e-4);
}

TEST_F(TsReaderTest, OtherTelemetryPidPlaysButCarriesNoTrack) {
    fixtures::TsOptions options;
    options.telemetryPid = 0x103;
    const auto written =
        fixtures::WriteTsRecording(m_dir / "FILE0003.TS", fixtures::SimulateDrive({}), options);
    MediaInfo info;
    ASSERT_EQ(Probe(written.path, info, true), 0);
    EXPECT_TRUE(info.m_Chunks2.empty());
    EXPECT_GT(info.m_wWidth, 0);

    StreamSpec clipSpec;
    clipSpec.telemetryPid = 300;
    ASSERT_EQ(Probe(Write(MakeStream(clipSpec)), info, true), 0);
    EXPECT_TRUE(info.m_Chunks2.empty());
}

TEST_F(TsReaderTest, LengthFromTimeStampsAndStartBeforeModificationTime) {
    MediaInfo info;
    const fs::path path = Write(MakeStream({}));
    for (const bool collect : {false, true}) {
        uint64_t visited = 0;
        ASSERT_EQ(Probe(path, info, collect, &visited), 0);
        EXPECT_EQ(info.m_uDurationMs, 60000u);
        EXPECT_EQ(info.m_llStartTime, kMtime - 60);
        EXPECT_EQ(info.m_wWidth, 320);
        EXPECT_EQ(info.m_wHeight, 240);
        EXPECT_EQ(visited, fs::file_size(path) / 188); // a short file is walked whole in both modes
    }
    EXPECT_EQ(info.m_Chunks2.size(), 2u);
}

TEST_F(TsReaderTest, CatalogProbeJumpsOnceToTheLastPackets) {
    StreamSpec clipSpec;
    clipSpec.fillerPackets = 20000;
    const fs::path path = Write(MakeStream(clipSpec));
    const uint64_t packets = fs::file_size(path) / 188;
    MediaInfo info;
    uint64_t visited = 0;
    ASSERT_EQ(Probe(path, info, false, &visited), 0);
    EXPECT_EQ(info.m_uDurationMs, 60000u);
    EXPECT_LT(visited, 3000u + 10u);
    EXPECT_GE(visited, 3000u);
    ASSERT_EQ(Probe(path, info, true, &visited), 0);
    EXPECT_EQ(visited, packets);
    EXPECT_EQ(info.m_uDurationMs, 60000u);
    EXPECT_EQ(info.m_Chunks2.size(), 2u);
}

TEST_F(TsReaderTest, ContinuityJumpIsCountedAndLosesNothing) {
    TsDemuxContext ctx;
    uint32_t offset = 0;
    ASSERT_EQ(DemuxPacket(ctx, Packet(0, true, 0, Pat()).data(), offset), kTsOk);
    ASSERT_EQ(DemuxPacket(ctx, Packet(0x1000, true, 0, Pmt(258)).data(), offset), kTsOk);
    int found = 0;
    for (const int cc : {4, 5, 7, 8}) {
        ASSERT_EQ(DemuxPacket(ctx, Packet(258, true, cc, TelemetryPes(90000 + cc, 1)).data(), offset), kTsOk);
        found += offset == 188 - 150;
    }
    EXPECT_EQ(found, 4);
    for (const auto& slot : ctx.m_Slots)
        if (slot.m_nPid == 258) {
            EXPECT_EQ(slot.m_uCcJumps, 1u);
            EXPECT_EQ(slot.m_ullPesCount, 4u);
            EXPECT_EQ(slot.m_llMaxPts, 90008);
        }
}

TEST_F(TsReaderTest, DemuxerStatusCodes) {
    auto demux = [](TsDemuxContext& ctx, Bytes packet) {
        uint32_t offset = 0;
        return DemuxPacket(ctx, packet.data(), offset);
    };
    TsDemuxContext ctx;
    Bytes bad = Packet(0, true, 0, Pat());
    bad[0] = 0x46;
    EXPECT_EQ(demux(ctx, bad), kTsNoSync);
    bad = Packet(0, true, 0, Pat());
    bad[1] |= 0x80;
    EXPECT_EQ(demux(ctx, bad), kTsTransportError);
    bad = Packet(0, true, 0, Pat());
    bad[4] = 190; // adaptation field reaching past the packet
    EXPECT_EQ(demux(ctx, bad), kTsAdaptationPastPacket);
    bad = Packet(0, true, 0, Pat());
    bad[bad.size() - Pat().size() + 2] &= 0xCF; // reserved bits above the section length
    EXPECT_EQ(demux(ctx, bad), kTsSectionReservedBits);

    ASSERT_EQ(demux(ctx, Packet(0, true, 0, Pat())), kTsOk);
    Bytes longPmt = Pmt(258);
    longPmt[2] = 0xB3, longPmt[3] = 0xE5; // 997-byte section: no table of this size is kept
    longPmt.resize(184, 0);
    EXPECT_EQ(demux(ctx, Packet(0x1000, true, 0, longPmt)), kTsSectionTooLong);
    Bytes pmt = Pmt(258);
    pmt[pmt.size() - 4 - 5 - 4] &= 0x1F; // reserved bits above the telemetry PID
    EXPECT_EQ(demux(ctx, Packet(0x1000, true, 1, pmt)), kTsPmtReservedBits);
    pmt = Section(2, 1, {0xE1, 0x00, 0xF0, 0x00, 0x1B, 0xE1, 0x00, 0xF0, 0x00, 0x06});
    EXPECT_EQ(demux(ctx, Packet(0x1000, true, 2, pmt)), kTsPmtEntriesMisaligned);
    ASSERT_EQ(demux(ctx, Packet(0x1000, true, 3, Pmt(258))), kTsOk);

    Bytes pes = TelemetryPes(90000, 1);
    pes[2] = 2;
    EXPECT_EQ(demux(ctx, Packet(258, true, 0, pes)), kTsPesStartCode);
    pes = TelemetryPes(90000, 1);
    pes[8] = 200;
    EXPECT_EQ(demux(ctx, Packet(258, true, 1, pes)), kTsPesHeaderPastPacket);

    for (int pid = 600; pid < 604; ++pid) // 8 slots: PAT, PMT, video, telemetry and four more
        EXPECT_EQ(demux(ctx, Packet(pid, true, 0, {1, 2, 3})), kTsOk);
    EXPECT_EQ(demux(ctx, Packet(700, true, 0, {1, 2, 3})), kTsNoSync);
}

TEST_F(TsReaderTest, SectionSpanningTwoPacketsIsAssembled) {
    Bytes pmt = Pmt(258);
    const Bytes descriptor(190, 0x05); // program info that pushes the streams into the next packet
    Bytes body{0xE1, 0x00, 0xF0, uint8_t(descriptor.size())};
    body.insert(body.end(), descriptor.begin(), descriptor.end());
    body.insert(body.end(), {0x1B, 0xE1, 0x00, 0xF0, 0x00, 0x06, 0xE1, 0x02, 0xF0, 0x00});
    pmt = Section(2, 1, body);
    TsDemuxContext ctx;
    uint32_t offset = 0;
    ASSERT_EQ(DemuxPacket(ctx, Packet(0, true, 0, Pat()).data(), offset), kTsOk);
    ASSERT_EQ(DemuxPacket(ctx, Packet(0x1000, true, 0, Bytes(pmt.begin(), pmt.begin() + 184)).data(), offset),
              kTsOk);
    ASSERT_EQ(DemuxPacket(ctx, Packet(0x1000, false, 1, Bytes(pmt.begin() + 184, pmt.end())).data(), offset),
              kTsOk);
    ASSERT_EQ(DemuxPacket(ctx, Packet(258, true, 0, TelemetryPes(90000, 1)).data(), offset), kTsOk);
    EXPECT_EQ(offset, 188u - 150u);
}

TEST_F(TsReaderTest, BrokenFilesAreRejectedWithoutHarm) {
    MediaInfo info;
    EXPECT_EQ(Probe(Write(Bytes(187, 0x47), "A.TS"), info), -1);
    EXPECT_EQ(Probe(Write(Bytes(188 * 50, 0), "B.TS"), info), -1);
    EXPECT_EQ(Probe(Write({}, "C.TS"), info), -1);
    EXPECT_EQ(Probe(m_dir / "missing.TS", info), -1);
    EXPECT_EQ(info.m_wWidth, 0);

    StreamSpec overflow;
    SpsSpec huge;
    huge.widthMbs = uint64_t(1) << 31;
    overflow.sps = MakeSps(huge);
    EXPECT_EQ(Probe(Write(MakeStream(overflow), "D.TS"), info), -1);
    StreamSpec still;
    still.lastPts = still.firstPts - 3600; // the last picture adds nothing: no length
    EXPECT_EQ(Probe(Write(MakeStream(still), "E.TS"), info), 0);
    EXPECT_EQ(info.m_uDurationMs, 40u);

    // PES lengths of 0 (unbounded) and 65535 change nothing.
    const uint16_t lengths[] = {0, 65535};
    for (const uint16_t length : lengths) {
        Bytes ts = MakeStream({});
        for (size_t pos = 0; pos < ts.size(); pos += 188) {
            const size_t start = 5 + ts[pos + 4];
            if ((ts[pos + 1] & 0x40) && ts[pos + start + 3] == 0xE0)
                ts[pos + start + 4] = uint8_t(length >> 8), ts[pos + start + 5] = uint8_t(length);
        }
        ASSERT_EQ(Probe(Write(ts, "F.TS"), info), 0);
        EXPECT_EQ(info.m_uDurationMs, 60000u);
    }
}

TEST(SequenceParameterSetTest, SizesCroppingTimingAndLimits) {
    SequenceParameters sps;
    Bytes nal = MakeSps({});
    ASSERT_TRUE(ParseSequenceParameterSet(nal.data(), nal.size(), sps));
    EXPECT_EQ(sps.width, 320u);
    EXPECT_EQ(sps.height, 240u);
    EXPECT_EQ(sps.frameRate, 0);

    nal = MakeSps({.profile = 100,
                   .widthMbs = 120,
                   .heightUnits = 68,
                   .cropBottom = 4,
                   .unitsInTick = 1,
                   .timeScale = 50,
                   .scalingMatrix = true});
    ASSERT_TRUE(ParseSequenceParameterSet(nal.data(), nal.size(), sps));
    EXPECT_EQ(sps.width, 1920u);
    EXPECT_EQ(sps.height, 1080u);
    EXPECT_DOUBLE_EQ(sps.frameRate, 25.0);

    nal = MakeSps({.widthMbs = 45, .heightUnits = 18, .frameMbsOnly = false, .cropBottom = 0});
    ASSERT_TRUE(ParseSequenceParameterSet(nal.data(), nal.size(), sps));
    EXPECT_EQ(sps.height, 576u); // field pairs: map units of 32 lines

    nal = MakeSps({.widthMbs = 4096}); // 65536 pixels wide
    EXPECT_FALSE(ParseSequenceParameterSet(nal.data(), nal.size(), sps));
    nal = MakeSps({.widthMbs = 2, .cropRight = 16});
    EXPECT_FALSE(ParseSequenceParameterSet(nal.data(), nal.size(), sps));
    nal = MakeSps({});
    nal[0] = 0x68;
    EXPECT_FALSE(ParseSequenceParameterSet(nal.data(), nal.size(), sps));
    nal = MakeSps({});
    EXPECT_FALSE(ParseSequenceParameterSet(nal.data(), 5, sps)); // cut short
    const Bytes zeros{0x67, 0x42, 0, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_FALSE(ParseSequenceParameterSet(zeros.data(), zeros.size(), sps)); // Exp-Golomb of 40+ bits
    EXPECT_FALSE(ParseSequenceParameterSet(nullptr, 0, sps));
}

// Streams encoded by x264 straight into a transport stream, in the profiles and shapes cameras use.
TEST_F(TsReaderTest, PictureSizeAgreesWithFfprobeAcrossEncoderSettings) {
    struct Case {
        const char* size;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"352x288", {"-profile:v", "baseline"}},
        {"1920x1080", {"-profile:v", "high"}},
        {"720x576", {"-flags", "+ildct", "-x264-params", "interlaced=1"}},
        {"322x242", {"-pix_fmt", "yuv444p", "-profile:v", "high444"}},
        {"400x300", {"-pix_fmt", "yuv422p", "-profile:v", "high422", "-x264-params", "cqm=jvt"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const fs::path path = m_dir / ("E" + std::to_string(n++) + ".TS");
        std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=" + std::string(c.size) +
                              ":rate=25 -frames:v 10 -c:v libx264 -preset ultrafast";
        for (const auto& o : c.options)
            command += " " + o;
        command += " -f mpegts '" + path.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        MediaInfo info;
        ASSERT_EQ(Probe(path, info), 0) << c.size;
        const avits::ProbeView probe = avits::FfprobeView(path);
        EXPECT_EQ(info.m_wWidth, probe.width) << c.size;
        EXPECT_EQ(info.m_wHeight, probe.height) << c.size;
        EXPECT_EQ(info.m_uDurationMs, 360u) << c.size; // 9 frame intervals at 25 per second

        TsDemuxContext ctx; // the encoder's timing information gives the frame rate
        const Bytes ts = fixtures::ReadWholeFile(path);
        for (size_t pos = 0; pos + 188 <= ts.size() && !ctx.m_bVideoFound; pos += 188) {
            uint32_t offset = 0;
            DemuxPacket(ctx, &ts[pos], offset);
        }
        SequenceParameters sps;
        const TsStreamSlot* video = nullptr;
        for (const auto& slot : ctx.m_Slots)
            if (slot.m_Sps.size() > 4) video = &slot;
        ASSERT_NE(video, nullptr);
        ASSERT_TRUE(ParseSequenceParameterSet(video->m_Sps.data() + 4, video->m_Sps.size() - 4, sps));
        EXPECT_DOUBLE_EQ(sps.frameRate, 25.0) << c.size;
    }
}

} // namespace

namespace {

TEST(AviTsSpecialFilesTest, FifosAndFoldersAreRejectedWithoutWaiting) {
    const fs::path dir = fixtures::ScratchDir("special-files");
    const fs::path fifo = dir / "PIPE.TS";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    MediaInfo info;
    COrvexTsParser ts;
    ts.SetMediaInfo(&info);
    EXPECT_EQ(ts.ProbeTransportStream(fifo, false), -1);
    EXPECT_EQ(ts.ProbeTransportStream(dir, true), -1);
    COrvexAviParser avi;
    avi.SetMediaInfo(&info);
    EXPECT_EQ(avi.Parse(fifo), -1);
    EXPECT_EQ(avi.Parse(dir), -1);
    EXPECT_EQ(info.m_wWidth, 0);
}

} // namespace
