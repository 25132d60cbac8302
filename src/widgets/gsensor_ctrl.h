// CGSensorCtrl: the strip under the video panes with the three G-sensor curves of the whole
// recording, a cursor at the playback position, the scale and a legend with the values at the
// cursor. Clicking a legend box switches that axis's curve on or off; the widget never seeks.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QPainterPath>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "gsensor_plot.h"
#include "records.h"

// A stretch of the series marked on the curve (an event): samples first..last, shaded behind it.
struct CurveSpanMark {
    size_t firstSample = 0;
    size_t lastSample = 0;
    QColor colour;
};

class CGSensorCtrl : public QWidget {
    Q_OBJECT
  public:
    explicit CGSensorCtrl(QWidget* parent = nullptr);

    // Moves the cursor: stores, recalculates, clamps to 0..duration and repaints. Returns 1.
    int SetPlayPosition(int ms);
    // The G values of the sample at the position (0 where there is none). Returns 0.
    int GetCurrentValues(double& x, double& y, double& z) const;
    // Duration from the series and the span by the span mode.
    void Recalculate();

    // The series. Clearing also puts the position back to 0 and repaints.
    void ClearSamples();
    void AppendSamples(const GSensorSample* samples, size_t count);
    const std::vector<GSensorSample>& Samples() const { return m_samples; }

    // A recording's curve in one call: full scale from attribute byte 1 (8 when 0), axis maximum 2,
    // the series, samples per millisecond from attribute byte 0 or count / duration (16 a second
    // when neither gives a rate), then 100 milliseconds a pixel.
    void SetUpSeries(const std::vector<GSensorSample>& samples, const uint8_t gsensorAttr[4],
                     uint32_t durationMs);

    // Shaded stretches; a new series drops them (its own come after seriesSetUp).
    void SetSpanMarks(std::vector<CurveSpanMark> marks);
    const std::vector<CurveSpanMark>& SpanMarks() const { return m_spanMarks; }
    // x of sample `index` as the curves draw it.
    int XOfSample(size_t index) const;

    // Rate and scales. A rate or scale that is not a positive finite number is ignored.
    void SetSamplesPerMs(double samplesPerMs);
    void SetFullScale(double fullScale);
    void SetAxisMax(double axisMax);
    void SetPixelsPerMs(double pixelsPerMs);
    void SetFixedSpanMs(double spanMs);
    void SetSpanMode(int mode);
    void SetTickMs(int tickMs);
    double SamplesPerMs() const { return m_dSamplesPerMs; }
    double FullScale() const { return m_dFullScale; }
    double AxisMax() const { return m_dAxisMax; }
    double PixelsPerMs() const { return m_dPixelsPerMs; }
    int SpanMode() const { return m_nSpanMode; }
    int TickMs() const { return m_nTickMs; }

    // Set while playback is stopped: no curves, inactive legend.
    void SetStopped(bool stopped);
    bool IsStopped() const { return m_bStopped != 0; }
    // Whether the curve of axis 0 (x), 1 (y) or 2 (z) is drawn; survives recordings.
    void SetShowAxis(int axis, bool show);
    bool IsAxisShown(int axis) const;

    double PositionMs() const { return m_dPositionMs; }
    double DurationMs() const { return m_dDurationMs; }
    double SpanMs() const { return m_dSpanMs; }
    // Click area of a legend box (as of the last paint) and the plot area.
    QRect LegendRect(int axis) const;
    QRect PlotRect() const { return m_rcPlot; }
    // The legend's texts joined, as read to assistive technology.
    QString ValueText() const;

    // Where the seek slider's thumb was last drawn.
    void SetSliderThumbX(int x) { m_nSliderThumbX = x; }
    // The next drawing puts the cursor at the slider's thumb rather than at the position (a seek
    // was asked for and the position has not caught up yet); later drawings follow the position.
    void FollowSliderOnce() { m_bCursorFollowsSlider = true; }
    bool FollowsSlider() const { return m_bCursorFollowsSlider; }

  signals:
    // A series was set up or cleared: the samples, rate and full scale are the new recording's.
    void seriesSetUp();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void UpdatePlotRect();
    void SeriesChanged();
    void RebuildCurvePaths();
    void RebuildTickLines();
    void UpdateDescription();
    void PaintCurvePass(QPainter& painter);
    void PaintStaticLayer(qreal devicePixelRatio);
    void PaintLabelPass(QPainter& painter);
    void PaintLegend(QPainter& painter);
    GSensorSpanInputs SpanInputs() const;

    std::vector<GSensorSample> m_samples;
    double m_dSamplesPerMs = kDefaultGSensorSamplesPerMs;
    double m_dFullScale = 2.0;
    double m_dAxisMax = 2.0;
    double m_dPositionMs = 0;
    double m_dDurationMs = 0;
    double m_dSpanMs = 1000;
    int m_nSpanMode = kSpanFromSeries;
    double m_dFixedSpanMs = 60000;
    double m_dPixelsPerMs = 0.0275;
    int m_nTickMs = 200;
    int m_bStopped = 0;
    int m_bShowAxis[3] = {1, 1, 1};
    QRect m_rcLegend[3];
    QRect m_rcPlot;
    int m_nPlotLeft = 0;
    int m_nPlotWidth = 0;
    int m_nPlotHeight = 0;
    int m_nZeroY = 0;

    // Built once per change of the series, its scale or the size; every repaint strokes them.
    QPainterPath m_curvePath[3];
    bool m_bCurvesDirty = true;
    std::vector<QLine> m_tickLines;
    double m_dTickSpanMs = 0;
    bool m_bTicksDirty = true;
    // Background, scale and curves: they do not move with the position, so a position update only
    // copies them and draws the cursor and the texts on top.
    QImage m_layer;
    bool m_bLayerDirty = true;

    std::vector<CurveSpanMark> m_spanMarks;
    int m_nSliderThumbX = 0;
    bool m_bCursorFollowsSlider = false;
    QFont m_axisFont;
    QFont m_legendFont;
};
