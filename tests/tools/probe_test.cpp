#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <regex>
#include <sstream>
#include <string>

#include "coordinates.h"
#include "fixture_writer.h"
#include "gpx_writer.h"
#include "probe_json.h"
#include "program_run.h"

namespace {
GpsFix Fix(double lat, double lon, uint8_t flags) {
    GpsFix f;
    std::memset(&f, 0, sizeof f);
    f.latitude = lat;
    f.longitude = lon;
    f.altitude = -3;
    f.speed = 42;
    f.year = 24;
    f.month = 6;
    f.day = 1;
    f.hour = 9;
    f.minute = 5;
    f.second = 7;
    f.heading = 45;
    f.flags = flags;
    return f;
}

ProgramRun RunProbe(const std::string& args) {
    return RunProgram(std::string(VELTRIX_PROBE_EXE) + " " + args + " 2>/dev/null");
}
} // namespace

TEST(ProbeJson, FixArrays) {
    EXPECT_EQ(probe::FixJson(Fix(52.5, -13.25, 1), false), "[52.5,-13.25,-3,42,\"24-06-01 09:05:07\",90,1]");
    // Layout 0 raw fixes are NMEA; 200 degrees or more is the camera's "unusable".
    const std::string lat = probe::JsonNumber(NmeaToDegrees(5230.0)),
                      lon = probe::JsonNumber(NmeaToDegrees(1315.0));
    EXPECT_EQ(probe::FixJson(Fix(5230.0, 1315.0, 1), true),
              "[" + lat + "," + lon + ",-3,42,\"24-06-01 09:05:07\",90,1]");
    EXPECT_EQ(probe::FixJson(Fix(20000.0, 1315.0, 1), true), "[null,null,-3,42,\"24-06-01 09:05:07\",90,1]");
    EXPECT_EQ(probe::JsonNumber(std::nan("")), "null");
}

TEST(ProbeJson, GSensorInGAndVehicleRawFields) {
    EXPECT_EQ(probe::GSensorJson({16, -128, 0x0140}, 0), "[1,-8,4]") << "scale 0 means 8 G; low byte only";
    EXPECT_EQ(probe::GSensorJson({16, 0, 0}, 2), "[0.25,0,0]");
    VehicleSample v;
    std::memset(&v, 0, sizeof v);
    v.year = 2024;
    v.longitude = 0xFFFFFFFFu;
    v.steeringAngle = 128;
    const std::string json = probe::VehicleJson(v);
    EXPECT_NE(json.find("\"year\":2024"), std::string::npos);
    EXPECT_NE(json.find("\"steering_angle\":128"), std::string::npos);
    EXPECT_NE(json.find("\"longitude\":4294967295"), std::string::npos);
    EXPECT_EQ(json.find("reserved"), std::string::npos);
}

TEST(ProbeJson, StringsAreEscapedAndAlwaysValidUtf8) {
    EXPECT_EQ(probe::JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
    // A file name in another encoding: each stray byte becomes U+FFFD, valid sequences stay.
    EXPECT_EQ(probe::JsonString("\xFF\"\xC3\xA4.MP4"), "\"\\ufffd\\\"\xC3\xA4.MP4\"");
}

TEST(ProbeGpx, OnlyValidUsableFixes) {
    ProbeTrack track;
    track.rawNmea = true;
    track.fixes = {Fix(5230.0, 1315.0, 1), Fix(5230.0, 1315.0, 0), Fix(20000.0, 1315.0, 1)};
    std::ostringstream out;
    probe::WriteGpx(out, {{"/card/a&b.MP4", track}});
    const std::string gpx = out.str();
    EXPECT_NE(gpx.find("<gpx version=\"1.1\""), std::string::npos);
    EXPECT_NE(gpx.find("<name>a&amp;b.MP4</name>"), std::string::npos);
    const std::string point = "<trkpt lat=\"" + probe::JsonNumber(NmeaToDegrees(5230.0)) + "\" lon=\"" +
                              probe::JsonNumber(NmeaToDegrees(1315.0)) +
                              "\"><ele>-3</ele><time>2024-06-01T09:05:07</time></trkpt>";
    EXPECT_NE(gpx.find(point), std::string::npos) << gpx;
    size_t points = 0;
    for (size_t at = gpx.find("<trkpt"); at != std::string::npos; at = gpx.find("<trkpt", at + 1))
        ++points;
    EXPECT_EQ(points, 1u);
}

class ProbeProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const auto dir = fixtures::ScratchDir("probe-program");
        fixtures::DriveSpec drive;
        drive.seconds = 2;
        drive.fixRate = 5;
        drive.gsensorRate = 5;
        s_telemetry = fixtures::SimulateDrive(drive);
        s_layout2 = fixtures::WriteRecording(dir / "L2.MP4", kLayoutVideMeta, s_telemetry, {},
                                             fixtures::SampleClip(160, 120, 3));
        s_bad = dir / "bad.MP4";
        std::FILE* f = std::fopen(s_bad.c_str(), "wb");
        std::fputs("not a recording", f);
        std::fclose(f);
    }
    static inline fixtures::Telemetry s_telemetry;
    static inline fixtures::WrittenRecording s_layout2;
    static inline std::filesystem::path s_bad;
};

TEST_F(ProbeProgramTest, OneLinePerFileAndExitStatus) {
    const ProgramRun ok = RunProbe("'" + s_layout2.path.string() + "'");
    EXPECT_EQ(ok.status, 0);
    const std::regex head(
        R"(^\{"path":"[^"]*L2\.MP4","accepted":true,"layout":2,"width":160,"height":120,)"
        R"("duration_ms":3000,"start_time":\d+,"start_local":"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d",)"
        R"("file_size":\d+,"gps_rate":5,"gsensor_rate":5,"gsensor_scale":8,"vehicle_rate":5,)"
        R"("gps_block":\[0,0\],"gsensor_block":\[0,0\],"chunks":\{"1":0,"2":10,"4":0\}\}\n$)");
    EXPECT_TRUE(std::regex_match(ok.out, head)) << ok.out;

    const ProgramRun mixed = RunProbe("'" + s_layout2.path.string() + "' '" + s_bad.string() + "'");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(std::count(mixed.out.begin(), mixed.out.end(), '\n'), 2);
    EXPECT_NE(mixed.out.find("\"accepted\":false"), std::string::npos);

    EXPECT_EQ(RunProbe("").status, 2);
    EXPECT_EQ(RunProbe("--frobnicate x").status, 2);
}

TEST_F(ProbeProgramTest, TrackAndGpx) {
    const ProgramRun run = RunProbe("--track '" + s_layout2.path.string() + "'");
    ASSERT_EQ(run.status, 0);
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = run.out.find(what); at != std::string::npos; at = run.out.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("\"engine_speed\":"), s_telemetry.vehicle.size());
    EXPECT_NE(run.out.find("\"fixes\":[["), std::string::npos);
    EXPECT_NE(run.out.find("\"gsensor\":[["), std::string::npos);

    const ProgramRun gpx = RunProbe("--gpx '" + s_layout2.path.string() + "'");
    EXPECT_EQ(gpx.status, 0);
    size_t valid = 0;
    for (const GpsFix& f : s_telemetry.fixes)
        valid += f.IsValid();
    EXPECT_EQ(static_cast<size_t>(std::count(gpx.out.begin(), gpx.out.end(), '\n')), valid + 5) << gpx.out;
}

TEST_F(ProbeProgramTest, FileNameThatIsNotUtf8StillGivesValidJson) {
    const auto odd = s_layout2.path.parent_path() / "odd\xFF\"name.MP4";
    std::filesystem::copy_file(s_layout2.path, odd, std::filesystem::copy_options::overwrite_existing);
    const ProgramRun run = RunProbe("'" + odd.string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("odd\\ufffd\\\"name.MP4\",\"accepted\":true"), std::string::npos) << run.out;
    // Every other byte of the line is plain ASCII, so the line is valid UTF-8 as a whole.
    EXPECT_TRUE(std::all_of(run.out.begin(), run.out.end(), [](char c) { return (c & 0x80) == 0; }));
}

TEST(ProbeGpx, NameThatIsNotUtf8IsStillValidXml) {
    ProbeTrack track;
    std::ostringstream out;
    probe::WriteGpx(out, {{"/card/odd\xFF<name>.MP4", track}});
    EXPECT_NE(out.str().find("<name>odd\xEF\xBF\xBD&lt;name&gt;.MP4</name>"), std::string::npos) << out.str();
}
