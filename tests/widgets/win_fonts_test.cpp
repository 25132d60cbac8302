#include "win_fonts.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

TEST(WinFontsTest, WindowsFamiliesMapToMetricCompatibleOnes) {
    EXPECT_EQ(LinuxFontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(LinuxFontFamily("consolas"), "DejaVu Sans Mono");
    EXPECT_EQ(LinuxFontFamily("Georgia"), "DejaVu Serif");
    EXPECT_EQ(LinuxFontFamily("Tahoma"), "Tahoma");
}

TEST(WinFontsTest, NegativeHeightIsPixelSizeAndPositiveIsACellThatFits) {
    EXPECT_EQ(WinFont("Arial", -14).pixelSize(), 14);
    for (int cell : {12, 16, 20, 32}) {
        const QFont font = WinFont("Arial", cell, true);
        EXPECT_LE(QFontMetrics(font).height(), cell) << cell;
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(larger).height(), cell) << cell;
        EXPECT_TRUE(font.bold());
    }
}
