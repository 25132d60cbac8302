// A trip on a real map page: the route arrives once, and playing through the trip's recordings
// only grows the driven line and moves the car; the route line keeps every point throughout.
#include <QJsonArray>

#include "map_test_support.h"
#include "trip_map_scripts.h"

using TripOnMap = MapWindowFixture;

TEST_F(TripOnMap, PlayingAcrossRecordingsNeverRedrawsTheRoute) {
    CMapBrowser* browser = ShowPage(2);
    ASSERT_NE(browser, nullptr);
    // Three recordings of 60 s with five distinct points a second.
    std::vector<RoutePoint> route;
    for (int i = 0; i < 900; ++i)
        route.push_back(
            {52.5 + i / 100000.0, 13.4 + i / 50000.0, i * 200, 40, static_cast<uint32_t>(i / 300)});
    CTripMapFollower follower;
    const TripMapStep start = follower.Start(route, 0);
    ApplyToMap(dlg.get(), start.scripts, start.movePos);
    QJsonObject state = MapState(browser);
    EXPECT_EQ(state.value("path").toInt(), 900);
    EXPECT_EQ(state.value("drived").toInt(), 1) << "the car starts the driven line";

    // Time reports every 250 ms up to 130 s: through the first boundary and the second.
    for (int64_t t = 250; t <= 130000; t += 250) {
        const TripMapStep step = follower.MoveTo(t);
        ApplyToMap(dlg.get(), step.scripts, step.movePos);
    }
    state = MapState(browser);
    EXPECT_EQ(state.value("path").toInt(), 900);
    EXPECT_EQ(state.value("drived").toInt(), 651) << "every point up to the car's (130 s x 5 + 1)";
    const QJsonArray car = state.value("car").toArray();
    ASSERT_EQ(car.size(), 2);
    EXPECT_NEAR(car[0].toDouble(), route[650].latitude, 1e-6);

    // The trip bar jumps back into the first recording: the driven line is cut back, the route kept.
    const TripMapStep back = follower.MoveTo(10000);
    ApplyToMap(dlg.get(), back.scripts, back.movePos);
    state = MapState(browser);
    EXPECT_EQ(state.value("path").toInt(), 900);
    EXPECT_EQ(state.value("drived").toInt(), 51);
}
