// Where the trip bar goes: under the seek slider, as wide as it, without moving what lies below.
#include "control_ids.h"
#include "main_layout.h"

#include <gtest/gtest.h>

namespace {

LayoutParams ClientOf(int width, int height) {
    LayoutParams params;
    params.width = width;
    params.height = height;
    params.gsensorHeight = 80;
    return params;
}

} // namespace

TEST(TripBarLayout, BarSitsUnderTheSeekSliderAndTakesItsHeightFromTheVideo) {
    for (const bool gsr : {true, false}) {
        for (const int viewMode : {0, 1, 2}) {
            LayoutParams params = ClientOf(1920, 1080);
            params.gsrShown = gsr;
            params.viewMode = viewMode;
            const LayoutResult plain = LayOutControls(params);
            params.tripBarShown = true;
            const LayoutResult trip = LayOutControls(params);

            EXPECT_TRUE(plain.Find(IDC_TRIP_BAR).isEmpty());
            const QRect bar = trip.Find(IDC_TRIP_BAR);
            const QRect slider = trip.Find(IDC_SEEK_SLIDER);
            EXPECT_EQ(bar.left(), slider.left());
            EXPECT_EQ(bar.width(), slider.width());
            EXPECT_EQ(bar.height(), kTripBarHeight);
            EXPECT_EQ(bar.top(), slider.top() + kTripBarStep);
            EXPECT_GT(bar.top(), slider.bottom()); // no overlap with the slider
            EXPECT_LT(bar.bottom(), trip.Find(IDC_GSENSOR).top());

            EXPECT_EQ(trip.videoHeight, plain.videoHeight - kTripBarStep);
            EXPECT_EQ(trip.Find(IDC_FRONT_FRAME).height(), plain.Find(IDC_FRONT_FRAME).height() - kTripBarStep);
            // Below the bar everything stays where it was.
            EXPECT_EQ(trip.lowerTop, plain.lowerTop);
            EXPECT_EQ(trip.Find(IDC_GSENSOR), plain.Find(IDC_GSENSOR));
            EXPECT_EQ(trip.Find(IDC_PLAY), plain.Find(IDC_PLAY));
        }
    }
}

TEST(TripBarLayout, BarStaysInsideTheSmallestWindow) {
    LayoutParams params = ClientOf(kGripMinWidth, kGripMinHeight);
    params.tripBarShown = true;
    const LayoutResult layout = LayOutControls(params);
    const QRect client(0, 0, kGripMinWidth, kGripMinHeight);
    EXPECT_TRUE(client.contains(layout.Find(IDC_TRIP_BAR)));
    EXPECT_GT(layout.videoHeight, 0);
}
