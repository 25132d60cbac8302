// Track plotting: which fix and vehicle sample a playback time shows, what the page gets when a
// recording is loaded, during playback and after a seek, and what the gauges are told.
#include <gtest/gtest.h>

#include "map_scripts.h"
#include "parser_factory.h"
#include "script_batch.h"
#include "track_plot.h"
#include "track_rules.h"
#include "track_test_support.h"
#include "ts_writer.h"

namespace {

// A plot that took `fixes` (and `vehicles`) as the telemetry of entry 0 of `catalog`.
struct LoadedPlot {
    std::vector<RecordingEntry> catalog;
    CTrackPlot plot;
    LoadTrackResult load;
    UpdateAtTimeStatics statics;

    LoadedPlot(TelemetryLayout layout, std::vector<GpsFix> fixes, uint8_t gpsRate = 0,
               std::vector<VehicleSample> vehicles = {}) {
        catalog.push_back(MakeEntry("2024_03_15_081502_01.MP4", layout, gpsRate));
        RecordingTelemetry telemetry;
        telemetry.layout = layout;
        (layout == kLayoutBlocks ? telemetry.rawGps : telemetry.track) = std::move(fixes);
        telemetry.vehicles = std::move(vehicles);
        load = plot.TakeTrack(0, catalog, catalog[0].m_MediaInfo, TelemetryLoad::kLoaded, telemetry);
    }
    UpdateResult At(int64_t t, bool gsensor = false) {
        return plot.UpdateAtTime(t, gsensor, true, catalog, statics);
    }
};

QStringList Scripts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromLatin1(text);
    return list;
}

} // namespace

TEST(TrackPlotFixIndex, RateOfEachLayoutAndTheIndexOfATime) {
    EXPECT_EQ(GpsRateOf(MakeEntry("a.MP4", kLayoutJtdMeta).m_MediaInfo), 5.0);
    EXPECT_EQ(GpsRateOf(MakeEntry("a.MP4", kLayoutTailBoxes).m_MediaInfo), 5.0);
    EXPECT_EQ(GpsRateOf(MakeEntry("a.MP4", kLayoutBlocks).m_MediaInfo), 1.0);
    EXPECT_EQ(GpsRateOf(MakeEntry("a.MP4", kLayoutGpsBox).m_MediaInfo), 1.0);
    EXPECT_EQ(GpsRateOf(MakeEntry("a.MP4", kLayoutBlocks, 2).m_MediaInfo), 2.0);
    EXPECT_EQ(FixIndexForTime(1250, 5.0), 6u);
    EXPECT_EQ(FixIndexForTime(1250, 1.0), 1u);
    EXPECT_EQ(FixIndexForTime(10000, 2.0), 20u);
    EXPECT_EQ(FixIndexForTime(-1250, 5.0), 0u) << "a time before the start shows the first fix";
    EXPECT_GT(FixIndexForTime(INT64_MAX, 255.0), 1u << 30) << "saturates, never wraps";
}

TEST(TrackPlotFixIndex, UpdateMovesTheMarkerToTheFixOfTheTime) {
    LoadedPlot five(kLayoutJtdMeta, DistinctFixes(40)); // 5 fixes a second
    five.At(1000);
    const UpdateResult at1250 = five.At(1250);
    ASSERT_TRUE(at1250.movePos);
    EXPECT_EQ(at1250.movePos->latitude, DistinctFixes(40)[6].latitude);
    EXPECT_EQ(at1250.movePos->longitude, DistinctFixes(40)[6].longitude);
    EXPECT_EQ(at1250.movePos->layout, 1);

    std::vector<GpsFix> raw;
    for (int i = 0; i < 30; ++i)
        raw.push_back(MakeFix(2232.5 + i, 11357.12 + i)); // NMEA form
    LoadedPlot two(kLayoutBlocks, raw, 2);                // layout 0, two fixes a second
    two.At(9800);
    const UpdateResult at10s = two.At(10000);
    ASSERT_TRUE(at10s.movePos);
    EXPECT_DOUBLE_EQ(at10s.movePos->latitude, (2232.5 + 20) / 100.0) << "MovePos converts layout 0 itself";
    EXPECT_DOUBLE_EQ(at10s.movePos->longitude, (11357.12 + 20) / 100.0);
    EXPECT_EQ(at10s.movePos->layout, 0);
}

TEST(TrackPlotLoad, WholeTrackOfLayout0ConvertsAndSkipsUnusableFixes) {
    LoadedPlot loaded(kLayoutBlocks, {MakeFix(2232.5, 11357.12), MakeFix(25000.0, 11357.12),
                                      MakeFix(2232.6, 11357.13, 0), MakeFix(2232.5, 11357.12)});
    EXPECT_EQ(loaded.load.result, 1);
    EXPECT_EQ(loaded.load.scripts,
              Scripts({"pathdrived_delete()", "path_delete()", "path_plot(22.541667,113.952000)",
                       "path_plot(22.541667,113.952000)"}))
        << "latitude 25000 (250 after division) and the invalid fix are skipped; layout 0 has no "
           "repeat filter";
    EXPECT_FALSE(loaded.load.movePos) << "the layout-0 marker moves with the first update";
    EXPECT_EQ(loaded.plot.GetGpsRate(), 1.0);
}

TEST(TrackPlotLoad, RepeatFilterSendsAFixOnlyWhenBothCoordinatesChanged) {
    std::vector<GpsFix> fixes = DistinctFixes(6);
    fixes[4].longitude = fixes[3].longitude; // same longitude, other latitude
    fixes[5].flags = 2;                      // bit 0 clear: not valid
    LoadedPlot loaded(kLayoutJtdMeta, fixes);
    QStringList expected = Scripts({"pathdrived_delete()", "path_delete()"});
    for (int i : {0, 1, 2, 3})
        expected << PathPlotScript(fixes[i].latitude, fixes[i].longitude);
    EXPECT_EQ(loaded.load.scripts, expected);
    ASSERT_TRUE(loaded.load.movePos) << "layouts 1 to 4 start the marker at the first fix";
    EXPECT_EQ(loaded.load.movePos->latitude, fixes[0].latitude);
    EXPECT_EQ(loaded.plot.GetGpsRate(), 5.0);
}

TEST(TrackPlotLoad, AnHourOfFixesReachesThePageInAFewEngineCalls) {
    LoadedPlot loaded(kLayoutJtdMeta, DistinctFixes(3600 * 5));
    ASSERT_EQ(loaded.load.scripts.size(), 3600 * 5 + 2);
    for (const QString& script : loaded.load.scripts)
        ASSERT_TRUE(IsPlainCall(script)) << script.toStdString();
    EXPECT_LE(JoinScripts(loaded.load.scripts).size(), 3);
}

TEST(TrackPlotLoad, TrackWithoutItsChunkListIsNotPlotted) {
    RecordingEntry entry = MakeEntry("a.MP4", kLayoutGpsBox);
    entry.m_MediaInfo.m_Chunks4.clear();
    std::vector<RecordingEntry> catalog{entry};
    RecordingTelemetry telemetry;
    telemetry.track = DistinctFixes(3);
    CTrackPlot plot;
    const LoadTrackResult load =
        plot.TakeTrack(0, catalog, entry.m_MediaInfo, TelemetryLoad::kLoaded, telemetry);
    EXPECT_EQ(load.result, 1);
    EXPECT_EQ(load.scripts, Scripts({"pathdrived_delete()", "path_delete()"}));
    EXPECT_FALSE(load.movePos);
    EXPECT_EQ(plot.GetGpsRate(), 1.0) << "the rate keeps its value";
}

TEST(TrackPlotLoad, IndexOutsideTheCatalogOrNoTelemetryChangesNothing) {
    std::vector<RecordingEntry> catalog{MakeEntry("a.MP4", kLayoutNone)};
    CTrackPlot plot;
    EXPECT_EQ(plot.LoadTrack(-1, catalog).result, 0);
    EXPECT_EQ(plot.LoadTrack(1, catalog).result, 0);
    const LoadTrackResult none = plot.LoadTrack(0, catalog);
    EXPECT_EQ(none.result, 0);
    EXPECT_TRUE(none.scripts.isEmpty());
    EXPECT_EQ(plot.GetCurrent(), -1);
}

TEST(TrackPlotUpdate, SameFixOrARepeatedCoordinateSendsNothing) {
    std::vector<GpsFix> fixes = DistinctFixes(10);
    fixes[4].latitude = fixes[3].latitude;
    LoadedPlot loaded(kLayoutGpsBox, fixes); // one fix a second
    EXPECT_TRUE(loaded.At(2000).movePos);
    const UpdateResult same = loaded.At(2500);
    EXPECT_EQ(same.result, 1);
    EXPECT_FALSE(same.movePos);
    EXPECT_TRUE(same.scripts.isEmpty());
    EXPECT_TRUE(loaded.At(3000).movePos);
    const UpdateResult repeated = loaded.At(4000);
    EXPECT_EQ(repeated.result, 1);
    EXPECT_FALSE(repeated.movePos) << "the latitude equals the last one given to MovePos";
}

TEST(TrackPlotUpdate, SeekBackFrom60To10SecondsEmptiesAndRedrawsTheDrivenLine) {
    LoadedPlot loaded(kLayoutGpsBox, DistinctFixes(100));
    for (int64_t t = 58000; t <= 60000; t += 500)
        loaded.At(t);
    const UpdateResult back = loaded.At(10000);
    EXPECT_EQ(back.result, 1);
    EXPECT_EQ(back.scripts, Scripts({"pathdrived_delete()"}));
    EXPECT_FALSE(back.movePos);

    const DrivenPathResult redraw = loaded.plot.RebuildDrivenPath(10000, loaded.catalog);
    EXPECT_EQ(redraw.result, 1);
    ASSERT_EQ(redraw.scripts.size(), 11);
    EXPECT_EQ(redraw.scripts[0], "pathdrived_delete()");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(redraw.scripts[i + 1], PathDrivedPlotScript(10.0 + i / 1000.0, 20.0 + i / 500.0));
    // The fix of 10 s itself comes with the next update.
    const UpdateResult next = loaded.At(10000);
    ASSERT_TRUE(next.movePos);
    EXPECT_EQ(next.movePos->latitude, 10.0 + 10 / 1000.0);
}

TEST(TrackPlotUpdate, JumpOverThreeSecondsRestartsTheDrivenLine) {
    LoadedPlot loaded(kLayoutJtdMeta, DistinctFixes(100));
    loaded.At(4500);
    EXPECT_TRUE(loaded.At(4900).movePos);
    const UpdateResult jump = loaded.At(9000);
    EXPECT_EQ(jump.scripts, Scripts({"pathdrived_delete()"}));
    EXPECT_FALSE(jump.movePos);
    EXPECT_TRUE(loaded.At(9200).movePos) << "the line grows again from the marker's next moves";
    EXPECT_EQ(loaded.At(0).scripts, Scripts({"pathdrived_delete()"})) << "the start of a file";
}

TEST(TrackPlotUpdate, EmptyGpsBlockBlanksSpeedAndCompassAtEveryUpdate) {
    LoadedPlot loaded(kLayoutBlocks, {});
    for (int64_t t : {0, 1000, 5000}) {
        const UpdateResult update = loaded.At(t);
        EXPECT_EQ(update.result, 0);
        EXPECT_EQ(update.fixDisplay, FixDisplay::kBlank);
        EXPECT_FALSE(update.movePos);
    }
}

TEST(TrackPlotUpdate, ValidFixShowsSpeedAndHeadingInvalidFixBlanks) {
    std::vector<GpsFix> fixes = DistinctFixes(5);
    fixes[2].speed = 57;
    fixes[2].heading = 45;
    fixes[3] = MakeFix(0, 0, 0);
    LoadedPlot loaded(kLayoutGpsBox, fixes);
    loaded.At(1500);
    const UpdateResult shown = loaded.At(2000);
    EXPECT_EQ(shown.fixDisplay, FixDisplay::kShow);
    EXPECT_EQ(shown.headingDegrees, 90);
    EXPECT_EQ(shown.speed, 57);
    const UpdateResult invalid = loaded.At(3000);
    EXPECT_EQ(invalid.fixDisplay, FixDisplay::kBlank);
    EXPECT_EQ(invalid.result, 1);
    EXPECT_FALSE(invalid.movePos);
    EXPECT_EQ(loaded.At(5000).result, 0) << "at or beyond the last fix";
}

TEST(TrackPlotUpdate, InvalidLayout0FixBlanksAndKeepsTheMarker) {
    LoadedPlot loaded(kLayoutBlocks,
                      {MakeFix(2232.5, 11357.12), MakeFix(0, 0, 0), MakeFix(2233.5, 11358.12)});
    ASSERT_TRUE(loaded.At(500).movePos);
    const UpdateResult invalid = loaded.At(1000);
    EXPECT_EQ(invalid.result, 1);
    EXPECT_EQ(invalid.fixDisplay, FixDisplay::kBlank);
    EXPECT_FALSE(invalid.movePos) << "(0, 0) is not a place";
    const UpdateResult next = loaded.At(2000);
    ASSERT_TRUE(next.movePos);
    EXPECT_DOUBLE_EQ(next.movePos->latitude, 22.335);
}

TEST(TrackPlotUpdate, CurrentRecordingExistsOnlyInsideTheCatalogAndForItsOwnTrack) {
    LoadedPlot loaded(kLayoutJtdMeta, DistinctFixes(20));
    EXPECT_NE(loaded.plot.CurrentTelemetry(loaded.catalog), nullptr);

    const std::vector<RecordingEntry> empty;
    EXPECT_EQ(loaded.plot.CurrentTelemetry(empty), nullptr);
    const UpdateResult shrunk = loaded.plot.UpdateAtTime(1000, false, true, empty, loaded.statics);
    EXPECT_EQ(shrunk.result, 0);
    EXPECT_EQ(shrunk.fixDisplay, FixDisplay::kBlank);

    std::vector<RecordingEntry> rescanned{MakeEntry("2024_03_15_090000_01.MP4", kLayoutJtdMeta)};
    EXPECT_EQ(loaded.plot.CurrentTelemetry(rescanned), nullptr) << "another recording now has index 0";

    CTrackPlot fresh;
    EXPECT_EQ(fresh.GetCurrent(), -1);
    EXPECT_EQ(fresh.CurrentTelemetry(loaded.catalog), nullptr);
    EXPECT_EQ(fresh.RebuildDrivenPath(5000, loaded.catalog).scripts, Scripts({"pathdrived_delete()"}));
    EXPECT_EQ(fresh.RebuildDrivenPath(5000, empty).result, 0);
}

TEST(TrackPlotUpdate, CurveCursorAndLookDownCodes) {
    RecordingTelemetry telemetry;
    telemetry.layout = kLayoutVideMeta;
    telemetry.track = DistinctFixes(10);
    telemetry.gsensor = {{0x0110, 0x02F0, 0x0005}};
    std::vector<RecordingEntry> catalog{MakeEntry("a.MP4", kLayoutVideMeta)};
    CTrackPlot plot;
    const LoadTrackResult load =
        plot.TakeTrack(0, catalog, catalog[0].m_MediaInfo, TelemetryLoad::kLoaded, telemetry);
    ASSERT_TRUE(load.curve);
    ASSERT_EQ(load.curve->samples.size(), 1u);
    EXPECT_EQ(load.curve->samples[0].x, 0x10) << "low byte as signed 8-bit";
    EXPECT_EQ(load.curve->samples[0].y, -16);
    EXPECT_EQ(load.curve->gsensorAttr[0], 10);
    EXPECT_EQ(plot.GetGsensorCount(), 1u);
    EXPECT_EQ(plot.GetLookDownAxisH(), 0);
    EXPECT_EQ(plot.GetLookDownAxisV(), 4);

    UpdateAtTimeStatics statics;
    const UpdateResult shown = plot.UpdateAtTime(1234, true, true, catalog, statics);
    ASSERT_TRUE(shown.curvePosition);
    EXPECT_EQ(*shown.curvePosition, 1234);
    EXPECT_FALSE(plot.UpdateAtTime(1300, false, true, catalog, statics).curvePosition);

    EXPECT_DOUBLE_EQ(LookDownValues(0, 4, 1, 2, 3).second, 3);
    EXPECT_DOUBLE_EQ(LookDownValues(1, 3, 1, 2, 3).first, -1);
    EXPECT_DOUBLE_EQ(LookDownValues(1, 3, 1, 2, 3).second, -2);
    EXPECT_DOUBLE_EQ(LookDownValues(5, 2, 1, 2, 3).first, -3);
    EXPECT_DOUBLE_EQ(LookDownValues(9, 9, 1, 2, 3).first, 1) << "unknown codes give x";
    EXPECT_DOUBLE_EQ(LookDownValues(9, 9, 1, 2, 3).second, 2) << "and y";
}

TEST(TrackPlotVehicle, SampleOfATimeWithTheOneThirdRule) {
    EXPECT_EQ(VehicleSampleIndex(0, 5, 100), 0u);
    EXPECT_EQ(VehicleSampleIndex(266, 5, 100), 1u) << "66 ms into a 200 ms period: not yet a third";
    EXPECT_EQ(VehicleSampleIndex(267, 5, 100), 2u);
    EXPECT_EQ(VehicleSampleIndex(-500, 5, 100), 0u) << "a time before the start counts as 0";
    EXPECT_EQ(VehicleSampleIndex(60000, 5, 100), 99u) << "limited to the last sample";
    EXPECT_EQ(VehicleSampleIndex(1999, 2000, 10000), 3998u) << "a period below 1 ms never rounds up";
    EXPECT_EQ(VehicleSampleIndex(5000, 0, 10), 0u);

    std::vector<VehicleSample> vehicles(50);
    LoadedPlot loaded(kLayoutVideMeta, DistinctFixes(50), 0, vehicles);
    EXPECT_EQ(loaded.load.vehicleSample, std::optional<size_t>(0));
    EXPECT_EQ(loaded.At(1267).vehicleSample, std::optional<size_t>(7));
    LoadedPlot blocks(kLayoutBlocks, {});
    EXPECT_FALSE(blocks.At(1000).vehicleSample);
}

TEST(TrackPlotUpdate, ProcessWideValuesOutliveARecording) {
    LoadedPlot first(kLayoutGpsBox, DistinctFixes(10));
    first.plot.UpdateAtTime(2000, false, true, first.catalog);
    first.plot.UpdateAtTime(2500, false, true, first.catalog);
    EXPECT_EQ(ProcessUpdateAtTimeStatics().s_dLastTime, 2500.0);
    LoadedPlot second(kLayoutGpsBox, DistinctFixes(10));
    const UpdateResult start = second.plot.UpdateAtTime(0, false, true, second.catalog);
    EXPECT_EQ(start.scripts, Scripts({"pathdrived_delete()"})) << "its first update at 0 restarts";
    EXPECT_EQ(ProcessUpdateAtTimeStatics().s_dLastTime, 0.0);
}

TEST(TrackPlotFiles, LoadsARecordingOnceAndForgetsItWhenItCannotBeOpened) {
    fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutBlocks, 3);
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    const auto dir = fixtures::ScratchDir("track_plot_files");
    const auto written = fixtures::WriteRecording(dir / "2024_06_01_140000_01.MP4", kLayoutBlocks, telemetry);
    RecordingEntry entry;
    entry.m_strFolder = dir.string() + "/";
    entry.m_strFileName = "2024_06_01_140000_01.MP4";
    const auto parser = CreateVideoParser(written.path);
    parser->SetMediaInfo(&entry.m_MediaInfo);
    ASSERT_EQ(parser->Parse(written.path), 0);
    std::vector<RecordingEntry> catalog{entry};

    CTrackPlot plot;
    const LoadTrackResult load = plot.LoadTrack(0, catalog);
    EXPECT_EQ(load.result, 1);
    ASSERT_TRUE(load.curve);
    EXPECT_EQ(load.curve->samples.size(), telemetry.gsensor.size());
    EXPECT_EQ(plot.GetGsensorCount(), telemetry.gsensor.size() * 6);
    EXPECT_EQ(load.scripts.size(), static_cast<qsizetype>(telemetry.fixes.size() + 2));

    // A GPS block that reaches past the end of the file is not read; the G-sensor block still is.
    catalog[0].m_MediaInfo.m_ullGpsOffset = written.fileSize - 8;
    const LoadTrackResult partial = plot.LoadTrack(0, catalog);
    EXPECT_EQ(partial.result, 1);
    EXPECT_EQ(partial.scripts.size(), 2);
    ASSERT_TRUE(partial.curve);
    EXPECT_TRUE(plot.CurrentTelemetry(catalog)->rawGps.empty());

    std::filesystem::remove(written.path);
    const LoadTrackResult missing = plot.LoadTrack(0, catalog);
    EXPECT_EQ(missing.result, 0);
    EXPECT_TRUE(missing.clearCurve) << "the previous curve does not stay on screen";
    EXPECT_FALSE(missing.curve);
    EXPECT_EQ(plot.GetGsensorCount(), 0u);
    EXPECT_EQ(plot.CurrentTelemetry(catalog), nullptr);
    UpdateAtTimeStatics statics;
    EXPECT_EQ(plot.UpdateAtTime(1000, true, true, catalog, statics).fixDisplay, FixDisplay::kBlank);
}

TEST(TrackPlotFiles, TransportStreamIsWalkedForItsRecordsWhenOpened) {
    const fixtures::Telemetry telemetry =
        fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 3));
    const auto dir = fixtures::ScratchDir("track_plot_ts");
    const auto written = fixtures::WriteTsRecording(dir / "2024_06_01_140000_01.TS", telemetry);
    RecordingEntry entry;
    entry.m_strFolder = dir.string();
    entry.m_strFileName = "2024_06_01_140000_01.TS";
    const auto parser = CreateVideoParser(written.path);
    parser->SetMediaInfo(&entry.m_MediaInfo);
    ASSERT_EQ(parser->Parse(written.path), 0);
    ASSERT_EQ(entry.m_MediaInfo.m_uLayout, kLayoutVideMeta);
    ASSERT_TRUE(entry.m_MediaInfo.m_Chunks2.empty()) << "the catalog's probe reads only the ends";
    std::vector<RecordingEntry> catalog{entry};

    CTrackPlot plot;
    const LoadTrackResult load = plot.LoadTrack(0, catalog);
    EXPECT_EQ(load.result, 1);
    const RecordingTelemetry* loaded = plot.CurrentTelemetry(catalog);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->track.size(), written.chunkOffsets.size());
    EXPECT_EQ(loaded->vehicles.size(), written.chunkOffsets.size());
    EXPECT_TRUE(load.movePos);
    EXPECT_EQ(load.vehicleSample, std::optional<size_t>(0));
}
