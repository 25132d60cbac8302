// Repaint times of the drawn widgets, rendered offscreen into an image as the window system would
// have them painted: the median of many single repaints, in milliseconds.
//
//   QT_QPA_PLATFORM=offscreen build/bench/widgets/bench_widgets [runs]
//
// Each figure is one function below that prints its lines; list it in kMeasurements.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "gauges_refresh.h"
#include "gsensor_ctrl.h"

namespace {

// Median wall-clock time of `runs` calls of `once`, after one warm-up call.
double MedianMs(int runs, const std::function<void(int)>& once) {
    once(-1);
    std::vector<double> times;
    times.reserve(size_t(runs));
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        once(i);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// goalMs 0: a figure without a goal of its own, printed for comparison.
void PrintFigure(const char* name, double medianMs, double goalMs = 0) {
    if (goalMs > 0)
        std::printf("%-52s median %7.3f ms  (goal <= %.0f ms)\n", name, medianMs, goalMs);
    else
        std::printf("%-52s median %7.3f ms\n", name, medianMs);
}

// A drive's worth of G-sensor readings: slow swings with a little noise and a missing reading
// now and then, all three axes moving.
std::vector<GSensorSample> DriveSeries(int count) {
    std::vector<GSensorSample> samples(static_cast<size_t>(count));
    uint32_t noise = 12345;
    for (int i = 0; i < count; ++i) {
        noise = noise * 1103515245u + 12345u;
        const int jitter = int((noise >> 16) % 7) - 3;
        const double t = i / 16.0;
        samples[size_t(i)] = {int16_t(40 * std::sin(t / 3) + jitter), int16_t(25 * std::sin(t / 7) - jitter),
                              int16_t(16 + 10 * std::cos(t / 2) + jitter)};
        if (i % 997 == 0) samples[size_t(i)].y = 128;
    }
    return samples;
}

// The G-sensor curve: 36,000 samples (37.5 minutes at 16 a second) at 1000 x 200 pixels.
// "repaint" is what every position update costs: the background, scale and curves are kept in a
// layer that only a change redraws. "after a legend toggle" strokes the kept curve paths into that
// layer again; "after a data change" also builds the paths again, as after loading a recording or
// resizing.
void MeasureCurve(int runs) {
    CGSensorCtrl ctrl;
    ctrl.resize(1000, 200);
    const std::vector<GSensorSample> samples = DriveSeries(36000);
    const uint8_t attr[4] = {16, 2, 0, 0};
    ctrl.SetUpSeries(samples, attr, 2250000);
    QImage image(ctrl.size(), QImage::Format_RGB32);
    const double repaint = MedianMs(runs, [&](int i) {
        ctrl.SetPlayPosition(1000 + 7000 * std::max(i, 0));
        ctrl.render(&image);
    });
    PrintFigure("G-sensor curve repaint, 36,000 samples, 1000x200", repaint, 2);
    const double rebuilt = MedianMs(std::max(runs / 10, 5), [&](int i) {
        ctrl.SetFullScale(i % 2 ? 2.0 : 4.0); // new curves, same scale
        ctrl.render(&image);
    });
    PrintFigure("G-sensor curve repaint after a data change", rebuilt);
    const double restroked = MedianMs(runs, [&](int i) {
        ctrl.SetShowAxis(2, i % 2 != 0); // same paths, drawn again
        ctrl.render(&image);
    });
    PrintFigure("G-sensor curve repaint after a legend toggle", restroked);
}

// Further figures go here as one function each.
using Measurement = void (*)(int runs);
const Measurement kMeasurements[] = {
    MeasureCurve,
    MeasureGaugesRefresh, // gauges_refresh.cpp
};

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    for (const Measurement measure : kMeasurements)
        measure(runs);
    return 0;
}
