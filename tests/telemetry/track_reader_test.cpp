#include <gtest/gtest.h>

#include <cstring>

#include "box_bytes.h"
#include "mp4_boxes.h"
#include "reader_test_support.h"
#include "track_reader.h"

using namespace boxes;

namespace {
Bytes GpsPart(uint8_t valid, int32_t latN, int32_t lonN, int32_t knots = 10) {
    return std::string(1, static_cast<char>(valid)) + Zeros(3) + LE32(14) + LE32(30) + LE32(59) + Zeros(4) +
           LE32(latN) + LE32(1000) + LE32(lonN) + LE32(1000) + LE32(knots) + LE32(1) + Zeros(8) + LE32(7) +
           LE32(6) + LE32(24) + "\x2D" + Zeros(7);
}
Bytes GEntry(uint16_t valid, int16_t x, int16_t y, int16_t z) {
    return Zeros(4) + LE16(valid) + LE16(x) + LE16(y) + LE16(z);
}
Bytes Layout4Chunk(uint16_t count, const Bytes& entries, uint16_t type = 10, uint32_t length = 140) {
    Bytes record = Zeros(4) + LE16(type) + LE16(count) + entries;
    record += Zeros(68 - record.size()) + GpsPart(1, 2232500, 11400000);
    return Zeros(12) + LE32(length) + record;
}
Bytes Layout2Record(uint16_t type, uint16_t gValid, uint32_t vehLon, uint32_t vehLat) {
    Bytes vehicle = Zeros(5) + LE16(2024) + Zeros(13) + LE16(62 * 30) + Zeros(2) + LE32(vehLon) +
                    LE32(vehLat) + Zeros(24);
    vehicle[0] = 9; // hour
    return Zeros(4) + LE16(type) + Zeros(4) + LE16(gValid) + LE16(1) + LE16(2) + LE16(3) + Zeros(2) +
           GpsPart(1, 2232500, 11400000) + vehicle;
}
Bytes Layout1Record(uint8_t gpsValid, uint16_t gValid) {
    Bytes r = Zeros(6) + LE16(gValid) + LE16(4) + LE16(5) + LE16(6) + Zeros(2) + LE32(8) + LE32(9) +
              LE32(10) + Zeros(4) + std::string(1, static_cast<char>(gpsValid)) + Zeros(3) + LE32(2232500) +
              LE32(1000) + LE32(11400000) + LE32(1000) + LE32(10) + LE32(1) + Zeros(8) + LE32(3) + LE32(4) +
              LE32(25) + "\x10" + Zeros(7);
    return r;
}
std::vector<ChunkRef> Chunks(std::initializer_list<uint64_t> offsets) {
    std::vector<ChunkRef> list;
    for (uint64_t o : offsets)
        list.push_back({static_cast<int32_t>(list.size()), o});
    return list;
}
std::vector<std::array<int16_t, 3>> Xyz(const std::vector<GSensorSample>& samples) {
    std::vector<std::array<int16_t, 3>> out;
    for (const auto& s : samples)
        out.push_back({s.x, s.y, s.z});
    return out;
}
using Triples = std::vector<std::array<int16_t, 3>>;
} // namespace

class TrackReaderTest : public ScratchFolder {};

TEST_F(TrackReaderTest, Layout4GSensorFillRule) {
    const Bytes threeWithGap = GEntry(1, 1, 1, 1) + GEntry(0, 2, 2, 2) + GEntry(1, 3, 3, 3);
    const Bytes sevenAnnounced = GEntry(1, 1, 0, 0) + GEntry(1, 2, 0, 0) + GEntry(1, 3, 0, 0) +
                                 GEntry(1, 4, 0, 0) + GEntry(1, 5, 0, 0);
    const Bytes allInvalid = GEntry(0, 7, 7, 7) + GEntry(0, 8, 8, 8);
    const Bytes file = Zeros(10) + Layout4Chunk(3, threeWithGap) + Layout4Chunk(7, sevenAnnounced) +
                       Layout4Chunk(2, allInvalid) + Layout4Chunk(0, GEntry(1, 9, 9, 9));
    std::vector<GpsFix> track;
    std::vector<GSensorSample> g;
    ASSERT_TRUE(ReadLayout4Track(Write("l4", file), Chunks({10, 166, 322, 478}), track, g));
    EXPECT_EQ(track.size(), 4u);
    const Triples expected = {{1, 1, 1}, {3, 3, 3}, {2, 2, 2},                       // e0, e2, copy of e1
                              {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, // n = 7 -> 5
                              {0, 0, 0}, {7, 7, 7}};                                 // none valid
    EXPECT_EQ(Xyz(g), expected);
    EXPECT_NEAR(track[0].latitude, 22.541667, 1e-6);
    EXPECT_NEAR(track[0].longitude, 114.0 + 0 / 60.0, 1e-6);
}

TEST_F(TrackReaderTest, Layout4SkipsWrongLengthTypeAndOffsetsPastTheEnd) {
    const Bytes file = Layout4Chunk(1, GEntry(1, 1, 1, 1), 10, 139) +
                       Layout4Chunk(1, GEntry(1, 2, 2, 2), 11) + Layout4Chunk(1, GEntry(1, 3, 3, 3));
    std::vector<GpsFix> track(1);
    std::vector<GSensorSample> g;
    ASSERT_TRUE(ReadLayout4Track(Write("l4", file), Chunks({0, 156, 312, 313, 1u << 31, ~0ull}), track, g));
    EXPECT_EQ(track.size(), 2u) << "appends after what was there";
    EXPECT_EQ(Xyz(g), (Triples{{3, 3, 3}}));
    EXPECT_FALSE(ReadLayout4Track(m_dir / "missing", Chunks({0}), track, g));
}

TEST_F(TrackReaderTest, Layout2VehiclePositionOrGpsPart) {
    const uint32_t north = 0x80000000u | 81000000u, east = 0x80000000u | 36000000u;
    const Bytes file = Zeros(2) + Layout2Record(10, 1, east, north) +
                       Layout2Record(10, 0, 0xFFFFFFFFu, north) + Layout2Record(9, 1, east, north);
    std::vector<GpsFix> track;
    std::vector<GSensorSample> g;
    std::vector<VehicleSample> vehicles;
    ASSERT_TRUE(ReadLayout2Track(Write("l2", file), Chunks({2, 150, 298, 400}), track, g, vehicles));
    ASSERT_EQ(track.size(), 2u) << "type 9 and the chunk past the end are skipped";
    ASSERT_EQ(vehicles.size(), 2u);
    EXPECT_DOUBLE_EQ(track[0].latitude, 22.5);
    EXPECT_DOUBLE_EQ(track[0].longitude, 10.0);
    EXPECT_EQ(track[0].speed, 30);
    EXPECT_EQ(track[0].hour, 9);
    EXPECT_EQ(track[0].flags, 1);
    EXPECT_NEAR(track[1].latitude, 22.541667, 1e-6) << "no vehicle longitude: fix from the GPS part";
    EXPECT_EQ(vehicles[1].longitude, 0xFFFFFFFFu);
    EXPECT_EQ(Xyz(g), (Triples{{1, 2, 3}})) << "second record's G-sensor is not valid";
}

TEST_F(TrackReaderTest, ReadCutShortByAShrunkFileSaysSoAndKeepsWhatWasRead) {
    const uint32_t north = 0x80000000u | 81000000u, east = 0x80000000u | 36000000u;
    const Bytes record = Layout2Record(10, 1, east, north);
    const auto path = Write("l2", Zeros(2) + record + record + record);
    std::vector<GpsFix> track;
    std::vector<GSensorSample> g;
    std::vector<VehicleSample> vehicles;
    TrackReadEnd end = TrackReadEnd::kNotOpened;
    ASSERT_TRUE(ReadLayout2Track(path, Chunks({2, 150, 298}), track, g, vehicles, &end));
    EXPECT_EQ(end, TrackReadEnd::kComplete);
    EXPECT_FALSE(ReadLayout2Track(m_dir / "missing", Chunks({2}), track, g, vehicles, &end));
    EXPECT_EQ(end, TrackReadEnd::kNotOpened);

    // The file shrinks after it was opened (a card pulled, the camera rewriting it): the second
    // record can no longer be read whole.
    track.clear(), g.clear(), vehicles.clear();
    BoundedFile file;
    ASSERT_TRUE(file.Open(path));
    std::filesystem::resize_file(path, 2 + 148 + 100);
    EXPECT_EQ(ReadLayout2Records(file, Chunks({2, 150, 298}), track, g, vehicles), TrackReadEnd::kCutShort);
    EXPECT_EQ(track.size(), 1u) << "the record before the error stays";
    EXPECT_EQ(vehicles.size(), 1u);
}

TEST_F(TrackReaderTest, Layout1RecordsAndWholeRecordRule) {
    const Bytes file = Layout1Record(1, 1) + Layout1Record(2, 0) + Layout1Record(0, 1);
    std::vector<GpsFix> track;
    std::vector<GSensorSample> g;
    ASSERT_TRUE(ReadLayout1Track(Write("l1", file), Chunks({0, 88, 176, 177}), track, g));
    ASSERT_EQ(track.size(), 3u);
    EXPECT_NEAR(track[0].latitude, 22.541667, 1e-6);
    EXPECT_EQ(track[0].year, 25);
    EXPECT_EQ(track[0].hour, 8);
    EXPECT_EQ(track[0].heading, 0x10);
    EXPECT_EQ(track[1].flags, 2) << "kept; consumers test bit 0";
    EXPECT_EQ(track[2].latitude, 0.0);
    EXPECT_EQ(track[2].flags, 0);
    EXPECT_EQ(Xyz(g), (Triples{{4, 5, 6}, {4, 5, 6}}));
}

namespace {
Bytes TailBoxes(const Bytes& tag, const Bytes& fixes, const Bytes& gsensor) {
    return Box("name", Zeros(32) + tag + Zeros(4)) + Box("gpsa", "\x01\0\0\0") + Box("gps0", fixes) +
           Box("gsea", Zeros(20)) + Box("gsen", gsensor);
}
} // namespace

TEST_F(TrackReaderTest, Layout3TailOfExactly5120Bytes) {
    const Bytes fixes = RawFix(2232.5, 11400.0, 24, 6, 1, 12, 0, 0, 1) + RawFix(0, 0, 0, 0, 0, 0, 0, 0, 0);
    const Bytes tail = TailBoxes("noml", fixes, LE16(1) + LE16(2) + LE16(3));
    std::vector<GpsFix> track;
    std::vector<GSensorSample> g;
    ASSERT_TRUE(ReadLayout3Track(Write("l3", tail + Zeros(5120 - tail.size())), track, g));
    ASSERT_EQ(track.size(), 2u);
    EXPECT_NEAR(track[0].latitude, 22.541667, 1e-6);
    EXPECT_DOUBLE_EQ(track[0].longitude, 114.0);
    EXPECT_EQ(track[0].year, 24);
    EXPECT_EQ(track[1].flags, 0);
    EXPECT_EQ(Xyz(g), (Triples{{1, 2, 3}}));
}

TEST_F(TrackReaderTest, Layout3NeedsTheCameraTagAndSize) {
    std::vector<GpsFix> track;
    std::vector<GSensorSample> g;
    const Bytes tail = TailBoxes("xxxx", RawFix(1, 1, 1, 1, 1, 1, 1, 1), "");
    EXPECT_FALSE(ReadLayout3Track(Write("tag", Zeros(880) + tail + Zeros(5120 - tail.size())), track, g));
    const Bytes good = TailBoxes("noml", "", "");
    EXPECT_FALSE(ReadLayout3Track(Write("small", good + Zeros(5119 - good.size())), track, g));
    EXPECT_TRUE(ReadLayout3Track(Write("big", Zeros(9000) + good + Zeros(5120 - good.size())), track, g));
    EXPECT_TRUE(track.empty());
}

TEST_F(TrackReaderTest, FindTailBoxLeavesPositionWhenMissing) {
    const auto path = Write("tail", Box("aaaa", Zeros(10)) + Box("bbbb", Zeros(5200)));
    BoundedFile file;
    ASSERT_TRUE(file.Open(path));
    uint64_t pos = 0;
    EXPECT_EQ(FindTailBox(file, FourCC("cccc"), pos), 0u) << "stops at a payload larger than the tail";
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(FindTailBox(file, FourCC("aaaa"), pos), 10u);
    EXPECT_EQ(pos, 8u);
}
