// KML export: the file name, the document line by line against a golden file, names that are not
// XML-safe or not UTF-8, numbers under a comma locale, failures on the way to the disk, and the
// command's choice of message.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "kml_command.h"
#include "kml_export.h"
#include "local_time.h"
#include "parser_factory.h"
#include "recording_telemetry.h"
#include "track_plot.h"
#include "track_test_support.h"

namespace {

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines between <coordinates> and the empty line that ends them.
std::vector<std::string> CoordinateLines(const std::string& document) {
    const std::vector<std::string> lines = Lines(document);
    std::vector<std::string> coordinates;
    for (size_t i = 18; i < lines.size() && !lines[i].empty(); ++i)
        coordinates.push_back(lines[i]);
    return coordinates;
}

// Computed when first asked: the test zone is set before main, not before this file's statics.
int64_t StartTime() {
    return LocalWallClockToTime(2024, 3, 15, 8, 15, 2);
}

KmlRecording Recording(const std::string& name, const std::string& subfolder = "DCIM/") {
    return {name, subfolder, StartTime()};
}

std::string Export(const std::string& dirName, TelemetryLayout layout, const std::vector<GpsFix>& fixes) {
    const auto dir = fixtures::ScratchDir(dirName);
    const auto path = WriteKmlExport(dir, Recording("2024_03_15_081502_01.MP4"), layout, fixes);
    return path ? ReadText(*path) : std::string();
}

// No file of the folder but those named.
std::vector<std::string> FolderNames(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(dir))
        names.push_back(item.path().filename().string());
    return names;
}

} // namespace

TEST(KmlName, StemStartTimeAndExtension) {
    EXPECT_EQ(KmlFileName("2024_03_15_081502_01.MP4", StartTime()),
              "2024_03_15_081502_01_2024_03_15_08-15-02.KML");
    EXPECT_EQ(KmlFileName("2024_03_15_081502_01.TS", StartTime()),
              "2024_03_15_081502_01_2024_03_15_08-15-02.KML")
        << "a two-letter extension keeps the whole stem";
    EXPECT_EQ(KmlFileName("2024_03_15_081502_01_b.MOV", StartTime()),
              "2024_03_15_081502_01_b_2024_03_15_08-15-02.KML");
}

TEST(KmlDocument, MatchesTheGoldenFileOfAFixtureRecording) {
    // Layout 0: the raw block's NMEA coordinates, an invalid fix, two fixes on one longitude.
    fixtures::Telemetry telemetry;
    telemetry.startTime = StartTime();
    telemetry.fixes = {MakeFix(52.516275, 13.377704, 1, 34), MakeFix(52.5168, 13.3781, 0, 35),
                       MakeFix(52.517035, 13.388860, 1, 36), MakeFix(52.519, 13.388860, 1, -2)};
    const auto dir = fixtures::ScratchDir("kml_golden");
    std::filesystem::create_directories(dir / "DCIM");
    const auto written =
        fixtures::WriteRecording(dir / "DCIM" / "2024_03_15_081502_01.MP4", kLayoutBlocks, telemetry);
    MediaInfo info;
    const auto parser = CreateVideoParser(written.path);
    parser->SetMediaInfo(&info);
    ASSERT_EQ(parser->Parse(written.path), 0);
    RecordingTelemetry loaded;
    ASSERT_EQ(LoadRecordingTelemetry(written.path, info, loaded), TelemetryLoad::kLoaded);

    const auto out = fixtures::ScratchDir("kml_golden_out");
    const auto path = WriteKmlExport(out, {"2024_03_15_081502_01.MP4", "DCIM/", info.m_llStartTime},
                                     loaded.layout, loaded.Fixes());
    ASSERT_TRUE(path);
    EXPECT_EQ(path->filename(), "2024_03_15_081502_01_2024_03_15_08-15-02.KML");
    const std::string golden =
        ReadText(std::filesystem::path(VELTRIX_MAP_GOLDEN_DIR) / "layout0_fixture.KML");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(Lines(ReadText(*path)), Lines(golden));
    EXPECT_EQ(ReadText(*path), golden) << "line feeds only, no byte-order mark";
}

TEST(KmlDocument, OneLinePerValidFixLongitudeFirst) {
    const std::string doc =
        Export("kml_layout1", kLayoutJtdMeta,
               {MakeFix(22.541667, 113.952, 1, 12), MakeFix(1, 2, 2, 3), MakeFix(-33.86882, 113.952, 1, -7)});
    EXPECT_EQ(CoordinateLines(doc),
              (std::vector<std::string>{"113.952000,22.541667,12", "113.952000,-33.868820,-7"}))
        << "the fix with flags 2 is not valid; the equal longitude is no reason to skip";

    EXPECT_EQ(CoordinateLines(Export("kml_raw", kLayoutBlocks,
                                     {MakeFix(2232.5, 11357.12, 1, 35), MakeFix(25000, 11357.12, 1, 1)})),
              std::vector<std::string>{"113.952000,22.541667,35"});

    const std::vector<std::string> empty = Lines(Export("kml_empty", kLayoutGpsBox, {}));
    ASSERT_EQ(empty.size(), 24u) << "line 19 missing, the empty line 20 still written";
    EXPECT_EQ(empty[17], "        <coordinates>");
    EXPECT_EQ(empty[18], "");
    EXPECT_EQ(empty[19], "        </coordinates>");
    EXPECT_TRUE(CoordinateLines(Export("kml_none", kLayoutNone, DistinctFixes(3))).empty());
}

TEST(KmlDocument, NumbersKeepTheirPointUnderACommaLocale) {
    if (!UseCommaLocale()) GTEST_SKIP() << "no German locale can be built here (localedef)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale really writes a decimal comma";
    const std::string doc = Export("kml_comma", kLayoutBlocks, {MakeFix(2232.5, 11357.12, 1, 35)});
    UseClassicLocale();
    EXPECT_EQ(CoordinateLines(doc), std::vector<std::string>{"113.952000,22.541667,35"});
}

TEST(KmlText, NamesAreEscapedAndValidUtf8) {
    EXPECT_EQ(EscapeXml("a&b<c>\"d\"'"), "a&amp;b&lt;c&gt;&quot;d&quot;'");
    EXPECT_EQ(ToValidUtf8("Stra\xC3\x9F"
                          "e \xE2\x82\xAC \xF0\x9F\x9A\x97"),
              "Stra\xC3\x9F"
              "e \xE2\x82\xAC \xF0\x9F\x9A\x97");
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(ToValidUtf8("\xFF"), fffd);
    EXPECT_EQ(ToValidUtf8("a\xC0\xAF"
                          "b"),
              "a" + fffd + fffd + "b")
        << "overlong form";
    EXPECT_EQ(ToValidUtf8("\xED\xA0\x80"), fffd + fffd + fffd) << "surrogate";
    EXPECT_EQ(ToValidUtf8("x\xE2\x82"), "x" + fffd + fffd) << "cut-off sequence";
    EXPECT_EQ(ToValidUtf8("\x01\t"), fffd + "\t") << "control characters XML does not allow";

    const auto dir = fixtures::ScratchDir("kml_names");
    const auto path = WriteKmlExport(dir, Recording("a&b<c>\"\xFF.MP4", "R&D/"), kLayoutJtdMeta, {});
    ASSERT_TRUE(path);
    EXPECT_EQ(path->filename().string(), "a&b<c>\"\xFF_2024_03_15_08-15-02.KML")
        << "the file keeps its bytes";
    const std::vector<std::string> lines = Lines(ReadText(*path));
    EXPECT_EQ(lines[3], "    <name>a&amp;b&lt;c&gt;&quot;" + fffd + ".MP4</name>");
    EXPECT_EQ(lines[13], "      <description>GPS Path of Car DV \"R&amp;D/a&amp;b&lt;c&gt;&quot;" + fffd +
                             ".MP4\" 2024/03/15 08:15:02</description>");
}

TEST(KmlText, SecondDescriptionJoinsFolderAndNameWithOneSlash) {
    EXPECT_EQ(KmlSecondDescription(Recording("2024_03_15_081502_01.MP4")),
              "\"DCIM/2024_03_15_081502_01.MP4\" 2024/03/15 08:15:02");
    EXPECT_EQ(KmlSecondDescription(Recording("x.MP4", "")), "\"x.MP4\" 2024/03/15 08:15:02");
    EXPECT_EQ(KmlSecondDescription(Recording("x.MP4", "DCIM")), "\"DCIM/x.MP4\" 2024/03/15 08:15:02");
    EXPECT_EQ(KmlSecondDescription(Recording("x.MP4", "a/b//")), "\"a/b/x.MP4\" 2024/03/15 08:15:02");
}

TEST(KmlFile, ExportingTwiceReplacesTheFirstFile) {
    const auto dir = fixtures::ScratchDir("kml_twice");
    ASSERT_TRUE(WriteKmlExport(dir, Recording("2024_03_15_081502_01.MP4"), kLayoutGpsBox, DistinctFixes(3)));
    const auto second =
        WriteKmlExport(dir, Recording("2024_03_15_081502_01.MP4"), kLayoutGpsBox, DistinctFixes(1));
    ASSERT_TRUE(second);
    EXPECT_EQ(CoordinateLines(ReadText(*second)).size(), 1u);
    EXPECT_EQ(FolderNames(dir).size(), 1u) << "no temporary file left";
}

TEST(KmlFile, FolderThatCannotHoldFilesFails) {
    const auto dir = fixtures::ScratchDir("kml_no_folder");
    std::ofstream(dir / "plain_file") << "x";
    EXPECT_FALSE(WriteKmlExport(dir / "plain_file", Recording("a.MP4"), kLayoutGpsBox, DistinctFixes(3)));
    EXPECT_FALSE(WriteKmlExport(dir / "missing", Recording("a.MP4"), kLayoutGpsBox, DistinctFixes(3)));
}

TEST(KmlFile, WriteErrorLikeAFullDiskFailsAndKeepsThePreviousFile) {
    const auto dir = fixtures::ScratchDir("kml_full");
    const auto first = WriteKmlExport(dir, Recording("a.MP4"), kLayoutGpsBox, DistinctFixes(2));
    ASSERT_TRUE(first);
    const std::string before = ReadText(*first);

    // Files may grow to 2000 bytes only: the next write past that fails as on a full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 2000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto failed = WriteKmlExport(dir, Recording("a.MP4"), kLayoutGpsBox, DistinctFixes(5000));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(failed);
    EXPECT_EQ(ReadText(*first), before);
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{first->filename().string()});
}

TEST(KmlFile, FileKeepsNothingUnlessOpened) {
    CKmlFile file;
    EXPECT_FALSE(file.WriteHeader("a", "", "b"));
    EXPECT_FALSE(file.WritePoint(1, 2, 3));
    EXPECT_FALSE(file.Close());
    const auto dir = fixtures::ScratchDir("kml_abandoned");
    {
        CKmlFile abandoned;
        ASSERT_TRUE(abandoned.Open(dir / "x.KML"));
        EXPECT_TRUE(abandoned.WritePoint(1, 2, 3));
    }
    EXPECT_TRUE(FolderNames(dir).empty()) << "a file never closed leaves nothing behind";
}

TEST(KmlCommand, MessageForEachOutcome) {
    const auto dir = fixtures::ScratchDir("kml_command");
    CTrackPlot plot;
    EXPECT_EQ(ExportKml({}, plot, dir / "KML").textId, IDS_NO_FILES_IN_LIST);
    EXPECT_EQ(ExportKml({}, plot, dir / "KML").captionId, IDS_OK);

    std::vector<RecordingEntry> catalog{MakeEntry("2024_03_15_081502_01.MP4", kLayoutGpsBox)};
    catalog[0].m_MediaInfo.m_llStartTime = StartTime();
    const KmlCommandOutcome none = ExportKml(catalog, plot, dir / "KML");
    EXPECT_EQ(none.textId, IDS_KML_FAILED) << "no recording is current yet";
    EXPECT_TRUE(none.path.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "KML"));

    RecordingTelemetry telemetry;
    telemetry.layout = kLayoutGpsBox;
    telemetry.track = DistinctFixes(4);
    plot.TakeTrack(0, catalog, catalog[0].m_MediaInfo, TelemetryLoad::kLoaded, telemetry);
    const KmlCommandOutcome saved = ExportKml(catalog, plot, dir / "Halvorn Veltrix" / "KML" / "");
    EXPECT_EQ(saved.textId, IDS_KML_SAVED);
    EXPECT_EQ(saved.captionId, IDS_KML_CAPTION);
    EXPECT_EQ(saved.path,
              (dir / "Halvorn Veltrix" / "KML" / "2024_03_15_081502_01_2024_03_15_08-15-02.KML").string());
    EXPECT_EQ(CoordinateLines(ReadText(saved.path)).size(), 4u);
    EXPECT_EQ(KmlOutcomeText(saved), "Save KML file: " + saved.path + " OK.");
    EXPECT_EQ(KmlOutcomeText(none), "Save KML file: Failed.");

    std::vector<RecordingEntry> rescanned{MakeEntry("2024_03_15_090000_01.MP4", kLayoutGpsBox)};
    EXPECT_EQ(ExportKml(rescanned, plot, dir / "other").textId, IDS_KML_FAILED)
        << "never another recording's track under this one's name";
    std::ofstream(dir / "blocked") << "x";
    EXPECT_EQ(ExportKml(catalog, plot, dir / "blocked" / "KML").textId, IDS_KML_FAILED);
}
