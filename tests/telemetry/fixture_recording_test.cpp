// The readers on real, playable recordings of every layout written by the fixture writer.
#ifdef VELTRIX_HAVE_FIXTURES

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "coordinates.h"
#include "fixture_writer.h"
#include "mp4_reader.h"
#include "track_reader.h"

namespace {
struct ReadBack {
    std::vector<GpsFix> fixes;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
};

fixtures::Telemetry Drive(int fixRate, int gsensorRate, int seconds = 3) {
    fixtures::DriveSpec drive;
    drive.seconds = seconds;
    drive.fixRate = fixRate;
    drive.gsensorRate = gsensorRate;
    return fixtures::SimulateDrive(drive);
}

ReadBack ReadTrack(const fixtures::WrittenRecording& written, const MediaInfo& info) {
    ReadBack r;
    switch (info.m_uLayout) {
    case kLayoutJtdMeta:
        EXPECT_TRUE(ReadLayout1Track(written.path, info.m_Chunks1, r.fixes, r.gsensor));
        break;
    case kLayoutVideMeta:
        EXPECT_TRUE(ReadLayout2Track(written.path, info.m_Chunks2, r.fixes, r.gsensor, r.vehicles));
        break;
    case kLayoutTailBoxes:
        EXPECT_TRUE(ReadLayout3Track(written.path, r.fixes, r.gsensor));
        break;
    case kLayoutGpsBox:
        EXPECT_TRUE(ReadLayout4Track(written.path, info.m_Chunks4, r.fixes, r.gsensor));
        break;
    default:
        ADD_FAILURE() << "no track procedure for layout " << info.m_uLayout;
    }
    return r;
}

std::vector<uint64_t> Offsets(const std::vector<ChunkRef>& chunks) {
    std::vector<uint64_t> out;
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].index, static_cast<int32_t>(i));
        out.push_back(chunks[i].offset);
    }
    return out;
}

// Coordinates go through single-precision rationals in layouts 1, 2 and 4.
void ExpectSameFixes(const std::vector<GpsFix>& expected, const std::vector<GpsFix>& actual,
                     double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("fix " + std::to_string(i));
        EXPECT_EQ(actual[i].IsValid(), expected[i].IsValid());
        if (!expected[i].IsValid()) continue;
        EXPECT_NEAR(actual[i].latitude, expected[i].latitude, tolerance);
        EXPECT_NEAR(actual[i].longitude, expected[i].longitude, tolerance);
        EXPECT_EQ(actual[i].speed, expected[i].speed);
        EXPECT_EQ(std::memcmp(&actual[i].year, &expected[i].year, 6), 0) << "date and time";
    }
}

void ExpectSameSamples(const std::vector<GSensorSample>& expected, const std::vector<GSensorSample>& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(actual[i].x == expected[i].x && actual[i].y == expected[i].y &&
                    actual[i].z == expected[i].z)
            << "sample " << i;
}

// ffprobe's view of the same file: width, height and duration in seconds.
struct FfprobeView {
    int width = 0, height = 0;
    double seconds = 0;
};
FfprobeView Ffprobe(const std::filesystem::path& path) {
    const std::string command = "ffprobe -v error -select_streams v:0 -show_entries stream=width,height "
                                "-show_entries format=duration -of default=noprint_wrappers=1 '" +
                                path.string() + "'";
    FfprobeView view;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return view;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        std::sscanf(line, "width=%d", &view.width);
        std::sscanf(line, "height=%d", &view.height);
        std::sscanf(line, "duration=%lf", &view.seconds);
    }
    pclose(pipe);
    return view;
}
} // namespace

class FixtureRecordingTest : public ::testing::TestWithParam<TelemetryLayout> {
  protected:
    std::filesystem::path Out(const std::string& name) {
        return fixtures::ScratchDir("telemetry-" + std::to_string(GetParam())) / name;
    }
    int Parse(const std::filesystem::path& path, MediaInfo& info) {
        COrvex3gpParser parser;
        parser.SetMediaInfo(&info);
        return parser.Parse(path);
    }
};

TEST_P(FixtureRecordingTest, ParseFindsWhatWasWrittenAndTrackReadsBack) {
    const TelemetryLayout layout = GetParam();
    // Layouts 1 and 2 carry one fix and one G-sensor sample per record, five records a second;
    // layout 4 one fix and five G-sensor samples per record, one record a second.
    const bool perRecord = layout == kLayoutJtdMeta || layout == kLayoutVideMeta;
    const int gsensorRate = perRecord || layout == kLayoutGpsBox ? 5 : 10;
    const fixtures::Telemetry telemetry = Drive(perRecord ? 5 : 1, gsensorRate, layout == 3 ? 2 : 3);
    const fixtures::WrittenRecording written =
        fixtures::WriteRecording(Out("rec.MP4"), layout, telemetry, {}, fixtures::SampleClip(160, 120, 3));

    MediaInfo info;
    ASSERT_EQ(Parse(written.path, info), 0);
    EXPECT_EQ(info.m_uLayout, layout);
    EXPECT_EQ(info.m_wWidth, written.width);
    EXPECT_EQ(info.m_wHeight, written.height);
    EXPECT_EQ(info.m_uDurationMs, written.durationMs);
    EXPECT_EQ(info.m_llStartTime, written.startTime);
    EXPECT_EQ(info.m_ullFileSize, written.fileSize);
    const FfprobeView ffprobe = Ffprobe(written.path);
    EXPECT_EQ(ffprobe.width, info.m_wWidth);
    EXPECT_EQ(ffprobe.height, info.m_wHeight);
    EXPECT_EQ(static_cast<uint32_t>(ffprobe.seconds) * 1000, info.m_uDurationMs);

    if (layout == kLayoutBlocks) {
        EXPECT_EQ(info.m_ullGpsOffset, written.gpsOffset);
        EXPECT_EQ(info.m_uGpsSize, written.gpsSize);
        EXPECT_EQ(info.m_ullGsensorOffset, written.gsensorOffset);
        EXPECT_EQ(info.m_uGsensorSize, written.gsensorSize);
        EXPECT_EQ(info.m_GpsAttr[0], telemetry.gpsAttr[0]);
        EXPECT_EQ(info.m_GsensorAttr[1], telemetry.gsensorAttr[1]);
        return;
    }
    const std::vector<ChunkRef>& chunks = layout == 1   ? info.m_Chunks1
                                          : layout == 2 ? info.m_Chunks2
                                                        : info.m_Chunks4;
    EXPECT_EQ(Offsets(chunks), written.chunkOffsets);
    EXPECT_EQ(info.m_GpsAttr[0], perRecord ? 5 : 1);

    const ReadBack back = ReadTrack(written, info);
    ExpectSameFixes(telemetry.fixes, back.fixes, layout == kLayoutTailBoxes ? 1e-9 : 2e-5);
    ExpectSameSamples(telemetry.gsensor, back.gsensor);
    if (layout == kLayoutVideMeta) {
        ASSERT_EQ(back.vehicles.size(), telemetry.vehicle.size());
        for (size_t i = 0; i < back.vehicles.size(); ++i)
            EXPECT_EQ(std::memcmp(&back.vehicles[i], &telemetry.vehicle[i], sizeof(VehicleSample)), 0) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, FixtureRecordingTest, ::testing::Values(0u, 1u, 2u, 3u, 4u));

class FixtureEdgeTest : public ::testing::Test {
  protected:
    fixtures::WrittenRecording Write(const char* name, TelemetryLayout layout,
                                     const fixtures::WriteOptions& options) {
        return fixtures::WriteRecording(fixtures::ScratchDir("telemetry-edge") / name, layout, Drive(5, 5, 2),
                                        options, fixtures::SampleClip(160, 120, 3));
    }
    int Parse(const fixtures::WrittenRecording& written, MediaInfo& info) {
        COrvex3gpParser parser;
        parser.SetMediaInfo(&info);
        return parser.Parse(written.path);
    }
};

TEST_F(FixtureEdgeTest, Layout4WithMovieAfterMediaDataIsAccepted) {
    fixtures::WriteOptions options;
    options.moov = fixtures::MoovPlacement::kAfterMdat;
    const auto written = Write("late.MP4", kLayoutGpsBox, options);
    MediaInfo info;
    ASSERT_EQ(Parse(written, info), 0);
    EXPECT_EQ(Offsets(info.m_Chunks4), written.chunkOffsets);
}

TEST_F(FixtureEdgeTest, Layout0MarkersAndStartTimeSources) {
    fixtures::WriteOptions options;
    options.skipMarker = 1;
    MediaInfo info;
    EXPECT_EQ(Parse(Write("marker.MP4", kLayoutBlocks, options), info), -1);

    options.skipMarker = 0;
    options.iditText = "2024-06-01 25:00:00";
    options.iditAfterGps = true;
    ASSERT_EQ(Parse(Write("withdrawn.MP4", kLayoutBlocks, options), info), 0);
    EXPECT_EQ(info.m_llStartTime, 0);

    options.iditAfterGps = false;
    options.blocksInMoov = true;
    const auto inMovie = Write("inmoov.MP4", kLayoutBlocks, options);
    MediaInfo fromGps;
    ASSERT_EQ(Parse(inMovie, fromGps), 0) << "blocks as children of the movie box";
    EXPECT_EQ(fromGps.m_ullGpsOffset, inMovie.gpsOffset);
    EXPECT_EQ(fromGps.m_llStartTime, inMovie.startTime) << "invalid IDIT first, then the GPS block's date";
}

TEST_F(FixtureEdgeTest, ChunkTablesThatDoNotFitAreIgnored) {
    fixtures::WriteOptions options;
    options.chunkCountOverride = 0xFFFFFFFFu;
    MediaInfo info;
    ASSERT_EQ(Parse(Write("huge2.MP4", kLayoutVideMeta, options), info), 0);
    EXPECT_TRUE(info.m_Chunks2.empty());
    ASSERT_EQ(Parse(Write("huge4.MP4", kLayoutGpsBox, options), info), 0);
    EXPECT_TRUE(info.m_Chunks4.empty());
}

TEST_F(FixtureEdgeTest, UserDataAndNameDecideLayouts2And3) {
    fixtures::WriteOptions options;
    options.udtaPayloadSize = 34;
    MediaInfo info;
    COrvex3gpParser parser;
    parser.SetMediaInfo(&info);
    parser.Parse(Write("udta34.MP4", kLayoutVideMeta, options).path);
    EXPECT_EQ(parser.Layout(), kLayoutTailBoxes);
    options.udtaPayloadSize = 35;
    parser.Parse(Write("udta35.MP4", kLayoutVideMeta, options).path);
    EXPECT_EQ(parser.Layout(), kLayoutVideMeta);
}

TEST_F(FixtureEdgeTest, TruncatedRecordingsNeverCrash) {
    const auto written = Write("full.MP4", kLayoutVideMeta, {});
    MediaInfo info;
    ASSERT_EQ(Parse(written, info), 0);
    const auto cut = written.path.parent_path() / "cut.MP4";
    for (uint64_t size = 0; size < written.fileSize; size += 97) {
        std::filesystem::copy_file(written.path, cut, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(cut, size);
        MediaInfo partial;
        COrvex3gpParser parser;
        parser.SetMediaInfo(&partial);
        if (parser.Parse(cut) != 0) continue;
        std::vector<GpsFix> fixes;
        std::vector<GSensorSample> g;
        std::vector<VehicleSample> v;
        EXPECT_TRUE(ReadLayout2Track(cut, partial.m_Chunks2, fixes, g, v));
        EXPECT_LE(fixes.size(), partial.m_Chunks2.size());
    }
}

#endif
