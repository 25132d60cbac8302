#include <gtest/gtest.h>

#include "window_position.h"

#include <climits>

namespace {

void ExpectPlacement(const WindowPlacement& p, int x, int y, int width, int height) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.width, width);
    EXPECT_EQ(p.height, height);
}

} // namespace

TEST(RestoredWindowPlacement, FirstStartUsesTheDefaultRectangle) {
    // Defaults of the WINPOS keys: 0, 0, 1250, 560.
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 0, 0, 1250, 560), 0, 0, 1250, 560);
    // A full-screen area smaller than the default gives the area's size.
    ExpectPlacement(RestoredWindowPlacement(1024, 500, 0, 0, 1250, 560), 0, 0, 1024, 500);
}

TEST(RestoredWindowPlacement, SizeIsRaisedToTheMinimum) {
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 100, 40, 900, 440), 100, 40, 1250, 560);
    // An inverted rectangle is as small as it gets.
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 300, 300, 10, 10), 300, 300, 1250, 560);
}

TEST(RestoredWindowPlacement, SavedSizeAboveTheMinimumIsKept) {
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 10, 20, 1610, 920), 10, 20, 1600, 900);
}

TEST(RestoredWindowPlacement, NegativeEdgesMoveToZero) {
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, -300, -40, 1000, 600), 0, 0, 1300, 640);
}

TEST(RestoredWindowPlacement, WindowNeverHangsOverTheRightOrBottomEdge) {
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 5000, 3000, 6250, 3560), 670, 520, 1250, 560);
    // Exactly at the last start that fits: kept.
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 670, 520, 1920, 1080), 670, 520, 1250, 560);
    // One pixel past it: pulled back.
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 671, 521, 1921, 1081), 670, 520, 1250, 560);
}

TEST(RestoredWindowPlacement, HugeSizesClampToTheScreen) {
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 0, 0, 10000, 9000), 0, 0, 1920, 1080);
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, 200, 100, 10000, 9000), 0, 0, 1920, 1080);
}

TEST(RestoredWindowPlacement, ExtremeSavedValuesStayDefined) {
    // Differences of these values overflow 32 bits; the result must still be on the screen.
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, INT_MIN, INT_MIN, INT_MAX, INT_MAX), 0, 0, 1920,
                    1080);
    ExpectPlacement(RestoredWindowPlacement(1920, 1080, INT_MAX, INT_MAX, INT_MIN, INT_MIN), 670, 520, 1250,
                    560);
}
