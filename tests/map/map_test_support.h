// Shared helpers of the map tests: waiting for the web engine and reading page state back.
#pragma once

#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include "browser_host.h"
#include "map_web_view.h"
#include "map_window.h"
#include "map_browser.h"

// Web engine start-up on two shared cores is slow: waits are generous.
constexpr int kEngineWaitMs = 60000;

inline bool HaveDisplay() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Skipped without a display; a display that is set but cannot be reached is a failure.
#define REQUIRE_DISPLAY()                                                                                    \
    do {                                                                                                     \
        if (!HaveDisplay() && !qEnvironmentVariableIsEmpty("DISPLAY"))                                       \
            FAIL() << "cannot reach the X display " << qgetenv("DISPLAY").constData();                       \
        if (!HaveDisplay()) GTEST_SKIP() << "needs an X display (run under xvfb-run)";                       \
    } while (0)

// Result of `script` in the main frame of `browser`; invalid on timeout.
inline QVariant EvalJs(CMapBrowser* browser, const QString& script, int timeoutMs = kEngineWaitMs) {
    QVariant result;
    bool done = false;
    browser->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, timeoutMs)) return {};
    return result;
}

// map_state() of the page as a JSON object (mode, path, drived, car, center), asked after every
// script sent so far has reached the engine.
inline QJsonObject MapState(CMapBrowser* browser) {
    if (!QTest::qWaitFor([&] { return !browser->HasPendingScripts(); }, kEngineWaitMs)) return {};
    const QVariant v = EvalJs(browser, QStringLiteral("JSON.stringify(map_state())"));
    return QJsonDocument::fromJson(v.toString().toUtf8()).object();
}

inline CMapBrowser* FirstBrowser(CMapWindow& dlg) {
    if (!dlg.GetView() || dlg.GetView()->GetHandler()->m_browsers.isEmpty()) return nullptr;
    return dlg.GetView()->GetHandler()->m_browsers.first();
}

// A map window on screen, engine started, page of `kind` loaded and drawing.
class MapWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        dlg = std::make_unique<CMapWindow>(nullptr);
        dlg->OnInitDialog();
        dlg->SetMapRect(QRect(40, 40, 800, 600));
        dlg->show();
    }

    // Loads `kind` and waits until its page answers map_state() with a drawing.
    CMapBrowser* ShowPage(int kind) {
        dlg->LoadMapPage(kind);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return dlg->IsEngineReady() && FirstBrowser(*dlg); }, kEngineWaitMs));
        CMapBrowser* browser = FirstBrowser(*dlg);
        if (!browser) return nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return !browser->page()->isLoading() &&
                       MapState(browser).value("mode").toString() != "none" && !MapState(browser).isEmpty();
            },
            kEngineWaitMs));
        return browser;
    }

    std::unique_ptr<CMapWindow> dlg;
};
