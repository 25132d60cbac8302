// The vehicle gauges: frame layout, steering segments, turn arrows and the look-down dot, checked
// as geometry and as rendered pixels.
#include "property_controls.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <set>

namespace {

const QColor kGreen(0, 255, 0);
const QColor kGrey(128, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kDarkArrow(198, 198, 198);

QImage Rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(QColor(1, 2, 3));
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

std::set<int> LitSegments(int percent, bool right) {
    std::set<int> lit;
    for (int i = 0; i < kSteeringSegments; ++i)
        if (SteeringSegmentLit(i, percent, right)) lit.insert(i);
    return lit;
}

std::set<int> Range(int first, int last) {
    std::set<int> range;
    for (int i = first; i <= last; ++i)
        range.insert(i);
    return range;
}

bool HasColour(const QImage& image, const QRect& area, QColor colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

// White pixels within half a pixel of the circle.
int WhiteOnCircle(const QImage& image, QPoint centre, int radius) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double distance = std::hypot(x - centre.x(), y - centre.y());
            if (std::abs(distance - radius) <= 0.5 && image.pixelColor(x, y) == QColor(255, 255, 255))
                ++count;
        }
    return count;
}

} // namespace

TEST(PropertyTextGeometry, CentresCaptionAndValueAsOneBlock) {
    const PropertyTextLayout layout = PropertyTextGeometry(QRect(0, 0, 100, 50), 2, 19, 19);
    EXPECT_EQ(layout.inner, QRect(2, 2, 96, 46));
    EXPECT_EQ(layout.caption, QRect(2, 5, 96, 19)); // 2 + (46 - 39) / 2
    EXPECT_EQ(layout.value, QRect(2, 25, 96, 19));
    // A block taller than the gauge: the offset truncates toward zero (-23 / 2 = -11).
    const PropertyTextLayout tight = PropertyTextGeometry(QRect(0, 0, 100, 20), 2, 19, 19);
    EXPECT_EQ(tight.caption.top(), 2 - 11);
    EXPECT_EQ(PropertyTextGeometry(QRect(0, 0, 100, 50), 0, 19, 19).inner, QRect(0, 0, 100, 50));
}

TEST(PropertyText, DrawsFrameCaptionAndValue) {
    CPropertyText gauge;
    gauge.resize(120, 50);
    gauge.m_strCaption = QStringLiteral("Gear");
    gauge.m_strValue = QStringLiteral("M10");
    gauge.Refresh();
    const QImage image = Rendered(gauge);
    EXPECT_EQ(image.pixelColor(0, 0), kGrey);
    EXPECT_EQ(image.pixelColor(1, 25), kGrey);
    EXPECT_EQ(image.pixelColor(2, 25), QColor(0, 0, 0));
    EXPECT_GT(gauge.m_nCaptionHeight, 0);
    const PropertyTextLayout layout =
        PropertyTextGeometry(gauge.rect(), 2, gauge.m_nCaptionHeight, gauge.m_nValueHeight);
    EXPECT_TRUE(HasColour(image, layout.caption, QColor(255, 255, 255)));
    EXPECT_FALSE(HasColour(image, layout.caption, kGreen));
    EXPECT_TRUE(HasColour(image, layout.value, kGreen));
    EXPECT_EQ(gauge.accessibleName(), QStringLiteral("Gear"));
    EXPECT_EQ(gauge.accessibleDescription(), QStringLiteral("M10"));
}

TEST(SteeringBar, SegmentsLitByTurnAmount) {
    EXPECT_EQ(LitSegments(0, false), std::set<int>({20}));
    EXPECT_EQ(LitSegments(2, true), std::set<int>({20, 21})); // byte 127
    EXPECT_EQ(LitSegments(5, true), std::set<int>({20, 21})); // multiple of 5: no extra
    EXPECT_EQ(LitSegments(6, false), std::set<int>({18, 19, 20}));
    EXPECT_EQ(LitSegments(100, true), Range(20, 40)); // byte 78 or less
    EXPECT_EQ(LitSegments(100, false), Range(0, 20)); // byte 178 or more
}

TEST(SteeringBar, GeometryOfAWideGauge) {
    // Inner 296 x 46 at (2, 2): s = 176 / 41 = 4, centre 2 + 20 + 128 = 150, x0 = 150 - 244 / 2.
    const SteeringBarLayout bar = SteeringBarGeometry(QRect(2, 2, 296, 46));
    EXPECT_EQ(bar.segmentWidth, 4);
    EXPECT_EQ(bar.x0, 28);
    EXPECT_EQ(bar.top, 25 + 11 - 10); // mid 25, band height 48 - 25 - 2 = 21
    EXPECT_EQ(bar.bottom, bar.top + 21);
    EXPECT_EQ(bar.Segment(0), QRect(28, 26, 4, 21));
    EXPECT_EQ(bar.Segment(20), QRect(28 + 120, 24, 4, 23));
    EXPECT_EQ(bar.leftLabel, QRect(8, 26, 20, 21));
    EXPECT_EQ(bar.rightLabel, QRect(28 + 246, 26, 20, 21));
}

TEST(SteeringBar, RendersLitAndDarkSegmentsOrInvalidText) {
    CPropertySteeringAngle gauge;
    gauge.resize(300, 50);
    gauge.m_strCaption = QStringLiteral("Steering Angle");
    gauge.m_nValue = 2;
    gauge.m_bRight = 1;
    QImage image = Rendered(gauge);
    const SteeringBarLayout bar = SteeringBarGeometry(QRect(2, 2, 296, 46));
    const auto middle = [&bar](int i) { return bar.Segment(i).center(); };
    EXPECT_EQ(image.pixelColor(middle(19)), kGrey);
    EXPECT_EQ(image.pixelColor(middle(20)), kGreen);
    EXPECT_EQ(image.pixelColor(middle(21)), kGreen);
    EXPECT_EQ(image.pixelColor(middle(22)), kGrey);
    EXPECT_EQ(image.pixelColor(middle(20).x(), bar.top - 2), kGreen) << "centre segment stands taller";
    EXPECT_NE(image.pixelColor(middle(21).x(), bar.top - 2), kGreen);
    EXPECT_EQ(gauge.accessibleDescription(), QStringLiteral("2% right"));

    gauge.m_nValue = -1;
    image = Rendered(gauge);
    EXPECT_NE(image.pixelColor(middle(19)), kGrey);
    EXPECT_TRUE(HasColour(image, QRect(2, 25, 296, 23), kGreen)) << "Invalid Data in green";
    EXPECT_EQ(gauge.accessibleDescription(), QStringLiteral("Invalid Data"));
}

TEST(TurnArrows, GeometryStandsTwoPixelsRightOfCentre) {
    // Inner (2, 2, 96 x 46): cx = 50, cy = 25 + 11 = 36; caption 100 wide: e = 35.
    const TurnArrowsLayout arrows = TurnArrowsGeometry(QRect(2, 2, 96, 46), 100);
    EXPECT_EQ(arrows.leftBody, QRect(2, 31, 15, 10));
    EXPECT_EQ(arrows.leftHead, QPolygon({QPoint(2, 26), QPoint(-13, 36), QPoint(2, 46)}));
    EXPECT_EQ(arrows.rightBody, QRect(87, 31, 15, 10));
    EXPECT_EQ(arrows.rightHead, QPolygon({QPoint(102, 26), QPoint(117, 36), QPoint(102, 46)}));
    EXPECT_TRUE(LeftArrowLit(1) && LeftArrowLit(3) && !LeftArrowLit(2) && !LeftArrowLit(0));
    EXPECT_TRUE(RightArrowLit(2) && RightArrowLit(3) && !RightArrowLit(1) && !RightArrowLit(-1));
}

TEST(TurnArrows, RenderLitAndDarkArrows) {
    CPropertyTurnSignal gauge;
    gauge.resize(200, 50);
    gauge.m_strCaption = QStringLiteral("Turn lights");
    gauge.m_nState = 1;
    const QRect inner(2, 2, 196, 46);
    const TurnArrowsLayout arrows =
        TurnArrowsGeometry(inner, QFontMetrics(*gauge.m_pCaptionFont).horizontalAdvance(gauge.m_strCaption));
    QImage image = Rendered(gauge);
    EXPECT_EQ(image.pixelColor(arrows.leftBody.center()), kYellow);
    EXPECT_EQ(image.pixelColor(arrows.rightBody.center()), kDarkArrow);
    EXPECT_EQ(image.pixelColor(arrows.rightHead.boundingRect().center()), kDarkArrow);
    EXPECT_EQ(gauge.accessibleDescription(), QStringLiteral("Left"));

    gauge.m_nState = 3;
    image = Rendered(gauge);
    EXPECT_EQ(image.pixelColor(arrows.leftHead.boundingRect().center()), kYellow);
    EXPECT_EQ(image.pixelColor(arrows.rightBody.center()), kYellow);

    gauge.m_nState = -1;
    image = Rendered(gauge);
    EXPECT_EQ(image.pixelColor(arrows.leftBody.center()), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(arrows.rightBody.center()), QColor(0, 0, 0));
    EXPECT_FALSE(HasColour(image, gauge.rect(), kYellow));
    EXPECT_EQ(gauge.accessibleDescription(), QStringLiteral("Invalid Data"));
}

TEST(LookDown, DotPositionsOnTheRings) {
    const QRect inner(2, 2, 96, 96);
    LookDownLayout layout = LookDownGeometry(inner, 0, 0);
    EXPECT_EQ(layout.centre, QPoint(50, 50));
    EXPECT_EQ(layout.outerRadius, 43);
    EXPECT_EQ(layout.innerRadius, 21);
    EXPECT_EQ(layout.dot, QPoint(50, 50));
    EXPECT_EQ(layout.outerLabel, QPoint(80, 19));
    EXPECT_EQ(layout.innerLabel, QPoint(64, 35));
    // One G to the horizontal: left, on the inner ring.
    EXPECT_EQ(LookDownGeometry(inner, 1, 0).dot, QPoint(50 - 21, 50));
    // -2 G vertical: up, on the outer ring.
    EXPECT_EQ(LookDownGeometry(inner, 0, -2).dot, QPoint(50, 50 - 43));
    EXPECT_EQ(LookDownGeometry(inner, -0.5, 0.5).dot, QPoint(60, 60)); // 10.75 truncates
    // Not limited to the rings, and far-off values stay representable.
    EXPECT_EQ(LookDownGeometry(inner, 4, 0).dot, QPoint(50 - 86, 50));
    EXPECT_LT(LookDownGeometry(inner, 1e300, 0).dot.x(), -100000);
}

TEST(LookDown, RendersRingsCrossAndDot) {
    CPropertyGsensorLookDown gauge;
    gauge.resize(100, 100);
    gauge.SetValues(1, 0);
    QImage image = Rendered(gauge);
    EXPECT_EQ(image.pixelColor(29, 50), kGreen);
    EXPECT_EQ(image.pixelColor(50, 70), QColor(198, 198, 198)) << "vertical arm of the cross";
    EXPECT_GT(WhiteOnCircle(image, QPoint(50, 50), 43), 150) << "outer ring";
    EXPECT_GT(WhiteOnCircle(image, QPoint(50, 50), 21), 60) << "inner ring";
    EXPECT_EQ(gauge.accessibleDescription(), QStringLiteral("Horizontal 1.00 G, vertical 0.00 G"));

    gauge.SetValues(0, -2);
    image = Rendered(gauge);
    EXPECT_EQ(image.pixelColor(50, 7), kGreen);
    EXPECT_NE(image.pixelColor(29, 50), kGreen);
}
