// Glow text, colour matrices, the speed and playback-speed labels and the compass.
#include "glow_text.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "win_fonts.h"

namespace {

const QColor kBackground(5, 5, 5);

QImage GlowImage(const QString& text, int x, int y, int emSize, QSize size = QSize(80, 40)) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    DrawGlowText(painter, text, x, y, emSize);
    return image;
}

// Rows that hold any pixel other than the background.
std::pair<int, int> InkedRows(const QImage& image) {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != kBackground) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

} // namespace

TEST(GlowText, DrawsBelowTheLayoutOriginNotAboveIt) {
    const QImage image = GlowImage(QStringLiteral("88"), 0, 5, 20);
    const auto [first, last] = InkedRows(image);
    ASSERT_GE(first, 0) << "nothing drawn";
    // The glyph top sits near y + (ascent - cap height); the glow reaches 4 pixels beyond it.
    EXPECT_GE(first, 3);
    const qreal ascent = QFontMetricsF(WinFont(QStringLiteral("Arial"), -20)).ascent();
    EXPECT_GE(last, static_cast<int>(5 + ascent) - 2);
    EXPECT_LE(last, static_cast<int>(5 + ascent) + 6);
}

TEST(GlowText, FillColoursFollowFixedGradientsAndEmptyTextDrawsNothing) {
    // Inside a stroke of "I" the second fill dominates: opaque red-orange over the first fill.
    const QImage image = GlowImage(QStringLiteral("I"), 10, 5, 20);
    const QColor core = image.pixelColor(13, 14);
    EXPECT_GT(core.red(), 200);
    EXPECT_LT(core.blue(), 40);
    EXPECT_GT(core.red(), core.green());
    const auto [first, last] = InkedRows(GlowImage(QString(), 0, 5, 20));
    EXPECT_EQ(first, -1);
    EXPECT_EQ(last, -1);
}

TEST(GlowText, PathIsCutAtTheLongestText) {
    const QString longText(200, QLatin1Char('W'));
    const QRectF full = GlowTextPath(longText, 0, 0, 12).boundingRect();
    const QRectF cut = GlowTextPath(longText.left(kGlowTextMaxChars), 0, 0, 12).boundingRect();
    EXPECT_DOUBLE_EQ(full.width(), cut.width());
}

TEST(ColorMatrix, GreyScaleKeepsAlphaAndWorksOnStraightColours) {
    QImage image(2, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixelColor(0, 0, QColor(10, 20, 30, 255));
    image.setPixelColor(1, 0, QColor(200, 0, 0, 128));
    ApplyColorMatrix(image, kGrayScaleMatrix);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(18, 18, 18, 255));
    const QColor half = image.pixelColor(1, 0);
    EXPECT_NEAR(half.red(), 60, 1);
    EXPECT_EQ(half.red(), half.green());
    EXPECT_EQ(half.red(), half.blue());
    EXPECT_EQ(half.alpha(), 128);
}

TEST(ColorMatrix, OffsetsAreScaledToBytesRoundedAndClamped) {
    ColorMatrix brighten = {
        {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 1, 0}, {0.05f, 0.05f, 0.05f, 0, 1}};
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, QColor(0, 100, 250, 255));
    const QImage out = ColorMatrixApplied(image, brighten);
    EXPECT_EQ(out.pixelColor(0, 0), QColor(13, 113, 255, 255));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 100, 250, 255)) << "the source is left alone";
}
