// The track readers read their records in blocks; whatever the chunk list looks like, they must
// deliver exactly what reading each record by itself delivers.
#ifdef VELTRIX_HAVE_FIXTURES

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "chunk_blocks.h"
#include "fixture_writer.h"
#include "mp4_reader.h"
#include "reader_test_support.h"
#include "track_reader.h"
#include "ts_reader.h"
#include "ts_writer.h"

namespace {

struct Arrays {
    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
    TrackReadEnd end = TrackReadEnd::kNotOpened;
};

size_t ChunkBytes(TelemetryLayout layout) {
    return layout == kLayoutJtdMeta ? kLayout1RecordBytes
           : layout == kLayoutVideMeta ? kLayout2RecordBytes
                                       : kLayout4ChunkBytes;
}

// The reference: one bounded read per record, as the readers did before they read in blocks.
Arrays OneByOne(const std::filesystem::path& path, TelemetryLayout layout, const std::vector<ChunkRef>& chunks) {
    Arrays a;
    BoundedFile file;
    if (!file.Open(path)) return a;
    std::vector<uint8_t> record(ChunkBytes(layout));
    a.end = TrackReadEnd::kComplete;
    try {
        for (const ChunkRef& chunk : chunks) {
            if (!file.TryReadAt(chunk.offset, record.data(), record.size())) continue;
            if (layout == kLayoutJtdMeta) AppendLayout1Record(record.data(), a.track, a.gsensor);
            if (layout == kLayoutVideMeta) AppendLayout2Record(record.data(), a.track, a.gsensor, a.vehicles);
            if (layout == kLayoutGpsBox) AppendLayout4Chunk(record.data(), a.track, a.gsensor);
        }
    } catch (const FileReadError&) {
        a.end = TrackReadEnd::kCutShort;
    }
    return a;
}

Arrays InBlocks(const std::filesystem::path& path, TelemetryLayout layout, const std::vector<ChunkRef>& chunks) {
    Arrays a;
    if (layout == kLayoutJtdMeta) ReadLayout1Track(path, chunks, a.track, a.gsensor, &a.end);
    if (layout == kLayoutVideMeta) ReadLayout2Track(path, chunks, a.track, a.gsensor, a.vehicles, &a.end);
    if (layout == kLayoutGpsBox) ReadLayout4Track(path, chunks, a.track, a.gsensor, &a.end);
    return a;
}

template <class T> bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void ExpectSame(const Arrays& blocks, const Arrays& single, const std::string& what) {
    EXPECT_EQ(blocks.end, single.end) << what;
    EXPECT_EQ(blocks.track.size(), single.track.size()) << what;
    EXPECT_TRUE(SameBytes(blocks.track, single.track)) << what;
    EXPECT_TRUE(SameBytes(blocks.gsensor, single.gsensor)) << what;
    EXPECT_TRUE(SameBytes(blocks.vehicles, single.vehicles)) << what;
}

const std::vector<ChunkRef>& ChunksOf(const MediaInfo& info, TelemetryLayout layout) {
    return layout == kLayoutJtdMeta ? info.m_Chunks1 : layout == kLayoutVideMeta ? info.m_Chunks2 : info.m_Chunks4;
}

// Chunk lists a reader can meet: the file's own, backwards, shuffled with repeats, offsets past the
// end and in the middle of records, and spread far apart (separate reads).
std::vector<std::pair<std::string, std::vector<ChunkRef>>> Variants(const std::vector<ChunkRef>& own,
                                                                     uint64_t fileSize) {
    std::vector<std::pair<std::string, std::vector<ChunkRef>>> out{{"own", own}};
    out.push_back({"backwards", {own.rbegin(), own.rend()}});
    std::vector<ChunkRef> mixed = own;
    mixed.insert(mixed.end(), own.begin(), own.begin() + static_cast<long>(own.size() / 3));
    std::shuffle(mixed.begin(), mixed.end(), std::mt19937(7));
    out.push_back({"shuffled with repeats", mixed});
    std::vector<ChunkRef> odd = own;
    for (size_t i = 0; i < odd.size(); i += 3)
        odd[i].offset += 5;
    odd.push_back({0, fileSize - 10});
    odd.push_back({0, fileSize});
    odd.push_back({0, ~0ull - 3});
    odd.push_back({0, 0});
    out.push_back({"misaligned and beyond the end", odd});
    std::vector<ChunkRef> sparse;
    for (uint64_t offset = 0; offset < fileSize; offset += CChunkBlockReader::kMaxGapBytes + 4097)
        sparse.push_back({0, offset});
    out.push_back({"spread through the file", sparse});
    return out;
}

} // namespace

class BlockReadTest : public ScratchFolder {};

TEST_F(BlockReadTest, EveryLayoutGivesTheSameArraysAsRecordByRecord) {
    for (TelemetryLayout layout : {kLayoutJtdMeta, kLayoutVideMeta, kLayoutGpsBox}) {
        fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(layout, 120);
        fixtures::WriteOptions options;
        options.sparsePadding = 3u << 20; // records after a large stretch of media
        const auto written = fixtures::WriteRecording(m_dir / ("rec" + std::to_string(layout) + ".MP4"), layout,
                                                      fixtures::SimulateDrive(drive), options);
        MediaInfo info;
        COrvex3gpParser parser;
        parser.SetMediaInfo(&info);
        ASSERT_EQ(parser.Parse(written.path), 0);
        ASSERT_FALSE(ChunksOf(info, layout).empty());
        for (const auto& [name, chunks] : Variants(ChunksOf(info, layout), written.fileSize)) {
            const Arrays single = OneByOne(written.path, layout, chunks);
            ExpectSame(InBlocks(written.path, layout, chunks), single,
                       "layout " + std::to_string(layout) + ", " + name);
            if (name == "own") {
                EXPECT_EQ(single.track.size(), ChunksOf(info, layout).size());
            }
        }
    }
}

TEST_F(BlockReadTest, TransportStreamRecordsSpreadThroughTheMedia) {
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutVideMeta, 20);
    const auto written = fixtures::WriteTsRecording(m_dir / "rec.TS", fixtures::SimulateDrive(drive));
    MediaInfo info;
    COrvexTsParser parser;
    parser.SetMediaInfo(&info);
    ASSERT_EQ(parser.ProbeTransportStream(written.path, true), 0);
    ASSERT_EQ(info.m_Chunks2.size(), written.chunkOffsets.size());
    const Arrays single = OneByOne(written.path, kLayoutVideMeta, info.m_Chunks2);
    ExpectSame(InBlocks(written.path, kLayoutVideMeta, info.m_Chunks2), single, "transport stream");
    EXPECT_EQ(single.track.size(), written.records.size());
}

TEST_F(BlockReadTest, AFileThatShrinksMidBlockKeepsTheRecordsBeforeTheCut) {
    const auto written = fixtures::WriteRecording(m_dir / "rec.MP4", kLayoutVideMeta,
                                                  fixtures::SimulateDrive(fixtures::DriveSpecForLayout(2, 60)));
    MediaInfo info;
    COrvex3gpParser parser;
    parser.SetMediaInfo(&info);
    ASSERT_EQ(parser.Parse(written.path), 0);
    const std::vector<ChunkRef>& chunks = info.m_Chunks2;
    ASSERT_GT(chunks.size(), 200u);
    // The cut falls in the middle of record 100, inside the one block the table is read in.
    const uint64_t cut = chunks[100].offset + 70;

    auto readCut = [&](bool blocks) {
        Arrays a;
        BoundedFile file;
        EXPECT_TRUE(file.Open(written.path));
        std::filesystem::resize_file(written.path, cut);
        if (blocks) {
            a.end = ReadLayout2Records(file, chunks, a.track, a.gsensor, a.vehicles);
        } else {
            a.end = TrackReadEnd::kComplete;
            uint8_t record[kLayout2RecordBytes];
            try {
                for (const ChunkRef& c : chunks)
                    if (file.TryReadAt(c.offset, record, sizeof record))
                        AppendLayout2Record(record, a.track, a.gsensor, a.vehicles);
            } catch (const FileReadError&) {
                a.end = TrackReadEnd::kCutShort;
            }
        }
        std::filesystem::resize_file(written.path, written.fileSize);
        return a;
    };
    const Arrays blocks = readCut(true);
    const Arrays single = readCut(false);
    ExpectSame(blocks, single, "shrunk file");
    EXPECT_EQ(blocks.end, TrackReadEnd::kCutShort);
    EXPECT_EQ(blocks.track.size(), 100u);
}

#endif
