// The curve's rules without painting: geometry, span and ticks, curve segments, readout.
#include "gsensor_plot.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

GSensorSample Sample(int16_t x, int16_t y, int16_t z) {
    return {x, y, z};
}

} // namespace

TEST(GSensorPlotTest, PlotLiesInsideMarginsWithZeroLineHalfwayTruncated) {
    const GSensorPlot plot = GSensorPlotForClient(1000, 201);
    EXPECT_EQ(plot.left, 54);
    EXPECT_EQ(plot.top, 20);
    EXPECT_EQ(plot.width, 892);
    EXPECT_EQ(plot.height, 173);
    EXPECT_EQ(plot.zeroY, 20 + 86);
}

TEST(GSensorPlotTest, EmptySeriesIsDrawnOverTwentySecondsWithHundredTicks) {
    GSensorSpanInputs in;
    in.plotWidth = 892;
    EXPECT_EQ(DrawnSpanMs(in), 20000);
    EXPECT_EQ(TickPositionCount(DrawnSpanMs(in), 200), 100);
    // Recalculate keeps the scale of an empty series at its lower bound.
    EXPECT_EQ(RecalculatedSpanMs(in, -1), 1000);
}

TEST(GSensorPlotTest, SpanModesGiveTheirTickCountsAndLengths) {
    const GSensorPlot plot = GSensorPlotForClient(600 + 108, 200);
    GSensorSpanInputs in;
    in.sampleCount = 960;
    in.plotWidth = plot.width;
    EXPECT_EQ(DrawnSpanMs(in), 60000);
    ASSERT_EQ(TickPositionCount(60000, 200), 300);
    for (int i : {0, 10, 20, 290})
        EXPECT_EQ(TickMarkAt(i, 60000, 200, plot).length, 6) << i;
    for (int i : {5, 15, 295})
        EXPECT_EQ(TickMarkAt(i, 60000, 200, plot).length, 4) << i;
    for (int i : {1, 4, 6, 299})
        EXPECT_EQ(TickMarkAt(i, 60000, 200, plot).length, 2) << i;

    // A loaded recording: 100 ms a pixel, so a 600-pixel plot has a mark every 2 pixels.
    in.spanMode = kSpanFromPixelScale;
    in.pixelsPerMs = 0.01;
    in.sampleCount = 123457;
    EXPECT_EQ(DrawnSpanMs(in), 60000);
    EXPECT_EQ(TickMarkAt(0, 60000, 200, plot).x, 54);
    EXPECT_EQ(TickMarkAt(1, 60000, 200, plot).x, 56);
    EXPECT_EQ(TickMarkAt(299, 60000, 200, plot).x, 54 + 598);

    in.spanMode = kSpanFixed;
    EXPECT_EQ(DrawnSpanMs(in), 60000);
    in.spanMode = 7;
    EXPECT_EQ(RecalculatedSpanMs(in, 1234), 1234);
}

TEST(GSensorPlotTest, DegenerateScalesNeitherDivideByZeroNorOverflow) {
    GSensorSpanInputs in;
    in.spanMode = kSpanFromPixelScale;
    in.pixelsPerMs = 0;
    in.plotWidth = 892;
    EXPECT_EQ(DrawnSpanMs(in), 20000);
    EXPECT_EQ(RecalculatedSpanMs(in, 777), 777);
    in.spanMode = kSpanFromSeries;
    in.samplesPerMs = 0;
    EXPECT_EQ(DrawnSpanMs(in), 20000);
    EXPECT_EQ(TickPositionCount(20000, 0), 0);
    EXPECT_EQ(TickPositionCount(NAN, 200), 0);
    EXPECT_EQ(TickPositionCount(1e12, 200), kMaxTickPositions);

    // i * width past 2^31: the x still lands inside the plot.
    const GSensorPlot plot = GSensorPlotForClient(1108, 200);
    const int64_t count = 4000000;
    const TickMark last = TickMarkAt(count - 1, count * 200.0, 200, plot);
    EXPECT_EQ(last.x, 54 + 999);
}

TEST(GSensorPlotTest, WordValueUsesLowByteAndClipsOnlyTheDrawing) {
    const GSensorPlot plot = GSensorPlotForClient(1000, 200);
    EXPECT_DOUBLE_EQ(GSensorWordToG(127, 8.0), 7.9375);
    EXPECT_DOUBLE_EQ(GSensorWordToG(int16_t(0x7F80), 2.0), -2.0); // low byte 0x80
    EXPECT_EQ(GSensorCurveY(127, 8.0, 2.0, plot), plot.top);
    EXPECT_EQ(GSensorCurveY(-127, 8.0, 2.0, plot), plot.bottom);
    EXPECT_EQ(GSensorCurveY(32, 2.0, 2.0, plot), plot.zeroY - 22); // 0.5 G: 21.5 pixels up, truncated
    EXPECT_EQ(GSensorCurveY(32, 2.0, 0.0, plot), plot.zeroY);
}

TEST(GSensorPlotTest, CurvesSkipMissingReadingsAndJoinTheirNeighbours) {
    const GSensorPlot plot = GSensorPlotForClient(108 + 400, 200);
    const std::vector<GSensorSample> samples = {Sample(0, 0, 0), Sample(16, 128, 0), Sample(16, 0, -128),
                                                Sample(32, 0, 0)};
    const CurveSegments c = BuildCurveSegments(samples, 2.0, 2.0, plot);
    ASSERT_EQ(c.axis[0].size(), 2u);
    EXPECT_EQ(c.axis[0][0].x0, 54);
    EXPECT_EQ(c.axis[0][0].y0, plot.zeroY);
    EXPECT_EQ(c.axis[0][0].x1, 54);
    const CurveSegment& joined = c.axis[0][1];
    EXPECT_EQ(joined.x0, 54);
    EXPECT_EQ(joined.x1, 54 + 300); // sample 3 of 4 over 400 pixels
    EXPECT_EQ(joined.y1, GSensorCurveY(32, 2.0, 2.0, plot));
    EXPECT_TRUE(IsMissingReading(samples[1]));
    EXPECT_TRUE(IsMissingReading(samples[2]));
    EXPECT_FALSE(IsMissingReading(Sample(129, -129, 127)));
}

TEST(GSensorPlotTest, SegmentsBetweenRowsTwentyAndSixtyAreLeftOut) {
    // Height 200: top 20, zero line 106, 86 pixels for 2 G. Row 20 is reached by clipping, row 60
    // by a word found by search.
    const GSensorPlot plot = GSensorPlotForClient(508, 200);
    int16_t row60 = 0;
    for (int16_t w = 0; w < 128; ++w)
        if (GSensorCurveY(w, 2.0, 2.0, plot) == 60) row60 = w;
    ASSERT_NE(row60, 0);
    const std::vector<GSensorSample> samples = {Sample(127, 0, 0), Sample(127, 0, 0), Sample(row60, 0, 0),
                                                Sample(0, 0, 0)};
    const CurveSegments c = BuildCurveSegments(samples, 2.0, 2.0, plot);
    // zero -> 20 drawn; 20 -> 20 and 20 -> 60 left out; 60 -> zero drawn.
    ASSERT_EQ(c.axis[0].size(), 2u);
    EXPECT_EQ(c.axis[0][0].y1, 20);
    EXPECT_EQ(c.axis[0][1].y0, 60);
    EXPECT_EQ(c.axis[0][1].x0, 54 + 200);
    EXPECT_EQ(c.axis[1].size(), 4u);
}

TEST(GSensorPlotTest, ReadoutGivesZerosWithoutASampleOrForAMissingReading) {
    const std::vector<GSensorSample> samples = {Sample(127, -64, 1), Sample(128, 5, 5)};
    GSensorValues v = GSensorValuesAt(samples, 10, 0.016, 8.0);
    EXPECT_DOUBLE_EQ(v.x, 7.9375);
    EXPECT_DOUBLE_EQ(v.y, -4.0);
    EXPECT_DOUBLE_EQ(v.z, 0.0625);
    v = GSensorValuesAt(samples, 63, 0.016, 8.0); // index 1: missing marker
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.z, 0);
    EXPECT_EQ(GSensorSampleIndex(125, 0.016, 2), SIZE_MAX);
    EXPECT_EQ(GSensorSampleIndex(-1000, 0.016, 2), SIZE_MAX);
    EXPECT_EQ(GSensorSampleIndex(1e300, 1e300, 2), SIZE_MAX);
}

TEST(GSensorPlotTest, TextsAndCursor) {
    AxisLabel labels[3];
    GSensorAxisLabels(200, 2.0, labels);
    EXPECT_EQ(labels[0].text, " 2G");
    EXPECT_EQ(labels[1].text, " 0G");
    EXPECT_EQ(labels[2].text, "-2G");
    EXPECT_EQ(labels[0].y, 40);
    EXPECT_EQ(labels[1].y, 100);
    EXPECT_EQ(labels[2].y, 160);
    EXPECT_EQ(GSensorLegendText('X', 0), "X: 0.0000 G    ");
    EXPECT_EQ(GSensorLegendText('Z', -7.9375), "Z: -7.9375 G    ");

    EXPECT_EQ(GSensorCursorX(false, 0, 300, 54), 54);
    EXPECT_EQ(GSensorCursorX(true, 0, 300, 54), 300);
    EXPECT_EQ(GSensorCursorX(false, 5, 300, 54), 300);
    EXPECT_EQ(GSensorCursorX(true, 5, -1, 54), 54);
}

TEST(GSensorPlotTest, RateFromAttributesOrLengthNeverInfinite) {
    EXPECT_DOUBLE_EQ(GSensorSamplesPerMs(0, 0, 0), 0.016);
    EXPECT_DOUBLE_EQ(GSensorSamplesPerMs(0, 500, 0), 0.016);
    EXPECT_DOUBLE_EQ(GSensorSamplesPerMs(0, 0, 60000), 0.016);
    EXPECT_DOUBLE_EQ(GSensorSamplesPerMs(0, 600, 60000), 0.01);
    EXPECT_DOUBLE_EQ(GSensorSamplesPerMs(10, 600, 0), 0.01);
}

namespace {

QImage Stroke(const std::vector<std::vector<PlotPoint>>& lines) {
    QImage image(1200, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QPen pen(Qt::white, 1);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    QPainterPath path;
    for (const auto& line : lines) {
        path.moveTo(line.front().x, line.front().y);
        for (size_t i = 1; i < line.size(); ++i)
            path.lineTo(line[i].x, line[i].y);
    }
    painter.drawPath(path);
    return image;
}

} // namespace

TEST(GSensorPlotTest, CollapsedColumnsDrawTheSamePixelsAsTheWholeCurve) {
    const GSensorPlot plot = GSensorPlotForClient(1100, 200);
    std::vector<GSensorSample> samples(20000);
    uint32_t r = 7;
    for (size_t i = 0; i < samples.size(); ++i) {
        r = r * 1664525u + 1013904223u;
        const int16_t v = int16_t(int((r >> 8) % 200) - 100);
        samples[i] = {v, int16_t(v / 3), int16_t(i % 50 == 0 ? 128 : 127)};
    }
    const CurveSegments c = BuildCurveSegments(samples, 2.0, 2.0, plot);
    const CollapsedCurves reduced = BuildCollapsedCurves(samples, 2.0, 2.0, plot);
    for (int a = 0; a < 3; ++a) {
        std::vector<std::vector<PlotPoint>> every; // connected segments as one polyline each
        for (const CurveSegment& s : c.axis[a]) {
            if (every.empty() || !(every.back().back() == PlotPoint{s.x0, s.y0}))
                every.push_back({{s.x0, s.y0}});
            every.back().push_back({s.x1, s.y1});
        }
        const std::vector<Polyline>& collapsed = reduced.axis[a];
        size_t points = 0;
        for (const Polyline& line : collapsed)
            points += line.size();
        EXPECT_LT(points, 4 * size_t(plot.width) + collapsed.size() * 4) << a;
        const QImage e = Stroke(every), k = Stroke(collapsed);
        int diff = 0;
        for (int y = 0; y < e.height(); ++y)
            for (int x = 0; x < e.width(); ++x)
                diff += e.pixel(x, y) != k.pixel(x, y);
        EXPECT_EQ(diff, 0) << a;
    }
}
