// The rules of the G-sensor curve as plain functions: plot geometry, span and tick marks, the
// curve segments of a series, the cursor, the axis labels and the value readout. The widget
// only paints what these return.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QString>

#include "records.h"

// Plot area inside the client area: 54 pixels in from either side, 20 from the top, 8 from the
// bottom. right and bottom lie one past the area (right - left is the width).
struct GSensorPlot {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
    int zeroY = 0;
};
GSensorPlot GSensorPlotForClient(int clientWidth, int clientHeight);

// Span modes: from the length of the series, a fixed span, or from the pixel scale.
enum GSensorSpanMode { kSpanFromSeries = 0, kSpanFixed = 1, kSpanFromPixelScale = 2 };

struct GSensorSpanInputs {
    int spanMode = kSpanFromSeries;
    size_t sampleCount = 0;
    double samplesPerMs = 0.016;
    double fixedSpanMs = 60000;
    double pixelsPerMs = 0.0275;
    int plotWidth = 0;
};

// The span stored by Recalculate; `unchanged` is returned for an unknown mode or a pixel scale
// that is not positive.
double RecalculatedSpanMs(const GSensorSpanInputs& in, double unchanged);

// The span that sets the drawn tick marks (whole milliseconds, never 0: 20000 stands in).
double DrawnSpanMs(const GSensorSpanInputs& in);

// Tick marks: positions i = 0, 1, ... while i < span / tickMs. Lengths 6 every 10th, 4 at the 5th
// between, 2 otherwise. The count is capped so that a pathological span cannot stall a repaint;
// beyond a few marks per pixel the strip is solid anyway.
constexpr int64_t kMaxTickPositions = 200000;
int64_t TickPositionCount(double spanMs, int tickMs);
struct TickMark {
    int x;
    int length;
};
TickMark TickMarkAt(int64_t i, double spanMs, int tickMs, const GSensorPlot& plot);

// A reading the camera did not take: a word of +128 or -128 on any axis.
bool IsMissingReading(const GSensorSample& sample);

// G value of a word: its low byte as signed 8-bit, times the full scale, divided by 128.
double GSensorWordToG(int16_t word, double fullScale);

// Row of a word in the plot, clipped to +-axisMax (the zero line for a non-positive maximum).
int GSensorCurveY(int16_t word, double fullScale, double axisMax, const GSensorPlot& plot);

// One drawn piece of a curve. Segments that continue the previous one share its end point.
struct CurveSegment {
    int x0, y0, x1, y1;
};

// Receives the segments of the three curves (axis 0, 1, 2 for x, y, z) in drawing order.
class CurveSink {
  public:
    virtual ~CurveSink() = default;
    virtual void Add(int axis, const CurveSegment& segment) = 0;
};

// The segments of the three curves: the whole series spread over the plot width, missing readings
// skipped (the line joins their neighbours), and a segment left out when both of its ends lie on
// row 20 or row 60 of the client area.
void TraceCurves(const std::vector<GSensorSample>& samples, double fullScale, double axisMax,
                 const GSensorPlot& plot, CurveSink& sink);

struct CurveSegments {
    std::vector<CurveSegment> axis[3]; // x, y, z
};
CurveSegments BuildCurveSegments(const std::vector<GSensorSample>& samples, double fullScale, double axisMax,
                                 const GSensorPlot& plot);

// The same curve as connected polylines, each column's run of points reduced to its first, lowest,
// highest and last point (lowest and highest in their order). One-pixel lines draw the same pixels
// either way, while a long series crowds hundreds of points into a column; the reduction runs as
// the segments arrive, so memory follows the plot width, not the series.
struct PlotPoint {
    int x, y;
    bool operator==(const PlotPoint&) const = default;
};
using Polyline = std::vector<PlotPoint>;

class PolylineCollapser {
  public:
    void Add(const CurveSegment& segment);
    std::vector<Polyline> Take();

  private:
    struct Run {
        PlotPoint first, last, low, high;
        uint64_t lowAt = 0, highAt = 0, count = 0;
    };
    void StartRun(PlotPoint p);
    void FlushRun();
    void Emit(PlotPoint p);

    std::vector<Polyline> m_lines;
    Run m_run;
    bool m_bOpen = false;
};

struct CollapsedCurves {
    std::vector<Polyline> axis[3];
};
CollapsedCurves BuildCollapsedCurves(const std::vector<GSensorSample>& samples, double fullScale,
                                     double axisMax, const GSensorPlot& plot);

// x of the cursor: the slider thumb's x once the cursor follows the slider or the position is past
// 0, as long as that x is not negative; the plot's left edge otherwise.
int GSensorCursorX(bool followsSlider, double positionMs, int sliderThumbX, int plotLeft);

// Axis labels: three rows at x = 34 with u = (client height - 20) / 6.
constexpr int kAxisLabelX = 34;
struct AxisLabel {
    int y;
    QString text;
};
void GSensorAxisLabels(int clientHeight, double axisMax, AxisLabel out[3]);

// Index of the sample at a position; SIZE_MAX when none exists there.
size_t GSensorSampleIndex(double positionMs, double samplesPerMs, size_t sampleCount);

// The three G values at a position: 0, 0, 0 where no sample exists or the sample is a missing
// reading (the curve skips it too).
struct GSensorValues {
    double x = 0, y = 0, z = 0;
};
GSensorValues GSensorValuesAt(const std::vector<GSensorSample>& samples, double positionMs,
                              double samplesPerMs, double fullScale);

// One legend text: "X: 0.0000 G    ".
QString GSensorLegendText(char axisName, double value);

// Samples per millisecond for a recording: the rate byte / 1000, else the sample count over the
// duration; a result that is not a positive finite number gives `fallback`.
constexpr double kDefaultGSensorSamplesPerMs = 0.016; // 16 a second
double GSensorSamplesPerMs(uint8_t samplesPerSecond, size_t sampleCount, uint32_t durationMs,
                           double fallback = kDefaultGSensorSamplesPerMs);
