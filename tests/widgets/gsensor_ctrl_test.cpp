// The G-sensor curve drawn offscreen: scale, labels, legend, curves, cursor and the legend toggles.
#include "gsensor_ctrl.h"

#include <gtest/gtest.h>

#include "seek_scale.h"
#include "widget_test_support.h"

using namespace widget_test;

namespace {

const QColor kBackground(5, 5, 5);
const QColor kAxisGrey(102, 102, 102);
const QColor kYellow(255, 255, 0), kGreen(60, 255, 60), kRed(255, 60, 60);
const QColor kBlue(0, 0, 255);
const QColor kInactiveText(160, 160, 160);

// 600 samples at 16 a second, full scale 8: x at +127 counts (7.9375 G, clipped to the top),
// y at +0.5 G (row 84 of a 200-pixel strip), z at -0.5 G (row 127).
std::vector<GSensorSample> ClippedSeries() {
    return std::vector<GSensorSample>(600, GSensorSample{127, 8, -8});
}

class GSensorCtrlTest : public testing::Test {
  protected:
    void SetUp() override {
        ctrl.resize(1000, 200);
    }
    void Load(const std::vector<GSensorSample>& samples) {
        const uint8_t attr[4] = {16, 8, 0, 0};
        ctrl.SetUpSeries(samples, attr, 37500);
    }
    CGSensorCtrl ctrl;
};

} // namespace

TEST_F(GSensorCtrlTest, EmptyCurveShowsScaleLabelsInactiveLegendAndCursorAtLeft) {
    ctrl.SetSliderThumbX(990); // the cursor out of the way of the scale for this drawing
    ctrl.FollowSliderOnce();
    QImage image = Render(ctrl);
    // 100 tick positions on each of the three edges (plot top 20, zero line 106, bottom 192).
    for (int edge : {20, 106, 192})
        EXPECT_EQ(CountInRow(image, edge - 1, 55, 946, kAxisGrey), 99) << edge; // + the one on the axis
    for (int i : {10, 15, 17}) {
        const int x = i * 892 / 100 + 54;
        const int length = i == 10 ? 6 : (i == 15 ? 4 : 2);
        EXPECT_EQ(CountInRect(image, QRect(x, 106 - 8, 1, 8), kAxisGrey), length) << i;
    }
    EXPECT_EQ(CountInRect(image, QRect(54, 20 - 8, 1, 8), kAxisGrey), 6); // i = 0 above the axis
    // Zero line white across the plot, axis grey down the left edge.
    EXPECT_EQ(CountInRow(image, 106, 55, 946, QColor(255, 255, 255)), 891); // marks end above it
    EXPECT_TRUE(Near(image.pixel(54, 150), kAxisGrey));
    // Labels " 2G", " 0G", "-2G": white text on the background at x = 34, rows 40, 100, 160.
    for (int y : {40, 100, 160})
        EXPECT_GT(CountInRect(image, QRect(34, y, 20, 10), QColor(255, 255, 255), 127), 4) << y;
    // Inactive legend: grey text, no axis colour, boxes in the inactive frame colours.
    EXPECT_EQ(ctrl.LegendRect(0).topLeft(), QPoint(70, 2));
    EXPECT_GT(CountInRect(image, ctrl.LegendRect(0), kInactiveText, 40), 10);
    EXPECT_EQ(CountInRect(image, image.rect(), kYellow, 30), 0);
    EXPECT_TRUE(Near(image.pixel(69, 1), QColor(100, 100, 100)));
    EXPECT_TRUE(Near(image.pixel(ctrl.LegendRect(0).right() + 1, 8), QColor(50, 50, 50)));
    EXPECT_EQ(ctrl.ValueText(), "X: 0.0000 G, Y: 0.0000 G, Z: 0.0000 G");
    EXPECT_EQ(ctrl.accessibleDescription(), ctrl.ValueText());
    // Cursor: 2-pixel blue line at the plot's left edge, 4 pixels past the plot at both ends.
    image = Render(ctrl);
    EXPECT_GE(CountInRect(image, QRect(53, 17, 2, 1), kBlue), 1);
    EXPECT_GE(CountInRect(image, QRect(53, 195, 2, 1), kBlue), 1);
    EXPECT_EQ(CountInRect(image, QRect(60, 30, 880, 160), kBlue), 0);
}

TEST_F(GSensorCtrlTest, LoadedCurveClipsAtTopAndReadsFullValue) {
    Load(ClippedSeries());
    EXPECT_EQ(ctrl.SpanMode(), kSpanFromPixelScale);
    EXPECT_EQ(ctrl.SetPlayPosition(1000), 1);
    double x = 0, y = 0, z = 0;
    EXPECT_EQ(ctrl.GetCurrentValues(x, y, z), 0);
    EXPECT_DOUBLE_EQ(x, 7.9375);
    EXPECT_DOUBLE_EQ(y, 0.5);
    EXPECT_DOUBLE_EQ(z, -0.5);
    EXPECT_EQ(ctrl.accessibleDescription(), "X: 7.9375 G, Y: 0.5000 G, Z: -0.5000 G");

    ctrl.SetSliderThumbX(500);
    const QImage image = Render(ctrl);
    // x rises from the zero line to the top edge and then stays on row 20, which is not drawn.
    EXPECT_EQ(CountInRect(image, QRect(54, 21, 1, 63), kYellow), 63); // green rises over the rest
    EXPECT_EQ(CountInRect(image, QRect(56, 20, 880, 1), kYellow), 0);
    EXPECT_GT(CountInRow(image, 84, 56, 945, kGreen), 800);
    EXPECT_GT(CountInRow(image, 127, 56, 945, kRed), 800);
    // The cursor follows the slider thumb once the position is past 0.
    EXPECT_GE(CountInRect(image, QRect(499, 100, 2, 1), kBlue), 1);
    // Active legend: axis colours, boxes moved by one pixel.
    EXPECT_EQ(ctrl.LegendRect(0).topLeft(), QPoint(71, 3));
    EXPECT_GT(CountInRect(image, ctrl.LegendRect(1), kGreen, 40), 10);
}

TEST_F(GSensorCtrlTest, LegendBoxesToggleTheirAxis) {
    Load(ClippedSeries());
    Render(ctrl);
    const QPoint yBox = ctrl.LegendRect(1).center();
    Click(ctrl, yBox);
    EXPECT_FALSE(ctrl.IsAxisShown(1));
    QImage image = Render(ctrl);
    EXPECT_EQ(CountInRow(image, 84, 56, 945, kGreen), 0);
    EXPECT_GT(CountInRow(image, 127, 56, 945, kRed), 800);
    EXPECT_GT(CountInRect(image, ctrl.LegendRect(1), kInactiveText, 40), 10);

    // Between two boxes nothing changes.
    Click(ctrl, QPoint(ctrl.LegendRect(0).right() + 4, yBox.y()));
    EXPECT_TRUE(ctrl.IsAxisShown(0));
    EXPECT_FALSE(ctrl.IsAxisShown(1));
    EXPECT_TRUE(ctrl.IsAxisShown(2));

    Click(ctrl, ctrl.LegendRect(1).center());
    EXPECT_TRUE(ctrl.IsAxisShown(1));
    image = Render(ctrl);
    EXPECT_GT(CountInRow(image, 84, 56, 945, kGreen), 800);
}

TEST_F(GSensorCtrlTest, StoppedHidesCurvesButKeepsScaleAndCursor) {
    Load(ClippedSeries());
    ctrl.SetStopped(true);
    ctrl.SetPlayPosition(0);
    const QImage image = Render(ctrl);
    for (const QColor& c : {kYellow, kGreen, kRed})
        EXPECT_EQ(CountInRect(image, QRect(54, 20, 892, 173), c, 30), 0);
    // 100 ms a pixel: 892 pixels stand for 89.2 s, 446 marks 2 pixels apart (one on the axis).
    EXPECT_EQ(CountInRow(image, 19, 55, 946, kAxisGrey), 445);
    EXPECT_GE(CountInRect(image, QRect(53, 100, 2, 1), kBlue), 1);
    EXPECT_GT(CountInRect(image, ctrl.LegendRect(0), kInactiveText, 40), 10);
}

TEST_F(GSensorCtrlTest, CursorFollowsSliderOnceAndPaintClearsTheFlag) {
    ctrl.SetSliderThumbX(300);
    ctrl.FollowSliderOnce();
    EXPECT_TRUE(ctrl.FollowsSlider());
    QImage image = Render(ctrl);
    EXPECT_GE(CountInRect(image, QRect(299, 100, 2, 1), kBlue), 1);
    EXPECT_FALSE(ctrl.FollowsSlider());
    image = Render(ctrl); // position 0 and the flag cleared: back to the left edge
    EXPECT_EQ(CountInRect(image, QRect(299, 100, 2, 1), kBlue), 0);
    ctrl.SetSliderThumbX(-5);
    ctrl.FollowSliderOnce();
    image = Render(ctrl);
    EXPECT_GE(CountInRect(image, QRect(53, 100, 2, 1), kBlue), 1);
}

TEST_F(GSensorCtrlTest, PositionIsClampedToTheSeries) {
    Load(ClippedSeries());
    ctrl.SetPlayPosition(1000000000);
    EXPECT_DOUBLE_EQ(ctrl.PositionMs(), 37500);
    EXPECT_DOUBLE_EQ(ctrl.DurationMs(), 37500);
    ctrl.SetPlayPosition(-5);
    EXPECT_EQ(ctrl.PositionMs(), 0);
    ctrl.ClearSamples();
    ctrl.SetPlayPosition(5000);
    EXPECT_EQ(ctrl.PositionMs(), 0);
}

TEST_F(GSensorCtrlTest, MissingReadingReadsZeroAndRateZeroKeepsDefault) {
    std::vector<GSensorSample> samples(32, GSensorSample{10, 20, 30});
    samples[16] = GSensorSample{10, -128, 30};
    const uint8_t tenASecond[4] = {10, 0, 0, 0};
    ctrl.SetUpSeries(samples, tenASecond, 0);
    EXPECT_DOUBLE_EQ(ctrl.SamplesPerMs(), 0.01);
    const uint8_t noRate[4] = {0, 0, 0, 0};
    ctrl.SetUpSeries(samples, noRate, 0); // not the previous recording's rate either
    EXPECT_DOUBLE_EQ(ctrl.SamplesPerMs(), 0.016);
    EXPECT_DOUBLE_EQ(ctrl.FullScale(), 8.0);
    EXPECT_DOUBLE_EQ(ctrl.DurationMs(), 2000);
    ctrl.SetPlayPosition(1000); // sample 16
    double x = 1, y = 1, z = 1;
    ctrl.GetCurrentValues(x, y, z);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);
    ctrl.SetPlayPosition(1100); // sample 17
    ctrl.GetCurrentValues(x, y, z);
    EXPECT_DOUBLE_EQ(x, 0.625);

    ctrl.SetSamplesPerMs(0);
    ctrl.SetSamplesPerMs(std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(ctrl.SamplesPerMs(), 0.016);
}
