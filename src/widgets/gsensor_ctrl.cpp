#include "gsensor_ctrl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "seek_scale.h"
#include "win_edges.h"
#include "win_fonts.h"

namespace {

const QColor kBackground(5, 5, 5);
const QColor kZeroLine(255, 255, 255);
const QColor kAxis(102, 102, 102);
const QColor kCursor(0, 0, 255);
const QColor kAxisColour[3] = {QColor(255, 255, 0), QColor(60, 255, 60), QColor(255, 60, 60)};
const QColor kLegendInactiveText(160, 160, 160);
const QColor kLegendTextBackground(0, 0, 0);
const QColor kBoxActiveLight(130, 130, 130), kBoxActiveDark(80, 80, 80);
const QColor kBoxInactiveLight(100, 100, 100), kBoxInactiveDark(50, 50, 50);
const char kAxisName[3] = {'X', 'Y', 'Z'};

// A QRect from a Windows rectangle (right and bottom exclusive).
QRect FromLtrb(int l, int t, int r, int b) {
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

// Text with its top-left corner at (x, y) on an opaque background, as a device's text-out draws it.
void TextOut(QPainter& painter, int x, int y, const QString& text, const QColor& colour,
             const QColor& background) {
    const QFontMetrics metrics(painter.font());
    painter.fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(), background);
    painter.setPen(colour);
    painter.drawText(x, y + metrics.ascent(), text);
}

QPen LinePen(const QColor& colour, int width = 1) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

bool PositiveFinite(double v) {
    return std::isfinite(v) && v > 0;
}

} // namespace

CGSensorCtrl::CGSensorCtrl(QWidget* parent)
    : QWidget(parent), m_axisFont(WinFont("Arial", 10)), m_legendFont(WinFont("Arial", 13)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdatePlotRect();
    Recalculate();
    UpdateDescription();
}

GSensorSpanInputs CGSensorCtrl::SpanInputs() const {
    return {m_nSpanMode, m_samples.size(), m_dSamplesPerMs, m_dFixedSpanMs, m_dPixelsPerMs, m_nPlotWidth};
}

void CGSensorCtrl::Recalculate() {
    m_dDurationMs = double(m_samples.size()) / m_dSamplesPerMs;
    m_dSpanMs = RecalculatedSpanMs(SpanInputs(), m_dSpanMs);
}

int CGSensorCtrl::SetPlayPosition(int ms) {
    m_dPositionMs = ms;
    Recalculate();
    m_dPositionMs = std::clamp(m_dPositionMs, 0.0, m_dDurationMs);
    m_dDurationMs = double(m_samples.size()) / m_dSamplesPerMs;
    UpdateDescription();
    update();
    return 1;
}

int CGSensorCtrl::GetCurrentValues(double& x, double& y, double& z) const {
    const GSensorValues v = GSensorValuesAt(m_samples, m_dPositionMs, m_dSamplesPerMs, m_dFullScale);
    x = v.x;
    y = v.y;
    z = v.z;
    return 0;
}

void CGSensorCtrl::ClearSamples() {
    m_samples.clear();
    m_dPositionMs = 0;
    m_spanMarks.clear();
    SeriesChanged();
    emit seriesSetUp();
}

void CGSensorCtrl::SetSpanMarks(std::vector<CurveSpanMark> marks) {
    m_spanMarks = std::move(marks);
    m_bLayerDirty = true;
    update();
}

int CGSensorCtrl::XOfSample(size_t index) const {
    const GSensorPlot plot = GSensorPlotForClient(width(), height());
    if (m_samples.empty()) return plot.left;
    const float step = float(plot.width) / float(m_samples.size());
    return int(float(index) * step) + plot.left;
}

void CGSensorCtrl::AppendSamples(const GSensorSample* samples, size_t count) {
    m_samples.insert(m_samples.end(), samples, samples + count);
    SeriesChanged();
}

void CGSensorCtrl::SetUpSeries(const std::vector<GSensorSample>& samples, const uint8_t gsensorAttr[4],
                               uint32_t durationMs) {
    SetFullScale(gsensorAttr[1] != 0 ? gsensorAttr[1] : 8.0);
    SetAxisMax(2.0);
    ClearSamples();
    AppendSamples(samples.data(), samples.size());
    Recalculate();
    SetSamplesPerMs(GSensorSamplesPerMs(gsensorAttr[0], samples.size(), durationMs));
    SetPixelsPerMs(0.01);
    SetSpanMode(kSpanFromPixelScale);
    emit seriesSetUp();
}

void CGSensorCtrl::SeriesChanged() {
    Recalculate();
    m_bCurvesDirty = true;
    m_bTicksDirty = true;
    UpdateDescription();
    update();
}

void CGSensorCtrl::SetSamplesPerMs(double samplesPerMs) {
    if (!PositiveFinite(samplesPerMs)) return;
    m_dSamplesPerMs = samplesPerMs;
    Recalculate();
    m_bTicksDirty = true;
    update();
}

void CGSensorCtrl::SetFullScale(double fullScale) {
    if (!PositiveFinite(fullScale)) return;
    m_dFullScale = fullScale;
    m_bCurvesDirty = true;
    UpdateDescription();
    update();
}

void CGSensorCtrl::SetAxisMax(double axisMax) {
    if (!PositiveFinite(axisMax)) return;
    m_dAxisMax = axisMax;
    m_bCurvesDirty = true;
    update();
}

void CGSensorCtrl::SetPixelsPerMs(double pixelsPerMs) {
    if (!PositiveFinite(pixelsPerMs)) return;
    m_dPixelsPerMs = pixelsPerMs;
    Recalculate();
    m_bTicksDirty = true;
    update();
}

void CGSensorCtrl::SetFixedSpanMs(double spanMs) {
    if (!PositiveFinite(spanMs)) return;
    m_dFixedSpanMs = spanMs;
    Recalculate();
    m_bTicksDirty = true;
    update();
}

void CGSensorCtrl::SetSpanMode(int mode) {
    m_nSpanMode = mode;
    Recalculate();
    m_bTicksDirty = true;
    update();
}

void CGSensorCtrl::SetTickMs(int tickMs) {
    m_nTickMs = tickMs;
    m_bTicksDirty = true;
    update();
}

void CGSensorCtrl::SetStopped(bool stopped) {
    m_bStopped = stopped ? 1 : 0;
    m_bLayerDirty = true;
    update();
}

void CGSensorCtrl::SetShowAxis(int axis, bool show) {
    if (axis < 0 || axis > 2) return;
    m_bShowAxis[axis] = show ? 1 : 0;
    m_bLayerDirty = true;
    update();
}

bool CGSensorCtrl::IsAxisShown(int axis) const {
    return axis >= 0 && axis <= 2 && m_bShowAxis[axis] != 0;
}

QRect CGSensorCtrl::LegendRect(int axis) const {
    return axis >= 0 && axis <= 2 ? m_rcLegend[axis] : QRect();
}

QString CGSensorCtrl::ValueText() const {
    double v[3];
    GetCurrentValues(v[0], v[1], v[2]);
    QStringList parts;
    for (int a = 0; a < 3; ++a)
        parts << GSensorLegendText(kAxisName[a], v[a]).trimmed();
    return parts.join(QStringLiteral(", "));
}

void CGSensorCtrl::UpdateDescription() {
    const QString text = ValueText();
    if (accessibleDescription() != text) setAccessibleDescription(text);
}

void CGSensorCtrl::UpdatePlotRect() {
    const GSensorPlot plot = GSensorPlotForClient(width(), height());
    m_rcPlot = FromLtrb(plot.left, plot.top, plot.right, plot.bottom);
    m_nPlotLeft = plot.left;
    m_nPlotWidth = plot.width;
    m_nPlotHeight = plot.height;
    m_nZeroY = plot.zeroY;
}

void CGSensorCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdatePlotRect();
    Recalculate();
    m_bCurvesDirty = true;
    m_bTicksDirty = true;
}

void CGSensorCtrl::RebuildCurvePaths() {
    const GSensorPlot plot = GSensorPlotForClient(width(), height());
    const CollapsedCurves curves = BuildCollapsedCurves(m_samples, m_dFullScale, m_dAxisMax, plot);
    for (int a = 0; a < 3; ++a) {
        QPainterPath path;
        for (const Polyline& line : curves.axis[a]) {
            path.moveTo(line.front().x, line.front().y);
            for (size_t i = 1; i < line.size(); ++i)
                path.lineTo(line[i].x, line[i].y);
            if (line.size() == 1) path.lineTo(line.front().x, line.front().y);
        }
        m_curvePath[a] = path;
    }
    m_bCurvesDirty = false;
    m_bLayerDirty = true;
}

void CGSensorCtrl::RebuildTickLines() {
    const GSensorPlot plot = GSensorPlotForClient(width(), height());
    m_dTickSpanMs = DrawnSpanMs(SpanInputs());
    const int64_t count = TickPositionCount(m_dTickSpanMs, m_nTickMs);
    m_tickLines.clear();
    m_tickLines.reserve(size_t(count) * 3);
    const int edges[3] = {plot.top, plot.zeroY, plot.bottom};
    for (int64_t i = 0; i < count; ++i) {
        const TickMark mark = TickMarkAt(i, m_dTickSpanMs, m_nTickMs, plot);
        for (int edge : edges)
            m_tickLines.emplace_back(mark.x, edge - mark.length, mark.x, edge);
    }
    m_bTicksDirty = false;
    m_bLayerDirty = true;
}

void CGSensorCtrl::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    QPainter painter(this);
    PaintCurvePass(painter);
    PaintLabelPass(painter);
}

void CGSensorCtrl::PaintCurvePass(QPainter& painter) {
    UpdatePlotRect();
    if (m_bTicksDirty) RebuildTickLines();
    if (m_bCurvesDirty) RebuildCurvePaths();
    m_dSpanMs = m_dTickSpanMs;
    const qreal dpr = devicePixelRatioF();
    if (m_bLayerDirty || m_layer.size() != size() * dpr || m_layer.devicePixelRatio() != dpr)
        PaintStaticLayer(dpr);
    painter.drawImage(0, 0, m_layer);

    const int x = GSensorCursorX(m_bCursorFollowsSlider, m_dPositionMs, m_nSliderThumbX, m_nPlotLeft);
    painter.setPen(LinePen(kCursor, 2));
    painter.drawLine(x, m_rcPlot.top() - 4, x, m_rcPlot.top() + m_nPlotHeight + 4);
    m_bCursorFollowsSlider = false;
}

void CGSensorCtrl::PaintStaticLayer(qreal dpr) {
    m_layer = QImage(size() * dpr, QImage::Format_RGB32);
    m_layer.setDevicePixelRatio(dpr);
    QPainter painter(&m_layer);
    painter.fillRect(rect(), kBackground);
    painter.setPen(LinePen(kZeroLine));
    painter.drawLine(m_nPlotLeft, m_nZeroY, m_nPlotLeft + m_nPlotWidth, m_nZeroY);
    painter.setPen(LinePen(kAxis));
    painter.drawLine(m_nPlotLeft, m_rcPlot.top(), m_nPlotLeft, m_rcPlot.top() + m_nPlotHeight);
    painter.drawLines(m_tickLines.data(), int(m_tickLines.size()));
    // Behind the curves, at least two pixels wide so that a short event still shows.
    const GSensorPlot plot = GSensorPlotForClient(width(), height());
    for (const CurveSpanMark& mark : m_spanMarks) {
        const int left = XOfSample(mark.firstSample);
        const int right = std::max(XOfSample(mark.lastSample + 1), left + 2);
        QColor shade = mark.colour;
        shade.setAlpha(110);
        painter.fillRect(QRect(left, plot.top, right - left, plot.bottom - plot.top), shade);
    }
    if (!m_bStopped) {
        painter.setBrush(Qt::NoBrush);
        for (int a = 0; a < 3; ++a) {
            if (!m_bShowAxis[a]) continue;
            painter.setPen(LinePen(kAxisColour[a]));
            painter.drawPath(m_curvePath[a]);
        }
    }
    m_bLayerDirty = false;
}

void CGSensorCtrl::PaintLabelPass(QPainter& painter) {
    painter.setFont(m_axisFont);
    AxisLabel labels[3];
    GSensorAxisLabels(height(), m_dAxisMax, labels);
    for (const AxisLabel& label : labels)
        TextOut(painter, kAxisLabelX, label.y, label.text, kZeroLine, kBackground);
    PaintLegend(painter);
}

void CGSensorCtrl::PaintLegend(QPainter& painter) {
    double values[3];
    GetCurrentValues(values[0], values[1], values[2]);
    painter.setFont(m_legendFont);
    const QFontMetrics metrics(m_legendFont);
    int x = 70;
    for (int a = 0; a < 3; ++a) {
        const QString text = GSensorLegendText(kAxisName[a], values[a]);
        const int cx = metrics.horizontalAdvance(text);
        const int cy = metrics.height();
        const bool active = !m_bStopped && m_bShowAxis[a] && m_dDurationMs != 0;
        const int d = active ? 1 : 0;
        const QRect box = FromLtrb(x - 1 + d, 1 + d, x + cx + 1 + d, cy + 3 + d);
        if (active)
            Draw3dRect(painter, box, kBoxActiveLight, kBoxActiveDark);
        else
            Draw3dRect(painter, box, kBoxInactiveLight, kBoxInactiveDark);
        m_rcLegend[a] = FromLtrb(x + d, 2 + d, x + d + cx, 2 + d + cy);
        TextOut(painter, x + d, 2 + d, text, active ? kAxisColour[a] : kLegendInactiveText,
                kLegendTextBackground);
        x += cx + 8;
    }
}

void CGSensorCtrl::mousePressEvent(QMouseEvent* event) {
    // The press grabs the mouse until the release, which is where the legend reacts.
    event->accept();
}

void CGSensorCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    for (int a = 0; a < 3; ++a) {
        if (m_rcLegend[a].contains(p)) {
            m_bShowAxis[a] = !m_bShowAxis[a];
            m_bLayerDirty = true;
            break;
        }
    }
    update();
}

void CGSensorCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) update();
}

void CGSensorCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is not a press of its own; the release that follows still toggles.
    event->accept();
}
