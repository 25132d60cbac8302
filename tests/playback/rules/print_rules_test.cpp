// Placement of the window picture on the printed page.
#include "print_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintTargetRect, WidePictureFillsThePrintableWidth) {
    // 1250 x 560 on 4800 x 6600: scale 3.84, printed 4800 x 2150 from the printable corner.
    EXPECT_EQ(PrintTargetRect({1250, 560}, {0, 0, 4800, 6600}), QRect(0, 0, 4800, 2150));
    EXPECT_EQ(PrintTargetRect({1250, 560}, {150, 120, 4800, 6600}), QRect(150, 120, 4800, 2150));
}

TEST(PrintTargetRect, TallPictureFillsThePrintableHeight) {
    // 600 x 1000 on 6600 x 4800 (landscape page): scale 4.8, 2880 x 4800.
    EXPECT_EQ(PrintTargetRect({600, 1000}, {10, 20, 6600, 4800}), QRect(10, 20, 2880, 4800));
    // Same proportions as the page: the whole printable area.
    EXPECT_EQ(PrintTargetRect({480, 660}, {0, 0, 4800, 6600}), QRect(0, 0, 4800, 6600));
}

TEST(PrintTargetRect, TruncatesTheOtherSideAndNeverLosesAPixelOnTheFilledOne) {
    // 1000 x 3 on 4961 x 7016: 3 * 4.961 = 14.883 -> 14 high; the width is the page's 4961 exactly.
    EXPECT_EQ(PrintTargetRect({1000, 3}, {0, 0, 4961, 7016}), QRect(0, 0, 4961, 14));
    for (int w = 1; w <= 3000; w += 7) {
        const QRect r = PrintTargetRect({w, 1}, {0, 0, 4800, 6600});
        ASSERT_EQ(r.width(), 4800) << w;
        ASSERT_LE(r.height(), 6600) << w;
    }
}

TEST(PrintTargetRect, EmptyPictureOrPageGivesNothingToPrint) {
    EXPECT_TRUE(PrintTargetRect({0, 0}, {0, 0, 4800, 6600}).isEmpty());
    EXPECT_TRUE(PrintTargetRect({1250, 0}, {0, 0, 4800, 6600}).isEmpty());
    EXPECT_TRUE(PrintTargetRect({1250, 560}, {0, 0, 0, 6600}).isEmpty());
}

} // namespace
