// The map of a trip: the route is sent once; moving along the trip, across its recordings, only
// moves the car and the driven part.
#include <gtest/gtest.h>

#include "map_scripts.h"
#include "trip_map_scripts.h"

namespace {

// Points every 1000 ms; recording 0 up to 4000 ms, recording 1 from 5000 ms. Points 2 and 3 share
// their place (a stop).
std::vector<RoutePoint> Route() {
    std::vector<RoutePoint> route;
    for (int i = 0; i < 10; ++i) {
        const int place = i == 3 ? 2 : i;
        route.push_back({50.0 + place / 1000.0, 10.0 + place / 1000.0, i * 1000, 30, i < 5 ? 0u : 1u});
    }
    return route;
}

int CountStarting(const QStringList& scripts, const QString& prefix) {
    int n = 0;
    for (const QString& s : scripts)
        n += s.startsWith(prefix);
    return n;
}

bool TouchesTheRoute(const QStringList& scripts) {
    return CountStarting(scripts, "path_plot(") + CountStarting(scripts, "path_delete(") != 0;
}

} // namespace

TEST(TripMap, RouteOnceThenOnlyCarAndDrivenPartAcrossRecordings) {
    const std::vector<RoutePoint> route = Route();
    CTripMapFollower follower;
    const TripMapStep start = follower.Start(route, 2500);
    ASSERT_GE(start.scripts.size(), 2);
    EXPECT_EQ(start.scripts[0], kPathDrivedDeleteScript);
    EXPECT_EQ(start.scripts[1], kPathDeleteScript);
    EXPECT_EQ(CountStarting(start.scripts, "path_plot("), 9) << "ten points, one repeated place";
    EXPECT_EQ(start.scripts.filter("path_plot(").first(), PathPlotScript(50.0, 10.0));
    // The driven part before the car's point 2, then the car on it.
    EXPECT_EQ(CountStarting(start.scripts, "pathdrived_plot("), 2);
    ASSERT_TRUE(start.movePos);
    EXPECT_DOUBLE_EQ(start.movePos->latitude, 50.002);
    EXPECT_NE(start.movePos->layout, 0) << "decimal degrees: MovePos must not convert";

    // Playing on inside the first recording: same point, nothing; the next point, only the car.
    EXPECT_TRUE(follower.MoveTo(2900).scripts.isEmpty());
    EXPECT_FALSE(follower.MoveTo(2900).movePos);
    const TripMapStep next = follower.MoveTo(3100);
    EXPECT_TRUE(next.scripts.isEmpty());
    ASSERT_TRUE(next.movePos);

    // Across the boundary into the second recording, skipping a point: the skipped point joins the
    // driven line, the car moves on; the route and the driven part are not redrawn.
    const TripMapStep across = follower.MoveTo(5200);
    EXPECT_FALSE(TouchesTheRoute(across.scripts));
    EXPECT_EQ(across.scripts, QStringList{PathDrivedPlotScript(50.004, 10.004)});
    ASSERT_TRUE(across.movePos);
    EXPECT_DOUBLE_EQ(across.movePos->latitude, 50.005);

    // A jump back (the trip bar): the driven part is drawn again up to the moment; never the route.
    const TripMapStep back = follower.MoveTo(1000);
    EXPECT_FALSE(TouchesTheRoute(back.scripts));
    EXPECT_EQ(back.scripts, (QStringList{kPathDrivedDeleteScript, PathDrivedPlotScript(50.0, 10.0)}));
    ASSERT_TRUE(back.movePos);
    EXPECT_DOUBLE_EQ(back.movePos->latitude, 50.001);

    // A jump ahead by more than 3 s also redraws the driven part.
    const TripMapStep ahead = follower.MoveTo(9000);
    EXPECT_FALSE(TouchesTheRoute(ahead.scripts));
    EXPECT_EQ(CountStarting(ahead.scripts, "pathdrived_delete("), 1);
    EXPECT_EQ(CountStarting(ahead.scripts, "pathdrived_plot("), 9);
}

TEST(TripMap, DrivenScriptsStopAtTheGivenPoint) {
    const std::vector<RoutePoint> route = Route();
    EXPECT_EQ(TripDrivenScripts(route, 0), QStringList{kPathDrivedDeleteScript});
    EXPECT_EQ(TripDrivenScripts(route, 99).size(), 11);
    EXPECT_EQ(TripRouteScripts({}), (QStringList{kPathDrivedDeleteScript, kPathDeleteScript}));
}
