// One browser of the map view: a web view whose page runs the scripts of the program in its
// main frame. Scripts that arrive before the page's first load has finished wait for it, so a
// track sent right after start-up is not lost; with batching on, the scripts of one event-loop
// turn go to the engine together (see script_batch.h).
#pragma once

#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

class CMapWebPage : public QWebEnginePage {
    Q_OBJECT
  public:
    using QWebEnginePage::QWebEnginePage;

  protected:
    // The map must never show a dialog of its own: alerts, confirmations and prompts of page or
    // vendor scripts are dropped, console lines go to the trace.
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override;
};

class CMapBrowser : public QWebEngineView {
    Q_OBJECT
  public:
    explicit CMapBrowser(QWidget* parent);

    // The frame's ExecuteJavaScript: runs `script` in the main frame; nothing comes back.
    void ExecuteJavaScript(const QString& script);
    void SetBatching(bool on);
    bool IsClosing() const { return m_bClosing; }
    void MarkClosing() { m_bClosing = true; }
    // Scripts accepted but not yet handed to the engine (the page has not loaded, or the burst
    // is still being collected).
    bool HasPendingScripts() const { return !m_pending.isEmpty(); }
    // Engine calls made so far (one per runJavaScript).
    qint64 EngineCallCount() const { return m_nEngineCalls; }

  private:
    void OnLoadFinished();
    void Flush();
    void RunInEngine(const QString& script);

    QStringList m_pending;
    QTimer m_flushTimer;
    bool m_bLoaded = false;
    bool m_bBatching = true;
    bool m_bClosing = false;
    qint64 m_nEngineCalls = 0;
};
