// Glow text, colour matrices, the speed and playback-speed labels and the compass.
#include "glow_text.h"
#include "png_compass_static.h"
#include "speed_label_static.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest/QTest>

#include <algorithm>
#include <cstdlib>

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

bool OnlyBackground(const QImage& image) {
    return InkedRows(image).first < 0;
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

// Largest difference of any channel between two images of the same size.
int MaxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            worst = std::max({worst, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                              std::abs(p.blue() - q.blue())});
        }
    return worst;
}

TEST(GlowTextCache, KeptLayersLookLikeDirectDrawing) {
    GlowTextCache cache(2);
    QImage cached(80, 40, QImage::Format_ARGB32);
    const auto drawCached = [&](const QString& text, int x, int y, int em) {
        cached.fill(kBackground);
        QPainter painter(&cached);
        cache.Draw(painter, text, x, y, em);
    };
    drawCached(QStringLiteral("123"), 0, 5, 20);
    EXPECT_LE(MaxChannelDifference(cached, GlowImage(QStringLiteral("123"), 0, 5, 20)), 2);
    drawCached(QStringLiteral("123"), 0, 5, 20);
    EXPECT_EQ(cache.Size(), 1u) << "same text, same place: drawn from the kept layer";
    EXPECT_LE(MaxChannelDifference(cached, GlowImage(QStringLiteral("123"), 0, 5, 20)), 2);
    // The gradients are fixed to the label: the same text lower down takes other colours.
    drawCached(QStringLiteral("MPH"), 40, 13, 12);
    EXPECT_LE(MaxChannelDifference(cached, GlowImage(QStringLiteral("MPH"), 40, 13, 12)), 2);
    drawCached(QStringLiteral("Km/h"), 40, 13, 12);
    EXPECT_EQ(cache.Size(), 2u) << "the oldest layer makes room";
    drawCached(QString(), 0, 5, 20);
    EXPECT_TRUE(OnlyBackground(cached));
}

TEST(GlowTextCache, MovedPainterKeepsTheTextInPlace) {
    GlowTextCache cache;
    QImage cached(120, 60, QImage::Format_ARGB32);
    cached.fill(kBackground);
    {
        QPainter painter(&cached);
        painter.translate(30, 12);
        cache.Draw(painter, QStringLiteral("2.0 X"), 0, 5, 20);
    }
    QImage direct(120, 60, QImage::Format_ARGB32);
    direct.fill(kBackground);
    {
        QPainter painter(&direct);
        painter.translate(30, 12);
        DrawGlowText(painter, QStringLiteral("2.0 X"), 0, 5, 20);
    }
    EXPECT_LE(MaxChannelDifference(cached, direct), 2);
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

namespace {

// What a widget paints over a canvas of `marker`, without any window background.
QImage Rendered(QWidget& widget, QColor marker = QColor(1, 2, 3)) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(marker);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool OnlyColour(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != colour) return false;
    return true;
}

QImage Solid(QColor colour) {
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

std::vector<QImage> EightRoses() {
    std::vector<QImage> images;
    for (int k = 1; k <= 8; ++k)
        images.push_back(Solid(QColor(k * 30, 250 - k * 30, 10 * k)));
    return images;
}

} // namespace

TEST(CompassImageChoice, HeadingsRoundToTheNearestEighth) {
    EXPECT_EQ(CompassImageForHeading(0, 8), 1);
    EXPECT_EQ(CompassImageForHeading(360, 8), 1);
    EXPECT_EQ(CompassImageForHeading(22, 8), 1);
    EXPECT_EQ(CompassImageForHeading(24, 8), 8); // a = 336: s = 7, r = 21
    EXPECT_EQ(CompassImageForHeading(45, 8), 8);
    EXPECT_EQ(CompassImageForHeading(337, 8), 2); // a = 23 rounds up
    EXPECT_EQ(CompassImageForHeading(338, 8), 1); // a = 22 rounds down
    EXPECT_EQ(CompassImageForHeading(90, 8), 7);
    EXPECT_EQ(CompassImageForHeading(180, 8), 5);
}

TEST(CompassImageChoice, HeadingsBeyondOneTurnAndMissingImagesStayInRange) {
    // The heading byte x 2 reaches 510: 510 is 150 degrees, a = 210, image 6.
    EXPECT_EQ(CompassImageForHeading(510, 8), 6);
    EXPECT_EQ(CompassImageForHeading(150, 8), 6);
    EXPECT_EQ(CompassImageForHeading(-90, 8), CompassImageForHeading(270, 8));
    for (int heading = -720; heading <= 720; ++heading) {
        const int image = CompassImageForHeading(heading, 8);
        ASSERT_GE(image, 1) << heading;
        ASSERT_LE(image, 8) << heading;
    }
    EXPECT_EQ(CompassImageForHeading(90, 0), 0);
    EXPECT_EQ(CompassImageForHeading(90, 3), 1); // s = 6 wraps around three images
}

TEST(CompassWidget, DrawsTheChosenRoseOrTheGreyNorthUpRose) {
    CPngCompassStatic compass;
    compass.resize(32, 32);
    compass.SetImages(EightRoses());
    EXPECT_EQ(compass.SetHeading(90), 1);
    EXPECT_EQ(compass.m_nImage, 7);
    EXPECT_TRUE(OnlyColour(Rendered(compass), QColor(210, 40, 70)));
    EXPECT_EQ(compass.accessibleDescription(), QStringLiteral("North points left"));

    compass.m_nImage = 0; // no fix
    const QColor first(30, 220, 10);
    const int grey = qRound(0.3 * first.red() + 0.59 * first.green() + 0.11 * first.blue());
    const QColor shown = Rendered(compass).pixelColor(16, 16);
    EXPECT_NEAR(shown.red(), grey, 1);
    EXPECT_EQ(shown.red(), shown.green());
    EXPECT_EQ(shown.red(), shown.blue());
    EXPECT_TRUE(compass.accessibleDescription().isEmpty());

    compass.SetHeading(510);
    EXPECT_EQ(compass.m_nImage, 6);
    EXPECT_TRUE(OnlyColour(Rendered(compass), QColor(180, 70, 60)));
}

TEST(CompassWidget, WithoutImagesOrOutOfRangePaintsNothing) {
    CPngCompassStatic compass;
    compass.resize(32, 32);
    EXPECT_EQ(compass.AddImage(QImage()), 0);
    EXPECT_EQ(compass.AddImage(99999), 0) << "no such resource";
    EXPECT_EQ(compass.ImageCount(), 0);
    EXPECT_EQ(compass.SetHeading(90), 1);
    EXPECT_EQ(compass.m_nImage, 0);
    EXPECT_TRUE(OnlyColour(Rendered(compass), QColor(1, 2, 3)));

    compass.SetImages(EightRoses());
    compass.m_nImage = 9;
    EXPECT_TRUE(OnlyColour(Rendered(compass), QColor(1, 2, 3)));
}

TEST(CompassWidget, LoadsTheEightSkinRoses) {
    CPngCompassStatic compass;
    compass.resize(32, 32);
    for (int resource = 197; resource <= 204; ++resource)
        EXPECT_EQ(compass.AddImage(resource), 1) << resource;
    ASSERT_EQ(compass.ImageCount(), 8);
    compass.SetHeading(0);
    const QImage northUp = Rendered(compass);
    compass.SetHeading(180);
    EXPECT_NE(Rendered(compass), northUp) << "the rose turns";
    compass.m_nImage = 0;
    const QImage grey = Rendered(compass);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const QColor c = grey.pixelColor(x, y);
            ASSERT_LE(std::abs(c.red() - c.green()) + std::abs(c.green() - c.blue()), 2) << x << "," << y;
        }
}

TEST(SpeedLabel, TextsInBothUnits) {
    EXPECT_EQ(SpeedValueText(0, true), QStringLiteral("  0"));
    EXPECT_EQ(SpeedValueText(100, true), QStringLiteral("100"));
    EXPECT_EQ(SpeedValueText(100, false), QStringLiteral(" 62"));
    EXPECT_EQ(SpeedValueText(1000, true), QStringLiteral("1000"));
    EXPECT_EQ(SpeedValueText(65535, false), QStringLiteral("40959"));
    EXPECT_EQ(SpeedUnitText(true), QStringLiteral("Km/h"));
    EXPECT_EQ(SpeedUnitText(false), QStringLiteral("MPH"));

    CSpeedLabelStatic label;
    EXPECT_EQ(label.m_strValue, QStringLiteral("  0"));
    EXPECT_EQ(label.m_strUnit, QStringLiteral("Km/h"));
}

TEST(SpeedLabel, ClickInsideSwitchesUnitReleaseOutsideDoesNot) {
    CSpeedLabelStatic label;
    label.resize(80, 30);
    label.m_nSpeed = 100;
    EXPECT_EQ(label.UpdateTexts(), 1);
    EXPECT_EQ(label.m_strValue, QStringLiteral("100"));

    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(label.m_bKmh, 0);
    EXPECT_EQ(label.m_strValue, QStringLiteral(" 62"));
    EXPECT_EQ(label.m_strUnit, QStringLiteral("MPH"));
    EXPECT_EQ(label.accessibleDescription(), QStringLiteral("62 MPH"));

    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(label.m_bKmh, 0);

    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(10, 10), label.mapToGlobal(QPointF(10, 10)),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&label, &doubleClick);
    EXPECT_EQ(label.m_bKmh, 1);
    EXPECT_EQ(label.m_strUnit, QStringLiteral("Km/h"));
}

TEST(SpeedLabel, InvalidFixLeavesOnlyTheBackground) {
    CSpeedLabelStatic label;
    label.resize(80, 30);
    label.m_nSpeed = 88;
    label.UpdateTexts();
    EXPECT_FALSE(OnlyColour(Rendered(label), kBackground));
    label.m_bValid = 0;
    label.m_nSpeed = 0;
    label.UpdateTexts();
    EXPECT_TRUE(OnlyColour(Rendered(label), kBackground));
    EXPECT_TRUE(label.accessibleDescription().isEmpty());
}

TEST(PlaybackSpeedLabel, ShownOnlyAwayFromNormalSpeed) {
    CPbSpeedLabelStatic label;
    label.resize(80, 30);
    EXPECT_EQ(label.SetLabel(nullptr, 0), 1);
    EXPECT_TRUE(label.m_strText.isEmpty());
    EXPECT_TRUE(OnlyColour(Rendered(label), kBackground));

    label.SetLabel("2.0 X", 1);
    EXPECT_EQ(label.m_strText, QStringLiteral("2.0 X"));
    EXPECT_EQ(label.accessibleDescription(), QStringLiteral("2.0 X"));
    EXPECT_FALSE(OnlyColour(Rendered(label), kBackground));

    label.SetLabel("1.0 X", 0);
    EXPECT_TRUE(OnlyColour(Rendered(label), kBackground));
    EXPECT_TRUE(label.accessibleDescription().isEmpty());
}
