// The map window: one web map page in the browser view, with a one-line coordinate label under
// it. The program talks to the page only through script calls that are never answered.
#pragma once

#include <QFrame>
#include <QString>
#include <QTimer>

class QEvent;
class QLabel;
class CMapWebView;

// wParam values of MSG_MAP_NOTIFY (private_message.h).
constexpr unsigned MAP_NOTIFY_READY = 0xF011;
constexpr unsigned MAP_NOTIFY_REFRESH = 0xF021;
// One repaint of the pages, 100 ms after the last layout change.
constexpr int TIMER_MAP_REFRESH = 0xA020;
constexpr int kMapRefreshDelayMs = 100;
constexpr int IDD_HTML_MAP = 194;
constexpr int IDC_MAP_COORD = 1074;
// Height of the coordinate label at the bottom of the map window.
constexpr int kCoordLabelHeight = 30;

// URL of the page of a map kind; any kind other than 1 and 2 gives the Google page.
QString MapPageUrl(int kind);

class CMapWindow : public QFrame {
  public:
    explicit CMapWindow(QWidget* parent);
    ~CMapWindow() override;

    // The dialog's initialisation: starts the browser engine, then creates the coordinate label.
    bool OnInitDialog();
    bool InitBrowserEngine();

    // Places the map window (parent's client coordinates); the page gets all but the label's
    // 30 pixels at the bottom, or everything when the window is 30 pixels high or less.
    void SetMapRect(const QRect& rc);
    // Shows the page of `kind` (0 Google, 1 China, 2 OpenStreetMap). Before the engine is ready
    // only the kind is kept; the last kind asked for is shown when it becomes ready.
    bool LoadMapPage(int kind);
    // Moves the car: layout 0 gives degrees + minutes / 100, any other layout decimal degrees.
    // False (and nothing done) when both coordinates are 0.
    bool MovePos(double latitude, int layout, double longitude);
    // Runs `script` (up to its first NUL) in the page; nothing when there is no view.
    void RunScript(const QString& script);

    int GetMapType() const { return m_nMapType; }
    bool IsEngineReady() const { return m_bEngineReady; }
    CMapWebView* GetView() const { return m_pView; }
    QLabel* GetCoordLabel() const { return m_wndCoord; }
    const QTimer& GetRefreshTimer() const { return m_timerMapRefresh; }

  protected:
    bool event(QEvent* event) override;

  private:
    void OnMapNotify(uintptr_t wParam);
    void OnTimer(int id);

    int m_nMapType = 0;
    bool m_bEngineReady = false;
    CMapWebView* m_pView = nullptr;
    QLabel* m_wndCoord = nullptr;
    QTimer m_timerMapRefresh;
};

// The one map window of the process, or none.
extern CMapWindow* g_pMapWnd;
