// The three pages in the web engine, offline: each loads without an error page or dialog, takes
// a burst of calls, draws the two lines and the marker, and empties its lines on request.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QScreen>
#include <QWebEngineProfile>

#include "web_engine_setup.h"
#include "engine_locale.h"
#include "map_scripts.h"
#include "map_test_support.h"
#include "settings.h"

namespace {

bool AnyDialogShown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && qobject_cast<QDialog*>(w)) return true;
    }
    return false;
}

// A closed loop of `n` points around (lat0, lon0), about 1.5 km across.
QList<QPair<double, double>> LoopTrack(int n, double lat0, double lon0) {
    QList<QPair<double, double>> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        pts.append({lat0 + 0.006 * std::sin(a), lon0 + 0.009 * std::cos(a) + 0.002 * std::sin(3 * a)});
    }
    return pts;
}

void SendTrack(CMapWindow& dlg, const QList<QPair<double, double>>& pts) {
    for (const auto& p : pts)
        dlg.RunScript(PathPlotScript(p.first, p.second));
}

void ExpectBurstDrawn(CMapWindow& dlg, CMapBrowser* browser) {
    const auto pts = LoopTrack(3000, 35.64, 139.75);
    dlg.RunScript(kPathDeleteScript);
    dlg.RunScript(kPathDrivedDeleteScript);
    SendTrack(dlg, pts);
    for (int i = 0; i < 25; ++i)
        dlg.RunScript(PathDrivedPlotScript(pts[i].first, pts[i].second));
    EXPECT_TRUE(dlg.MovePos(pts[25].first, 1, pts[25].second));

    QJsonObject state = MapState(browser);
    EXPECT_EQ(state.value("path").toInt(), 3000);
    // movpos appends to the driven line and moves the marker there.
    EXPECT_EQ(state.value("drived").toInt(), 26);
    const QJsonArray car = state.value("car").toArray();
    ASSERT_EQ(car.size(), 2);
    EXPECT_NEAR(car[0].toDouble(), pts[25].first, 1e-6);
    EXPECT_NEAR(car[1].toDouble(), pts[25].second, 1e-6);
    const QJsonArray center = state.value("center").toArray();
    ASSERT_EQ(center.size(), 2);
    EXPECT_NEAR(center[0].toDouble(), pts[25].first, 1e-4);
    EXPECT_NEAR(center[1].toDouble(), pts[25].second, 1e-4);

    dlg.RunScript(kPathDeleteScript);
    state = MapState(browser);
    EXPECT_EQ(state.value("path").toInt(), 0);
    EXPECT_EQ(state.value("drived").toInt(), 26);
    dlg.RunScript(kPathDrivedDeleteScript);
    EXPECT_EQ(MapState(browser).value("drived").toInt(), 0);
}

} // namespace

using MapPages = MapWindowFixture;

TEST_F(MapPages, EveryPageLoadsOfflineAndDrawsABurstOfCalls) {
    const struct {
        int kind;
        const char* file;
        const char* mode;
    } pages[] = {{0, "gmap.html", "plain"}, {1, "BMap.html", "plain"}, {2, "OpenLayer.html", "leaflet"}};
    for (const auto& page : pages) {
        SCOPED_TRACE(page.file);
        CMapBrowser* browser = ShowPage(page.kind);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(dlg->GetView()->GetHandler()->m_browsers.size(), 1);
        EXPECT_TRUE(browser->url().toString().endsWith(page.file)) << browser->url().toString().toStdString();
        EXPECT_EQ(MapState(browser).value("mode").toString(), page.mode);
        EXPECT_EQ(EvalJs(browser, "document.body.innerText.indexOf('Failed to load URL')").toInt(), -1);
        ExpectBurstDrawn(*dlg, browser);
        EXPECT_FALSE(AnyDialogShown());
    }
}

TEST_F(MapPages, CallsBeforeTheMapAndBrokenCallsShowNothingAndStopNothing) {
    CMapBrowser* browser = ShowPage(2);
    ASSERT_NE(browser, nullptr);
    // Unknown functions, bad arguments and script errors inside a burst: swallowed, and the
    // calls after them still arrive.
    dlg->RunScript("path_plot(1.000000,2.000000)");
    dlg->RunScript("no_such_function(1, 2)");
    dlg->RunScript("path_plot('x', {})");
    dlg->RunScript("throw new Error('boom')");
    dlg->RunScript("path_plot(3.000000,4.000000)");
    dlg->RunScript("alert('should never show')");
    dlg->RunScript(QStringLiteral("path_plot(5.000000,6.000000)") + QChar(u'\0') + "path_delete()");
    EXPECT_EQ(MapState(browser).value("path").toInt(), 3);
    EXPECT_FALSE(AnyDialogShown());

    // A fresh bridge keeps calls made before any drawing exists and draws them once one arrives.
    EvalJs(browser, R"(
        var f = document.createElement('iframe');
        document.body.appendChild(f);
        var s = f.contentWindow.document.createElement('script');
        s.src = location.href.replace(/[^/]*$/, '') + 'track_bridge.js';
        f.contentWindow.document.head.appendChild(s);
        window.__fresh = f.contentWindow;
        true)");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return EvalJs(browser, "typeof __fresh.map_state").toString() == "function"; }, kEngineWaitMs));
    const QVariant held = EvalJs(browser, R"(
        (function () {
          var w = window.__fresh;
          w.path_plot(1, 2); w.movpos(3, 4);
          var before = w.map_state().mode;
          var d = { mode: 't', n: {path: 0, drived: 0}, append: function (l) { this.n[l]++; },
                    clear: function (l) { this.n[l] = 0; }, car: function () {},
                    count: function (l) { return this.n[l]; }, carPosition: function () { return null; },
                    center: function () { return null; } };
          w.VeltrixTrack.use(d);
          return before + ':' + d.n.path + ':' + d.n.drived;
        })())");
    EXPECT_EQ(held.toString(), "none:1:1");
}

TEST_F(MapPages, MovePosSendsDegreesAndWritesTheLabel) {
    CMapBrowser* browser = ShowPage(2);
    ASSERT_NE(browser, nullptr);
    QLabel* label = dlg->GetCoordLabel();
    ASSERT_NE(label, nullptr);

    EXPECT_TRUE(dlg->MovePos(22.3245, 0, 113.5712));
    EXPECT_EQ(label->text(), "22.540833N, 113.952000E");
    QJsonArray car = MapState(browser).value("car").toArray();
    ASSERT_EQ(car.size(), 2);
    EXPECT_NEAR(car[0].toDouble(), 22.540833, 1e-9);
    EXPECT_NEAR(car[1].toDouble(), 113.952, 1e-9);

    // 0/0 sends nothing and keeps the label.
    const int drivedBefore = MapState(browser).value("drived").toInt();
    EXPECT_FALSE(dlg->MovePos(0, 1, 0));
    EXPECT_EQ(label->text(), "22.540833N, 113.952000E");
    EXPECT_EQ(MapState(browser).value("drived").toInt(), drivedBefore);

    EXPECT_TRUE(dlg->MovePos(0, 1, 8.5));
    EXPECT_EQ(label->text(), "0.000000N, 8.500000E");
    car = MapState(browser).value("car").toArray();
    ASSERT_EQ(car.size(), 2);
    EXPECT_EQ(car[0].toDouble(), 0.0);
    EXPECT_EQ(car[1].toDouble(), 8.5);
    EXPECT_EQ(MapState(browser).value("drived").toInt(), drivedBefore + 1);

    EXPECT_TRUE(dlg->MovePos(-33.86882, 1, 151.2093));
    EXPECT_EQ(label->text(), "-33.868820S, 151.209300E");
}

namespace {

// Pixels of `shot` within a small distance of `color`.
int PixelsNear(const QImage& shot, QColor color) {
    int n = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                    std::abs(c.blue() - color.blue()) <
                36)
                ++n;
        }
    }
    return n;
}

// `line` at `opacity` over the pages' plain background (238, 235, 227).
QColor Blend(QColor line, double opacity) {
    auto mix = [&](int a, int b) { return static_cast<int>(std::lround(a * opacity + b * (1 - opacity))); };
    return QColor(mix(line.red(), 238), mix(line.green(), 235), mix(line.blue(), 227));
}

} // namespace

TEST_F(MapPages, ScreenshotsShowTheDrawnTrackOnEveryPage) {
    const struct {
        int kind;
        const char* file;
        QColor track;
    } pages[] = {{2, "map_openstreetmap_track.png", Blend(QColor(0x88, 0x33, 0xFF), 0.6)},
                 {0, "map_google_offline_track.png", Blend(QColor(0x88, 0x33, 0xFF), 0.5)},
                 {1, "map_china_offline_track.png", Blend(QColor(0, 0, 255), 0.5)}};
    for (const auto& page : pages) {
        SCOPED_TRACE(page.file);
        CMapBrowser* browser = ShowPage(page.kind);
        ASSERT_NE(browser, nullptr);
        dlg->raise();
        dlg->activateWindow();
        const auto pts = LoopTrack(600, 35.6403, 139.7490);
        SendTrack(*dlg, pts);
        for (int i = 0; i < 200; ++i)
            dlg->RunScript(PathDrivedPlotScript(pts[i].first, pts[i].second));
        dlg->MovePos(pts[200].first, 1, pts[200].second);
        ASSERT_EQ(MapState(browser).value("path").toInt(), 600);
        QTest::qWait(1500); // let the compositor show the frame

        const QRect area(dlg->mapToGlobal(QPoint(0, 0)), dlg->size());
        const QImage shot =
            dlg->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        ASSERT_FALSE(shot.isNull());
        QDir().mkpath(VELTRIX_TEST_OUTPUT_DIR);
        EXPECT_TRUE(shot.save(QStringLiteral(VELTRIX_TEST_OUTPUT_DIR "/") + page.file));
        // The whole-track line, in its colour over the plain background, is on screen.
        EXPECT_GT(PixelsNear(shot, page.track), 1500);
    }
}

TEST_F(MapPages, EngineSpeaksTheInterfaceLanguage) {
    CMapBrowser* browser = ShowPage(2);
    ASSERT_NE(browser, nullptr);
    const QString locale = QString::fromStdString(EngineLocaleForLanguage(GetAppSettings().m_nLangIndex));
    ASSERT_FALSE(locale.isEmpty());
    ASSERT_NE(CWebEngineSetup::Instance(), nullptr);
    EXPECT_EQ(CWebEngineSetup::Instance()->Profile()->httpAcceptLanguage(), locale);
    EXPECT_EQ(EvalJs(browser, "navigator.language").toString(), locale);
}
