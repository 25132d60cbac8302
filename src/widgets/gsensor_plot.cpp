#include "gsensor_plot.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kDefaultDrawnSpanMs = 20000;

// A double that may be cast to int without undefined behaviour.
int TruncToInt(double v) {
    if (!(v == v)) return 0;
    return int(std::clamp(std::trunc(v), double(INT_MIN), double(INT_MAX)));
}

bool IsSkippedRow(int y) {
    return y == 20 || y == 60;
}

} // namespace

GSensorPlot GSensorPlotForClient(int clientWidth, int clientHeight) {
    GSensorPlot plot;
    plot.left = 54;
    plot.top = 20;
    plot.right = clientWidth - 54;
    plot.bottom = clientHeight - 8;
    plot.width = plot.right - plot.left;
    plot.height = plot.bottom - plot.top;
    plot.zeroY = plot.top + plot.height / 2;
    return plot;
}

double RecalculatedSpanMs(const GSensorSpanInputs& in, double unchanged) {
    switch (in.spanMode) {
    case kSpanFromSeries: {
        const double duration = in.samplesPerMs > 0 ? double(in.sampleCount) / in.samplesPerMs : 0;
        return std::clamp(duration, 1000.0, 3600000.0);
    }
    case kSpanFixed:
        return in.fixedSpanMs;
    case kSpanFromPixelScale:
        return in.pixelsPerMs > 0 ? in.plotWidth / in.pixelsPerMs : unchanged;
    default:
        return unchanged;
    }
}

double DrawnSpanMs(const GSensorSpanInputs& in) {
    double span = 0;
    if (in.spanMode == kSpanFromSeries)
        span = in.samplesPerMs > 0 ? std::trunc(double(in.sampleCount) / in.samplesPerMs) : 0;
    else if (in.spanMode == kSpanFixed)
        span = in.fixedSpanMs;
    else
        span = in.pixelsPerMs > 0 ? std::trunc(in.plotWidth / in.pixelsPerMs) : 0;
    if (span == 0 || !std::isfinite(span)) span = kDefaultDrawnSpanMs;
    return span;
}

int64_t TickPositionCount(double spanMs, int tickMs) {
    if (tickMs <= 0 || !(spanMs > 0)) return 0;
    const double limit = spanMs / tickMs;
    const double count = std::ceil(limit);
    return int64_t(std::min(count, double(kMaxTickPositions)));
}

TickMark TickMarkAt(int64_t i, double spanMs, int tickMs, const GSensorPlot& plot) {
    const double positions = spanMs / tickMs;
    const int64_t product = i * int64_t(plot.width);
    const int x = TruncToInt(double(product) / positions + plot.left);
    const int length = i % 10 == 0 ? 6 : (i % 10 == 5 ? 4 : 2);
    return {x, length};
}

bool IsMissingReading(const GSensorSample& s) {
    const auto missing = [](int16_t w) { return w == 128 || w == -128; };
    return missing(s.x) || missing(s.y) || missing(s.z);
}

double GSensorWordToG(int16_t word, double fullScale) {
    const int lowByte = static_cast<int8_t>(static_cast<uint16_t>(word) & 0xFF);
    return lowByte * fullScale / 128;
}

int GSensorCurveY(int16_t word, double fullScale, double axisMax, const GSensorPlot& plot) {
    if (!(axisMax > 0)) return plot.zeroY;
    const double g = std::clamp(GSensorWordToG(word, fullScale), -axisMax, axisMax);
    return TruncToInt(plot.zeroY - g * plot.height / (2 * axisMax));
}

void TraceCurves(const std::vector<GSensorSample>& samples, double fullScale, double axisMax,
                 const GSensorPlot& plot, CurveSink& sink) {
    if (samples.empty()) return;
    const float step = float(plot.width) / float(samples.size());
    int prevX[3] = {plot.left, plot.left, plot.left};
    int prevY[3] = {plot.zeroY, plot.zeroY, plot.zeroY};
    for (size_t i = 0; i < samples.size(); ++i) {
        const GSensorSample& s = samples[i];
        if (IsMissingReading(s)) continue;
        const int x = TruncToInt(float(i) * step) + plot.left;
        const int16_t words[3] = {s.x, s.y, s.z};
        for (int a = 0; a < 3; ++a) {
            const int y = GSensorCurveY(words[a], fullScale, axisMax, plot);
            if (!(IsSkippedRow(y) && IsSkippedRow(prevY[a]))) sink.Add(a, {prevX[a], prevY[a], x, y});
            prevX[a] = x;
            prevY[a] = y;
        }
    }
}

CurveSegments BuildCurveSegments(const std::vector<GSensorSample>& samples, double fullScale, double axisMax,
                                 const GSensorPlot& plot) {
    struct Collect : CurveSink {
        CurveSegments out;
        void Add(int axis, const CurveSegment& segment) override { out.axis[axis].push_back(segment); }
    } collect;
    TraceCurves(samples, fullScale, axisMax, plot, collect);
    return std::move(collect.out);
}

void PolylineCollapser::Add(const CurveSegment& s) {
    const PlotPoint start{s.x0, s.y0};
    const PlotPoint end{s.x1, s.y1};
    if (!m_bOpen || !(m_run.last == start)) {
        if (m_bOpen) FlushRun();
        m_lines.emplace_back();
        StartRun(start);
        m_bOpen = true;
    }
    if (end.x != m_run.first.x) {
        FlushRun();
        StartRun(end);
        return;
    }
    ++m_run.count;
    m_run.last = end;
    if (end.y < m_run.low.y) {
        m_run.low = end;
        m_run.lowAt = m_run.count;
    }
    if (end.y > m_run.high.y) {
        m_run.high = end;
        m_run.highAt = m_run.count;
    }
}

void PolylineCollapser::StartRun(PlotPoint p) {
    m_run = {p, p, p, p, 0, 0, 0};
}

void PolylineCollapser::Emit(PlotPoint p) {
    Polyline& line = m_lines.back();
    if (line.empty() || !(line.back() == p)) line.push_back(p);
}

// A column's run: its first point, its extremes in the order they came, its last point.
void PolylineCollapser::FlushRun() {
    Emit(m_run.first);
    if (m_run.lowAt <= m_run.highAt) {
        Emit(m_run.low);
        Emit(m_run.high);
    } else {
        Emit(m_run.high);
        Emit(m_run.low);
    }
    Emit(m_run.last);
}

std::vector<Polyline> PolylineCollapser::Take() {
    if (m_bOpen) FlushRun();
    m_bOpen = false;
    return std::move(m_lines);
}

CollapsedCurves BuildCollapsedCurves(const std::vector<GSensorSample>& samples, double fullScale,
                                     double axisMax, const GSensorPlot& plot) {
    struct Collapse : CurveSink {
        PolylineCollapser axis[3];
        void Add(int a, const CurveSegment& segment) override { axis[a].Add(segment); }
    } collapse;
    TraceCurves(samples, fullScale, axisMax, plot, collapse);
    CollapsedCurves out;
    for (int a = 0; a < 3; ++a)
        out.axis[a] = collapse.axis[a].Take();
    return out;
}

int GSensorCursorX(bool followsSlider, double positionMs, int sliderThumbX, int plotLeft) {
    if ((followsSlider || positionMs > 0) && sliderThumbX >= 0) return sliderThumbX;
    return plotLeft;
}

void GSensorAxisLabels(int clientHeight, double axisMax, AxisLabel out[3]) {
    const int u = (clientHeight - 20) / 6;
    out[0] = {u + 10, QString::asprintf(" %1.0fG", axisMax)};
    out[1] = {3 * u + 10, QString::asprintf(" %0.0fG", 0.0)};
    out[2] = {5 * u + 10, QString::asprintf("-%1.0fG", axisMax)};
}

size_t GSensorSampleIndex(double positionMs, double samplesPerMs, size_t sampleCount) {
    const double index = std::trunc(std::trunc(positionMs) * samplesPerMs);
    if (!(index >= 0) || index >= double(sampleCount)) return SIZE_MAX;
    return size_t(index);
}

GSensorValues GSensorValuesAt(const std::vector<GSensorSample>& samples, double positionMs,
                              double samplesPerMs, double fullScale) {
    const size_t i = GSensorSampleIndex(positionMs, samplesPerMs, samples.size());
    if (i == SIZE_MAX || IsMissingReading(samples[i])) return {};
    const GSensorSample& s = samples[i];
    return {GSensorWordToG(s.x, fullScale), GSensorWordToG(s.y, fullScale), GSensorWordToG(s.z, fullScale)};
}

QString GSensorLegendText(char axisName, double value) {
    return QString::asprintf("%c: %0.4f G    ", axisName, value);
}

double GSensorSamplesPerMs(uint8_t samplesPerSecond, size_t sampleCount, uint32_t durationMs,
                           double fallback) {
    const double rate = samplesPerSecond != 0 ? samplesPerSecond / 1000.0
                        : durationMs != 0     ? double(sampleCount) / durationMs
                                              : 0;
    return std::isfinite(rate) && rate > 0 ? rate : fallback;
}
