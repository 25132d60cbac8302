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

TEST(WinFontsTest, TextWiderThanItsCellGetsASmallerFontAndNarrowTextKeepsItsOwn) {
    const QFont font = WinFont("Consolas", -16);
    const QString dateTime = QStringLiteral("2024/06/01 12:00:09");
    const QFont fitted = FontFittingWidth(font, dateTime, 95);
    EXPECT_LT(fitted.pixelSize(), 16);
    EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(dateTime), 95);
    EXPECT_EQ(FontFittingWidth(font, QStringLiteral("D"), 95).pixelSize(), 16);
    // A cell too narrow for any size stops at the smallest one.
    EXPECT_EQ(FontFittingWidth(font, dateTime, 3).pixelSize(), 8);
}
