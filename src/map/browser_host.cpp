#include "browser_host.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>

#include "error_page.h"
#include "map_browser.h"
#include "trace.h"

namespace {

CBrowserHost* s_pCurrentHandler = nullptr;

// Decided at the first load error and kept for the rest of the process.
bool ChromeRuntimeOn() {
    static const bool on = HasChromeRuntimeSwitch(QCoreApplication::arguments());
    return on;
}

} // namespace

CBrowserHost::CBrowserHost() {
    s_pCurrentHandler = this;
}

CBrowserHost::~CBrowserHost() {
    if (s_pCurrentHandler == this) s_pCurrentHandler = nullptr;
}

CBrowserHost* CBrowserHost::GetInstance() {
    return s_pCurrentHandler;
}

void CBrowserHost::Attach(CMapBrowser* browser) {
    QWebEnginePage* page = browser->page();
    connect(page, &QWebEnginePage::newWindowRequested, this,
            [this, browser](QWebEngineNewWindowRequest& request) {
                OnBeforePopup(browser, request.requestedUrl());
            });
    connect(page, &QWebEnginePage::loadingChanged, this, [this, browser](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
            OnLoadError(browser, info.errorCode(), info.errorString(), info.url());
    });
    OnAfterCreated(browser);
}

bool CBrowserHost::OnBeforePopup(CMapBrowser*, const QUrl& targetUrl) {
    // The user's default web browser opens it; a failure of the desktop is ignored.
    QDesktopServices::openUrl(targetUrl);
    return true;
}

void CBrowserHost::OnAfterCreated(CMapBrowser* browser) {
    m_browsers.append(browser);
}

bool CBrowserHost::DoClose(CMapBrowser*) {
    return false;
}

void CBrowserHost::OnBeforeClose(CMapBrowser* browser) {
    for (qsizetype i = 0; i < m_browsers.size(); ++i) {
        if (m_browsers[i] == browser) {
            m_browsers.removeAt(i);
            break;
        }
    }
    if (m_browsers.isEmpty()) QCoreApplication::quit();
}

void CBrowserHost::CloseBrowser(CMapBrowser* browser) {
    if (!browser || browser->IsClosing()) return;
    if (DoClose(browser)) return;
    browser->MarkClosing();
    browser->hide();
    disconnect(browser->page(), nullptr, this, nullptr);
    OnBeforeClose(browser);
    browser->deleteLater();
}

void CBrowserHost::OnLoadError(CMapBrowser* browser, int errorCode, const QString& errorText,
                                    const QUrl& failedUrl) {
    if (ChromeRuntimeOn()) return;
    if (errorCode == kLoadAbortedCode) return;
    Trace("==>> CCefClientHandler::OnLoadError %d %s\n", errorCode, qUtf8Printable(failedUrl.toString()));
    browser->load(QUrl(ErrorPageDataUrl(failedUrl.toString(), errorText, errorCode)));
}
