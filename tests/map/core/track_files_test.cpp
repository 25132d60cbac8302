// The track files written from real recordings as the window loads them: the CSV reads back into
// the telemetry's own numbers, the GPX holds the usable fixes, and files land whole or not at all.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <locale>
#include <sstream>

#include "coordinates.h"
#include "csv_export.h"
#include "fixture_writer.h"
#include "gpx_export.h"
#include "local_time.h"
#include "parser_factory.h"
#include "recording_telemetry.h"
#include "track_rules.h"

namespace {
struct Loaded {
    std::filesystem::path path;
    MediaInfo info;
    RecordingTelemetry telemetry;
    TrackFileRecording Source() const { return TrackFileRecordingOf(path, info, telemetry); }
};

Loaded WriteAndLoad(const std::filesystem::path& path, TelemetryLayout layout, const fixtures::Telemetry& t) {
    fixtures::WriteRecording(path, layout, t, {}, fixtures::SampleClip(160, 120, 3));
    Loaded r;
    r.path = path;
    const auto parser = CreateVideoParser(path);
    parser->SetMediaInfo(&r.info);
    EXPECT_EQ(parser->Parse(path), 0);
    EXPECT_EQ(LoadRecordingTelemetry(path, r.info, r.telemetry), TelemetryLoad::kLoaded);
    return r;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t next; (next = text.find(separator, at)) != std::string::npos; at = next + separator.size())
        parts.push_back(text.substr(at, next - at));
    parts.push_back(text.substr(at));
    return parts;
}

double Read(const std::string& field) {
    double value = NAN;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(ec == std::errc() && end == field.data() + field.size()) << "'" << field << "'";
    return value;
}

size_t Nearest(double timeMs, double rate, size_t count) {
    return std::min(count - 1, static_cast<size_t>(std::llround(timeMs * rate / 1000.0)));
}

// Every row against the recording it came from.
void ExpectRowsMatch(const std::vector<std::vector<std::string>>& rows, size_t firstRow, const Loaded& r) {
    const auto& gs = r.telemetry.GSensor();
    const double rate = r.info.m_GsensorAttr[0];
    const uint8_t scale = r.info.m_GsensorAttr[1];
    ASSERT_GE(rows.size(), firstRow + gs.size());
    for (size_t i = 0; i < gs.size(); ++i) {
        const auto& row = rows[firstRow + i];
        SCOPED_TRACE("sample " + std::to_string(i));
        ASSERT_EQ(row.size(), 24u);
        EXPECT_EQ(row[0], r.path.filename().string());
        EXPECT_EQ(Read(row[1]), i * 1000.0 / rate);
        if (gs[i].x == 128) {
            for (int c = 3; c <= 6; ++c)
                EXPECT_EQ(row[c], "");
        } else {
            EXPECT_EQ(Read(row[3]), GSensorAxisToG(gs[i].x, scale));
            EXPECT_EQ(Read(row[4]), GSensorAxisToG(gs[i].y, scale));
            EXPECT_EQ(Read(row[5]), GSensorAxisToG(gs[i].z, scale));
        }
        const auto& fixes = r.telemetry.Fixes();
        const auto where = PlottedPosition(fixes[Nearest(i * 1000.0 / rate, GpsRateOf(r.info), fixes.size())],
                                           r.telemetry.layout);
        ASSERT_TRUE(where.has_value());
        EXPECT_EQ(Read(row[7]), where->latitude);
        EXPECT_EQ(Read(row[8]), where->longitude);
        const auto& vehicles = r.telemetry.vehicles;
        if (vehicles.empty()) {
            EXPECT_EQ(row[12], "");
        } else {
            const VehicleSample& v =
                vehicles[Nearest(i * 1000.0 / rate, r.info.m_uVehicleRate, vehicles.size())];
            EXPECT_EQ(Read(row[12]), v.speed / 62.0);
            EXPECT_EQ(Read(row[13]), v.engineSpeed);
        }
    }
}
} // namespace

TEST(TrackFiles, CsvOfATripReadsBackIntoTheSameNumbers) {
    const auto dir = fixtures::ScratchDir("track-files-csv");
    // A layout-2 recording (fixes, samples and vehicle values five a second) and a layout-0 one
    // (raw NMEA fixes once a second, ten samples a second, one of them a missing reading).
    fixtures::Telemetry bus = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 4));
    const Loaded first = WriteAndLoad(dir / "2024_06_01_120000_01.MP4", kLayoutVideMeta, bus);
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutBlocks, 4);
    drive.offsetSeconds = 4;
    fixtures::Telemetry blocks = fixtures::SimulateDrive(drive);
    blocks.gsensor[7] = {128, 0, 16};
    const Loaded second = WriteAndLoad(dir / "2024_06_01_120004_02.MP4", kLayoutBlocks, blocks);
    ASSERT_FALSE(first.telemetry.vehicles.empty());

    const TrackFileRecording trip[] = {first.Source(), second.Source()};
    std::ostringstream out;
    WriteTelemetryCsv(out, trip);
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(out.str(), "\r\n"))
        rows.push_back(Split(line, ","));
    ASSERT_EQ(rows.back(), std::vector<std::string>{""}); // the text ends with a line end
    rows.pop_back();
    EXPECT_EQ(rows[0][0], "recording");
    EXPECT_EQ(rows[0][7], "latitude");
    EXPECT_EQ(rows.size(), 1 + first.telemetry.GSensor().size() + second.telemetry.GSensor().size());
    ExpectRowsMatch(rows, 1, first);
    ExpectRowsMatch(rows, 1 + first.telemetry.GSensor().size(), second);
    // The local time of the sample 1.4 s into the first recording.
    EXPECT_EQ(rows[1 + 7][2], FormatLocalTime(first.info.m_llStartTime + 1, "%Y-%m-%d %H:%M:%S") + ".400");
}

TEST(TrackFiles, CsvNamesAndUnavailableValues) {
    EXPECT_EQ(CsvField("plain.MP4"), "plain.MP4");
    EXPECT_EQ(CsvField("a,b \"c\".MP4"), "\"a,b \"\"c\"\".MP4\"");
    VehicleSample v = fixtures::UnavailableVehicleSample();
    const GpsFix invalid{};
    const GSensorSample g{16, 0, 16};
    TrackFileRecording r;
    r.fileName = "odd\xFF,name.TS";
    r.layout = kLayoutVideMeta;
    r.fixes = std::span(&invalid, 1);
    r.gsensor = std::span(&g, 1);
    r.vehicles = std::span(&v, 1);
    r.gsensorRate = 5;
    r.vehicleRate = 5;
    std::ostringstream out;
    WriteTelemetryCsv(out, std::span(&r, 1));
    const std::string row = Split(out.str(), "\r\n")[1];
    // The name is valid UTF-8 and quoted; an invalid fix and an unavailable bus leave empty fields.
    EXPECT_EQ(row.substr(0, row.find(".TS\"") + 4), "\"odd\xEF\xBF\xBD,name.TS\"");
    EXPECT_NE(row.find(",1,0,1,1,,,,,,,,,,,,,,,,,"), std::string::npos) << row;
}

TEST(TrackFiles, GpxOfALoadedRecording) {
    const auto dir = fixtures::ScratchDir("track-files-gpx");
    fixtures::Telemetry t = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutBlocks, 5));
    t.fixes[2].flags = 0; // not valid: left out
    const Loaded r = WriteAndLoad(dir / "2024_06_01_120000_01.MP4", kLayoutBlocks, t);
    const TrackFileRecording source = r.Source();
    std::ostringstream out;
    WriteGpx(out, std::span(&source, 1));
    const std::string gpx = out.str();
    EXPECT_NE(gpx.find("creator=\"Veltrix\""), std::string::npos);
    EXPECT_NE(gpx.find("<name>2024_06_01_120000_01.MP4</name>"), std::string::npos);
    size_t points = 0;
    for (size_t at = gpx.find("<trkpt"); at != std::string::npos; at = gpx.find("<trkpt", at + 1))
        ++points;
    EXPECT_EQ(points, t.fixes.size() - 1);
    // The first point is the first fix, its NMEA block converted back to degrees.
    const auto where = RawFixToDegrees(r.telemetry.Fixes()[0]);
    ASSERT_TRUE(where.has_value());
    const std::string first = gpx.substr(gpx.find("<trkpt lat=\"") + 12);
    EXPECT_EQ(Read(first.substr(0, first.find('"'))), where->latitude);
}

TEST(TrackFiles, SavedWholeOrNotAtAll) {
    const auto dir = fixtures::ScratchDir("track-files-save");
    const auto path = dir / "trip.csv";
    EXPECT_EQ(SaveTrackFile(path, "first\r\n"), "");
    EXPECT_EQ(SaveTrackFile(path, "second\r\n"), "");
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "second\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1); // no temporary left
    // Named like the KML export of the same recording.
    EXPECT_EQ(TrackFileName("2024_06_01_120000_01.MP4", 1717243200, ".GPX"),
              "2024_06_01_120000_01" + FormatLocalTime(1717243200, "_%Y_%m_%d_%H-%M-%S") + ".GPX");
    const std::string problem = SaveTrackFile(dir / "no-such-folder" / "trip.csv", "x");
    EXPECT_NE(problem.find("no-such-folder"), std::string::npos) << problem;
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

namespace {
// A locale that writes numbers the German way: "1.234,5".
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
} // namespace

TEST(TrackFiles, NumbersIgnoreTheStreamLocale) {
    GpsFix fix{};
    fix.latitude = 52.516275;
    fix.longitude = 13.377704;
    fix.altitude = 1234;
    fix.flags = 1;
    const GSensorSample g{8, -4, 16};
    TrackFileRecording r;
    r.fileName = "a.MP4";
    r.layout = kLayoutVideMeta;
    r.fixes = std::span(&fix, 1);
    r.gsensor = std::span(&g, 1);
    r.gsensorRate = 5;
    std::ostringstream csv, gpx;
    csv.imbue(std::locale(std::locale::classic(), new CommaDecimal));
    gpx.imbue(csv.getloc());
    WriteTelemetryCsv(csv, std::span(&r, 1));
    WriteGpx(gpx, std::span(&r, 1));
    EXPECT_NE(csv.str().find(",0.5,-0.25,1,0.5590169943749475,52.516275,13.377704,1234,"), std::string::npos)
        << csv.str();
    EXPECT_NE(gpx.str().find("<trkpt lat=\"52.516275\" lon=\"13.377704\"><ele>1234</ele>"), std::string::npos)
        << gpx.str();
}
