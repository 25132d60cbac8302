// The client handler that every browser of the process shares: keeps the list of open browsers,
// hands popups to the desktop's default browser and shows the error page of a failed load.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

class CMapBrowser;

class CBrowserHost : public QObject {
  public:
    CBrowserHost();
    ~CBrowserHost() override;

    // The current client handler (the newest one alive), or none.
    static CBrowserHost* GetInstance();

    // Wires a freshly created browser to this handler and reports it as created.
    void Attach(CMapBrowser* browser);
    // The engine's close sequence for one browser: DoClose, then OnBeforeClose; the window goes.
    void CloseBrowser(CMapBrowser* browser);

    // Life-span handler.
    bool OnBeforePopup(CMapBrowser* browser, const QUrl& targetUrl);
    void OnAfterCreated(CMapBrowser* browser);
    bool DoClose(CMapBrowser* browser);
    void OnBeforeClose(CMapBrowser* browser);
    // Load handler.
    void OnLoadError(CMapBrowser* browser, int errorCode, const QString& errorText, const QUrl& failedUrl);

    // The open browsers in the order of their creation.
    QList<QPointer<CMapBrowser>> m_browsers;
};
