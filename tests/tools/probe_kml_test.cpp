// veltrix-probe --kml: the viewer's KML export of one recording from the command line, checked
// line by line against a rendering of the fixes that the probe's own track loading reads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "parser_factory.h"
#include "probe_track.h"
#include "program_run.h"
#include "video_parser.h"

namespace {

struct KmlRun : ProgramRun {
    std::string err;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

KmlRun RunKml(const std::string& args) {
    const auto errFile = fixtures::ScratchDir("probe_kml_stderr") / "err.txt";
    // Braced initialisers run in order: the error text is read once the program has ended.
    return KmlRun{
        RunProgram(std::string(VELTRIX_PROBE_EXE) + " --kml " + args + " 2>'" + errFile.string() + "'"),
        ReadText(errFile)};
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// "%f,%f,%d" of every valid fix, done here from the fixes as the probe's track loading reads them.
std::vector<std::string> ExpectedCoordinates(const std::filesystem::path& file) {
    MediaInfo info;
    const auto parser = CreateVideoParser(file);
    parser->SetMediaInfo(&info);
    if (parser->Parse(file) != 0) return {};
    ProbeTrack track;
    if (!LoadTrackForProbe(file, info, track)) return {};
    std::vector<std::string> lines;
    for (const GpsFix& fix : track.fixes) {
        if (!(fix.flags & 1)) continue;
        double lat = fix.latitude, lon = fix.longitude;
        if (track.rawNmea) {
            const auto degrees = [](double nmea) {
                const double q = nmea / 100.0, whole = std::trunc(q);
                return whole + (q - whole) * 100.0 / 60.0;
            };
            if (lat / 100.0 >= 200.0 || lon / 100.0 >= 200.0) continue;
            lat = degrees(lat);
            lon = degrees(lon);
        }
        char line[128];
        std::snprintf(line, sizeof line, "%f,%f,%d", lon, lat, fix.altitude);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> CoordinateLines(const std::string& document) {
    std::vector<std::string> lines;
    std::istringstream in(document);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "        <coordinates>")
            inside = true;
        else if (inside && line.empty())
            break;
        else if (inside)
            lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(ProbeKml, WritesTheExportOfEveryLayoutIntoANewFolder) {
    const auto dir = fixtures::ScratchDir("probe_kml_layouts");
    for (TelemetryLayout layout : {0u, 1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, 3));
        telemetry.fixes[1].flags = 0; // one fix without a position
        const std::string name = "2024_06_01_1200" + std::to_string(10 + layout) + "_01.MP4";
        const auto written = fixtures::WriteRecording(dir / name, layout, telemetry);
        const auto out = dir / ("out" + std::to_string(layout)) / "sub";

        const KmlRun run = RunKml(Quoted(written.path) + " " + Quoted(out));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.err.empty()) << run.err;
        ASSERT_FALSE(run.out.empty());
        ASSERT_EQ(run.out.back(), '\n');
        const std::filesystem::path kml = run.out.substr(0, run.out.size() - 1);
        EXPECT_TRUE(kml.is_absolute());
        EXPECT_EQ(kml.parent_path(), std::filesystem::absolute(out));
        EXPECT_EQ(kml.filename().string().substr(0, 21), name.substr(0, 20) + "_");
        const std::string document = ReadText(kml);
        const std::vector<std::string> expected = ExpectedCoordinates(written.path);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(CoordinateLines(document), expected);
        EXPECT_NE(document.find("GPS Path of Car DV \"" + name + "\" 2024/06/01 "), std::string::npos)
            << "its own folder is the source: the bare name";
    }
}

TEST(ProbeKml, FailuresGoToStandardErrorWithStatus1) {
    const auto dir = fixtures::ScratchDir("probe_kml_failures");
    std::ofstream(dir / "not_a_recording.MP4") << "no boxes here";
    KmlRun run = RunKml(Quoted(dir / "not_a_recording.MP4") + " " + Quoted(dir / "out"));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());

    const auto recording = fixtures::WriteRecording(
        dir / "2024_06_01_120000_01.MP4", 4, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(4, 3)));
    std::ofstream(dir / "plain_file") << "x";
    run = RunKml(Quoted(recording.path) + " " + Quoted(dir / "plain_file" / "out"));
    EXPECT_EQ(run.status, 1) << "a folder that cannot be created";
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("plain_file"), std::string::npos) << run.err;

    run = RunKml(Quoted(recording.path));
    EXPECT_EQ(run.status, 2) << "usage";
}
