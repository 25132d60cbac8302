#include "map_web_view.h"

#include <QUrl>
#include <QWebEngineSettings>

#include "browser_host.h"
#include "map_browser.h"
#include "trace.h"

namespace {

bool IsLive(const CMapBrowser* browser) {
    return browser && !browser->IsClosing();
}

void ApplyBrowserSettings(QWebEngineSettings* settings) {
    static const QString family = QStringLiteral("Roboto,Arial");
    for (auto which : {QWebEngineSettings::StandardFont, QWebEngineSettings::FixedFont,
                       QWebEngineSettings::SerifFont, QWebEngineSettings::SansSerifFont,
                       QWebEngineSettings::CursiveFont, QWebEngineSettings::FantasyFont})
        settings->setFontFamily(which, family);
    settings->setFontSize(QWebEngineSettings::MinimumFontSize, 12);
}

} // namespace

CMapWebView::CMapWebView(QWidget* owner)
    : m_hOwner(owner), m_pHandler(std::make_shared<CBrowserHost>()) {}

CMapWebView::~CMapWebView() = default;

void CMapWebView::SetPageRect(const QRect& rc) {
    m_rcPage = rc;
    const auto& browsers = m_pHandler->m_browsers;
    for (qsizetype i = 0; i < browsers.size(); ++i) {
        CMapBrowser* browser = browsers[i];
        if (!IsLive(browser)) continue;
        if (i == m_nVisible) {
            browser->show();
            browser->setGeometry(m_rcPage);
            browser->update();
        } else {
            browser->hide();
        }
    }
}

void CMapWebView::NewPage(const QString& url) {
    Trace("----->> CCEFWebkitUI::NewPage ++++++ \n");
    auto* browser = new CMapBrowser(m_hOwner);
    ApplyBrowserSettings(browser->settings());
    browser->SetBatching(m_bBatching);
    browser->setGeometry(m_rcPage);
    browser->show();
    m_pHandler->Attach(browser);
    browser->load(QUrl(url));
    Trace("----->> CCEFWebkitUI::NewPage ----- \n");
}

void CMapWebView::CloseOlderPages() {
    const auto browsers = m_pHandler->m_browsers;
    for (qsizetype i = 0; i + 1 < browsers.size(); ++i)
        m_pHandler->CloseBrowser(browsers[i]);
    SetPageRect(m_rcPage);
}

void CMapWebView::ExecuteScript(const QString& script) {
    for (CMapBrowser* browser : m_pHandler->m_browsers) {
        if (IsLive(browser)) browser->ExecuteJavaScript(script);
    }
}

void CMapWebView::ReFresh() {
    Trace("==>>CCEFWebkitUI::ReFresh Refresh the Webview \n");
    for (CMapBrowser* browser : m_pHandler->m_browsers) {
        if (IsLive(browser)) {
            Trace("==>> CCEFWebkitUI::Refresh the Webview \n");
            browser->update();
        }
    }
}

void CMapWebView::SetScriptBatching(bool on) {
    m_bBatching = on;
    for (CMapBrowser* browser : m_pHandler->m_browsers) {
        if (IsLive(browser)) browser->SetBatching(on);
    }
}
