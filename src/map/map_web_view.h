// The browser view of the map window: creates the browsers inside it, places them, repaints
// them and runs scripts in their pages.
#pragma once

#include <QRect>
#include <QString>
#include <memory>

class QWidget;
class CBrowserHost;
class CMapBrowser;

class CMapWebView {
  public:
    explicit CMapWebView(QWidget* owner);
    virtual ~CMapWebView();
    CMapWebView(const CMapWebView&) = delete;
    CMapWebView& operator=(const CMapWebView&) = delete;

    virtual const char* GetWindowClassName() const { return "WKEWebkitUI"; }
    virtual void SetPageRect(const QRect& rc);
    virtual QRect GetPageRect() const { return m_rcPage; }

    // One more browser showing `url`, placed at the page rectangle.
    void NewPage(const QString& url);
    // Closes every browser but the newest, so a newly chosen page replaces the one shown.
    void CloseOlderPages();
    // Runs `script` in the main frame of every browser, in list order; nothing comes back.
    void ExecuteScript(const QString& script);
    void ReFresh();

    // Joining of consecutive scripts into one engine call (on by default).
    void SetScriptBatching(bool on);
    CBrowserHost* GetHandler() const { return m_pHandler.get(); }

  private:
    QWidget* m_hOwner;
    std::shared_ptr<CBrowserHost> m_pHandler;
    int m_nVisible = 0;
    QRect m_rcPage;
    bool m_bBatching = true;
};
