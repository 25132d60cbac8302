// Track plotting on a real map page: a whole track from LoadTrack arrives as one burst, and a
// seek's redraw leaves the driven line holding exactly the fixes before the new time.
#include "map_test_support.h"
#include "track_plot.h"
#include "track_test_support.h"

using TrackOnMap = MapWindowFixture;

TEST_F(TrackOnMap, AnHourOfFixesArrivesInFewEngineCallsAndSeeksRedrawTheDrivenLine) {
    CMapBrowser* browser = ShowPage(2);
    ASSERT_NE(browser, nullptr);
    std::vector<RecordingEntry> catalog{MakeEntry("2024_03_15_081502_01.MP4", kLayoutJtdMeta)};
    RecordingTelemetry telemetry;
    telemetry.layout = kLayoutJtdMeta;
    telemetry.track = DistinctFixes(3600 * 5);
    CTrackPlot plot;
    const LoadTrackResult load =
        plot.TakeTrack(0, catalog, catalog[0].m_MediaInfo, TelemetryLoad::kLoaded, telemetry);

    const qint64 callsBefore = browser->EngineCallCount();
    ApplyToMap(dlg.get(), load.scripts, load.movePos);
    QJsonObject state = MapState(browser);
    EXPECT_EQ(state.value("path").toInt(), 3600 * 5);
    EXPECT_EQ(state.value("drived").toInt(), 1) << "the marker starts the driven line at the first fix";
    EXPECT_LE(browser->EngineCallCount() - callsBefore, 4);

    const DrivenPathResult redraw = plot.RebuildDrivenPath(60000, catalog); // 300 fixes at 5 a second
    ApplyToMap(dlg.get(), redraw.scripts, std::nullopt);
    EXPECT_EQ(MapState(browser).value("drived").toInt(), 300);
    EXPECT_EQ(MapState(browser).value("path").toInt(), 3600 * 5);
}
