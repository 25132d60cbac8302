// The map window and its browser view in the web engine: page creation when the engine becomes
// ready, layout, the refresh timer, replacing the page on a switch, error pages, popups, batching.
#include <QDesktopServices>
#include <QJsonArray>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>

#include "error_page.h"
#include "map_scripts.h"
#include "map_test_support.h"
#include "private_message.h"

namespace {

// Receives the URLs the desktop would open in the default web browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls.append(url); }
};

QString RequestedUrl(CMapBrowser* browser) {
    return browser->page()->requestedUrl().toString();
}

} // namespace

TEST(MapWindow, PagesWaitForTheEngineAndTheLastKindWins) {
    REQUIRE_DISPLAY();
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.SetMapRect(QRect(0, 0, 640, 480));
    dlg.show();
    EXPECT_FALSE(dlg.IsEngineReady());
    EXPECT_TRUE(dlg.LoadMapPage(2));
    EXPECT_TRUE(dlg.LoadMapPage(1));
    EXPECT_EQ(dlg.GetMapType(), 1);
    EXPECT_TRUE(dlg.GetView()->GetHandler()->m_browsers.isEmpty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.IsEngineReady(); }, kEngineWaitMs));
    QTest::qWait(200);
    const auto& browsers = dlg.GetView()->GetHandler()->m_browsers;
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(RequestedUrl(browsers[0]), "file:///res/BMap.html");

    // Kind 5 shows the Google page and is kept as given.
    EXPECT_TRUE(dlg.LoadMapPage(5));
    EXPECT_EQ(dlg.GetMapType(), 5);
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(RequestedUrl(browsers[0]), "file:///res/gmap.html");
}

TEST(MapWindow, PageRectangleLeavesThirtyPixelsForTheLabel) {
    REQUIRE_DISPLAY();
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.show();
    dlg.LoadMapPage(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FirstBrowser(dlg) != nullptr; }, kEngineWaitMs));
    CMapBrowser* browser = FirstBrowser(dlg);
    QLabel* label = dlg.GetCoordLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->objectName(), "1074");
    EXPECT_EQ(label->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 10.9);
    EXPECT_TRUE(QFontInfo(label->font()).fixedPitch());

    dlg.SetMapRect(QRect(10, 20, 300, 200));
    EXPECT_EQ(dlg.geometry(), QRect(10, 20, 300, 200));
    EXPECT_EQ(dlg.GetView()->GetPageRect(), QRect(0, 0, 300, 170));
    EXPECT_EQ(browser->geometry(), QRect(0, 0, 300, 170));
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(label->geometry(), QRect(0, 170, 300, 30));

    // 30 pixels or less: the page takes the whole window and the label overlaps it.
    dlg.SetMapRect(QRect(10, 20, 300, 20));
    EXPECT_EQ(dlg.GetView()->GetPageRect(), QRect(0, 0, 300, 20));
    EXPECT_EQ(browser->geometry(), QRect(0, 0, 300, 20));
    EXPECT_EQ(label->geometry(), QRect(0, -10, 300, 30));
    dlg.SetMapRect(QRect(10, 20, 300, 30));
    EXPECT_EQ(dlg.GetView()->GetPageRect(), QRect(0, 0, 300, 30));
    dlg.SetMapRect(QRect(10, 20, 300, 31));
    EXPECT_EQ(dlg.GetView()->GetPageRect(), QRect(0, 0, 300, 1));
}

TEST(MapWindow, LayoutChangesRepaintOnce100msAfterTheLast) {
    REQUIRE_DISPLAY();
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    const QTimer& timer = dlg.GetRefreshTimer();
    dlg.SetMapRect(QRect(0, 0, 400, 300));
    EXPECT_FALSE(timer.isActive()); // the notification is posted, not sent
    QCoreApplication::sendPostedEvents(&dlg);
    ASSERT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), kMapRefreshDelayMs);
    EXPECT_TRUE(timer.isSingleShot());

    // A second change restarts the same timer; it fires once and stops.
    QTest::qWait(60);
    dlg.SetMapRect(QRect(0, 0, 420, 300));
    QCoreApplication::sendPostedEvents(&dlg);
    EXPECT_GT(timer.remainingTime(), 60);
    int fired = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
    QTest::qWait(400);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer.isActive());

    // Other notifications do nothing.
    SendPrivateMessage(&dlg, MSG_MAP_NOTIFY, 0x1234);
    EXPECT_FALSE(timer.isActive());
}

TEST(MapWindow, SwitchingThePageReplacesTheShownOne) {
    REQUIRE_DISPLAY();
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.SetMapRect(QRect(0, 0, 640, 480));
    dlg.show();
    dlg.LoadMapPage(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FirstBrowser(dlg) != nullptr; }, kEngineWaitMs));
    QPointer<CMapBrowser> first = FirstBrowser(dlg);
    ASSERT_TRUE(QTest::qWaitFor([&] { return MapState(first).value("mode").toString() == "leaflet"; },
                                kEngineWaitMs));

    dlg.LoadMapPage(0);
    const auto& browsers = dlg.GetView()->GetHandler()->m_browsers;
    ASSERT_EQ(browsers.size(), 1);
    CMapBrowser* second = browsers[0];
    EXPECT_NE(second, first.data());
    EXPECT_EQ(RequestedUrl(second), "file:///res/gmap.html");
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->geometry(), QRect(0, 0, 640, 450));
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 5000)); // the old page is gone

    // Scripts reach the page that is shown.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return MapState(second).value("mode").toString() == "plain"; }, kEngineWaitMs));
    dlg.RunScript(PathPlotScript(35.64, 139.75));
    EXPECT_EQ(MapState(second).value("path").toInt(), 1);
}

TEST(MapWindow, FailedLoadShowsTheErrorPageButAnAbortLeavesTheFrame) {
    REQUIRE_DISPLAY();
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.SetMapRect(QRect(0, 0, 640, 480));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.IsEngineReady(); }, kEngineWaitMs));
    // The window shows its own page once the engine is ready; the failing page comes second.
    dlg.GetView()->NewPage("file:///res/no_such_page.html");
    const auto& browsers = dlg.GetView()->GetHandler()->m_browsers;
    ASSERT_EQ(browsers.size(), 2);
    CMapBrowser* browser = browsers.last();
    // Layout shows the first browser of the view and hides the others.
    dlg.GetView()->SetPageRect(QRect(0, 0, 640, 450));
    EXPECT_TRUE(browsers.first()->isVisible());
    EXPECT_FALSE(browser->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser->url().scheme() == "data"; }, kEngineWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser->page()->isLoading(); }, kEngineWaitMs));
    const QString text = EvalJs(browser, "document.body.innerText").toString();
    EXPECT_TRUE(text.startsWith("Failed to load URL ")) << text.toStdString();
    EXPECT_TRUE(text.contains("no_such_page.html with error ")) << text.toStdString();
    EXPECT_TRUE(QRegularExpression(R"(\(-\d+\)\.$)").match(text.trimmed()).hasMatch()) << text.toStdString();

    // An aborted load (code -3) leaves the frame as it is; another code replaces it.
    const QUrl shown = browser->url();
    dlg.GetView()->GetHandler()->OnLoadError(browser, kLoadAbortedCode, "net::ERR_ABORTED",
                                             QUrl("file:///x"));
    QTest::qWait(500);
    EXPECT_EQ(browser->url(), shown);
    dlg.GetView()->GetHandler()->OnLoadError(browser, -105, "net::ERR_NAME_NOT_RESOLVED",
                                             QUrl("https://no.such.host/"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser->url() != shown && !browser->page()->isLoading(); },
                                kEngineWaitMs));
    EXPECT_TRUE(EvalJs(browser, "document.body.innerText").toString().contains("(-105)."));
}

TEST(MapWindow, PopupsGoToTheDefaultBrowser) {
    REQUIRE_DISPLAY();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.SetMapRect(QRect(0, 0, 640, 480));
    dlg.show();
    dlg.LoadMapPage(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FirstBrowser(dlg) != nullptr; }, kEngineWaitMs));
    CMapBrowser* browser = FirstBrowser(dlg);
    ASSERT_TRUE(QTest::qWaitFor([&] { return MapState(browser).value("mode").toString() == "plain"; },
                                kEngineWaitMs));
    dlg.RunScript("window.open('https://www.openstreetmap.org/copyright', '_blank')");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !catcher.urls.isEmpty(); }, 10000));
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl("https://www.openstreetmap.org/copyright"));
    EXPECT_EQ(dlg.GetView()->GetHandler()->m_browsers.size(), 1);
}

TEST(MapWindow, BatchedAndSingleScriptsReachThePageAlike) {
    REQUIRE_DISPLAY();
    CMapWindow dlg(nullptr);
    dlg.OnInitDialog();
    dlg.SetMapRect(QRect(0, 0, 640, 480));
    dlg.show();
    // Sent before the page exists: kept and delivered once it has loaded.
    dlg.LoadMapPage(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FirstBrowser(dlg) != nullptr; }, kEngineWaitMs));
    CMapBrowser* browser = FirstBrowser(dlg);
    for (int i = 0; i < 10; ++i)
        dlg.RunScript(PathPlotScript(35.6 + i * 1e-3, 139.7));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return MapState(browser).value("path").toInt() == 10; }, kEngineWaitMs));

    for (bool batching : {true, false}) {
        SCOPED_TRACE(batching ? "batched" : "one call each");
        dlg.GetView()->SetScriptBatching(batching);
        dlg.RunScript(kPathDeleteScript);
        const qint64 callsBefore = browser->EngineCallCount();
        for (int i = 0; i < 2000; ++i)
            dlg.RunScript(PathPlotScript(35.6 + i * 1e-5, 139.7 + i * 1e-5));
        dlg.RunScript(kPathDeleteScript); // order matters: this empties what came before
        dlg.RunScript(PathPlotScript(1, 2));
        dlg.MovePos(3, 1, 4);
        const QJsonObject state = MapState(browser);
        EXPECT_EQ(state.value("path").toInt(), 1);
        EXPECT_EQ(state.value("car").toArray().at(0).toDouble(), 3.0);
        const qint64 calls = browser->EngineCallCount() - callsBefore;
        if (batching)
            EXPECT_LE(calls, 2);
        else
            EXPECT_EQ(calls, 2003);
    }
}

#include "map_window_test.moc"
