// How long a whole track takes to reach a map page: 18,000 path_plot calls and one movpos, from
// the first call until the page's whole-track line holds all 18,000 points. Compares scripts
// joined into few engine calls with one engine call per script.
//
// Run under a virtual X screen with the web engine environment of ./test.sh:
//   export QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software
//   export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking"
//   xvfb-run -a -s "-screen 0 1920x1080x24" ./bench_map_throughput [runs] [kind] [batched]
// runs: repetitions per mode (3); kind: map page (2, OpenStreetMap); "batched": skip the slow
// one-call-each mode.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "browser_host.h"
#include "map_web_view.h"
#include "map_window.h"
#include "map_browser.h"
#include "map_scripts.h"

namespace {

constexpr int kPoints = 18000;
constexpr int kWaitMs = 600000;

// A number from the page, asked after every script sent so far has reached the engine.
double PageNumber(CMapBrowser* browser, const QString& expression) {
    (void)QTest::qWaitFor([&] { return !browser->HasPendingScripts(); }, kWaitMs);
    double value = -1;
    bool done = false;
    browser->page()->runJavaScript(expression, [&](const QVariant& v) {
        value = v.isValid() ? v.toDouble() : -1;
        done = true;
    });
    (void)QTest::qWaitFor([&] { return done; }, kWaitMs);
    return value;
}

struct Run {
    double sendMs;  // the caller's loop of 18,001 calls
    double totalMs; // first call until the line holds every point
    qint64 engineCalls;
};

Run SendTrack(CMapWindow& dlg, CMapBrowser* browser) {
    dlg.RunScript(kPathDeleteScript);
    dlg.RunScript(kPathDrivedDeleteScript);
    if (PageNumber(browser, "map_state().path") != 0) std::fprintf(stderr, "page did not empty its line\n");
    const qint64 callsBefore = browser->EngineCallCount();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kPoints; ++i) {
        const double a = 2 * M_PI * i / kPoints;
        dlg.RunScript(PathPlotScript(35.64 + 0.05 * std::sin(a), 139.75 + 0.07 * std::cos(3 * a)));
    }
    dlg.MovePos(35.64, 1, 139.82);
    const double sendMs = clock.nsecsElapsed() / 1e6;
    while (PageNumber(browser, "map_state().path + (map_state().drived >= 1 ? 0 : -1)") < kPoints) {
    }
    return {sendMs, clock.nsecsElapsed() / 1e6, browser->EngineCallCount() - callsBefore};
}

void Report(const char* name, std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.totalMs < b.totalMs; });
    const Run& median = runs[runs.size() / 2];
    std::printf(
        "%-16s runs %zu  median %9.1f ms (best %9.1f, worst %9.1f)  send loop %8.1f ms  engine calls %lld\n",
        name, runs.size(), median.totalMs, runs.front().totalMs, runs.back().totalMs, median.sendMs,
        static_cast<long long>(median.engineCalls));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("VELTRIX_RES_DIR")) qputenv("VELTRIX_RES_DIR", VELTRIX_BENCH_RES_DIR);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int kind = argc > 2 ? std::atoi(argv[2]) : 2;
    const bool batchedOnly = argc > 3 && QByteArray(argv[3]) == "batched";

    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.SetMapRect(QRect(0, 0, 1024, 768));
    dlg.show();
    dlg.LoadMapPage(kind);
    auto& browsers = dlg.GetView()->GetHandler()->m_browsers;
    if (!QTest::qWaitFor([&] { return !browsers.isEmpty(); }, kWaitMs)) {
        std::fprintf(stderr, "the web engine did not start\n");
        return 1;
    }
    CMapBrowser* browser = browsers.first();
    if (!QTest::qWaitFor([&] { return PageNumber(browser, "typeof map_state === 'function' ? 1 : 0") == 1; },
                         kWaitMs)) {
        std::fprintf(stderr, "the map page did not load\n");
        return 1;
    }
    std::printf("map page %s, %d path_plot calls + 1 movpos, until the line holds %d points\n",
                qUtf8Printable(MapPageUrl(kind)), kPoints, kPoints);
    for (bool batching : {true, false}) {
        if (!batching && batchedOnly) break;
        dlg.GetView()->SetScriptBatching(batching);
        std::vector<Run> results;
        for (int i = 0; i < runs; ++i)
            results.push_back(SendTrack(dlg, browser));
        Report(batching ? "batched" : "one call each", results);
        std::fflush(stdout);
    }
    return 0;
}
