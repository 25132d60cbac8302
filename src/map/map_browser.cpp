#include "map_browser.h"

#include <QWebEngineProfile>

#include "web_engine_setup.h"
#include "script_batch.h"
#include "trace.h"

void CMapWebPage::javaScriptAlert(const QUrl&, const QString& msg) {
    Trace("==>> map page alert dropped: %s\n", qUtf8Printable(msg));
}

bool CMapWebPage::javaScriptConfirm(const QUrl&, const QString& msg) {
    Trace("==>> map page confirm dropped: %s\n", qUtf8Printable(msg));
    return false;
}

bool CMapWebPage::javaScriptPrompt(const QUrl&, const QString& msg, const QString&, QString*) {
    Trace("==>> map page prompt dropped: %s\n", qUtf8Printable(msg));
    return false;
}

void CMapWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                           int lineNumber, const QString& sourceID) {
    Trace("==>> map page console %s:%d %s\n", qUtf8Printable(sourceID), lineNumber, qUtf8Printable(message));
}

CMapBrowser::CMapBrowser(QWidget* parent) : QWebEngineView(parent) {
    // The map's own profile (its tile cache); the engine's default one only before the engine
    // was started, as in tests of a lone browser.
    CWebEngineSetup* app = CWebEngineSetup::Instance();
    QWebEngineProfile* profile = app && app->Profile() ? app->Profile() : QWebEngineProfile::defaultProfile();
    setPage(new CMapWebPage(profile, this));
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(0);
    connect(&m_flushTimer, &QTimer::timeout, this, &CMapBrowser::Flush);
    connect(this, &QWebEngineView::loadFinished, this, &CMapBrowser::OnLoadFinished);
}

void CMapBrowser::ExecuteJavaScript(const QString& script) {
    if (m_bClosing) return;
    if (m_bLoaded && !m_bBatching) {
        RunInEngine(script);
        return;
    }
    m_pending.append(script);
    if (m_bLoaded && !m_flushTimer.isActive()) m_flushTimer.start();
}

void CMapBrowser::SetBatching(bool on) {
    // Scripts already waiting keep their place in front of the ones sent after the switch.
    if (m_bLoaded) Flush();
    m_bBatching = on;
}

void CMapBrowser::OnLoadFinished() {
    if (m_bLoaded) return;
    m_bLoaded = true;
    Flush();
}

void CMapBrowser::Flush() {
    const QStringList scripts = std::exchange(m_pending, QStringList());
    if (!m_bBatching) {
        for (const QString& script : scripts)
            RunInEngine(script);
        return;
    }
    for (const QString& call : JoinScripts(scripts))
        RunInEngine(call);
}

void CMapBrowser::RunInEngine(const QString& script) {
    ++m_nEngineCalls;
    page()->runJavaScript(script);
}
