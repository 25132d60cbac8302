// The main window's layout and window modes: where its children go, which switches and panes are
// on, the size grip and the splitters, moving by the background, full-screen video, maximise,
// minimise and the preset sizes. The rules themselves are plain code in main_layout.h; this part
// keeps the state they are applied to and applies them to the window's children.
//
// UI thread only. Owned by the window it lays out (a child QObject of it).
#pragma once

#include "main_layout.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <functional>

class CMapWindow;
class QMouseEvent;
class QWidget;

class CWindowModes : public QObject {
    Q_OBJECT

  public:
    // What the layout asks of the rest of the window, read whenever it lays out.
    struct Host {
        std::function<QWidget*(int id)> child;  // a child by its control id
        std::function<CMapWindow*()> map;        // none until created
        std::function<int()> viewMode;           // 0 both, 1 front, 2 rear
        std::function<int()> entryCount;         // recordings in the catalog
        std::function<QSize()> pictureSize;      // of the current recording
        std::function<bool()> tripBarShown;
        std::function<void(bool hold)> holdPlayers; // around moving the video windows
    };

    CWindowModes(QWidget& window, Host host);

    // Lays out only once the children exist.
    void SetChildrenReady();

    // Switches: the map, the G-sensor curve, and each video pane's hidden flag (a pane whose engine
    // does not play stays hidden through layouts and restores).
    bool MapShown() const { return m_bMapShown; }
    bool CurveShown() const { return m_bCurveShown; }
    void SetMapShown(bool shown) { m_bMapShown = shown; }
    void SetCurveShown(bool shown) { m_bCurveShown = shown; }
    bool PaneHidden(int paneId) const;
    // Records the flag and shows or hides the pane.
    void SetPaneHidden(int paneId, bool hidden);
    // Only the flags, for a layout that follows.
    void SetPaneHiddenFlags(bool frontHidden, bool rearHidden) {
        m_bFrontPaneHidden = frontHidden;
        m_bRearPaneHidden = rearHidden;
    }
    // Shows or hides the pane without touching its flag.
    void SetPaneShown(int paneId, bool shown);

    // Window modes.
    bool FullVideo() const { return m_bFullVideo; }
    int FullVideoPane() const { return m_nFullVideoPane; } // 1 front, 2 rear
    bool Maximized() const { return m_bMaximized; }
    bool Minimized() const { return m_bMinimized; }
    // Whether a frame draws its sunken edge (not the full-screen pane's frame).
    bool FrameEdge(int frameId) const;

    // The splitters' areas of the last layout, and the drag under way.
    SplitAreas Splitters() const { return {m_rcMapSplit, m_rcLowerSplit, m_rcColumnSplit}; }
    DragKind ActiveDrag() const { return m_drag; }
    // The layout again a little after the last size change.
    bool RelayoutPending() const { return m_relayout.isActive(); }

    // Places every child for a client size (full-screen video: the two frames on the monitor).
    void LayOut(int width, int height);
    // At the window's current size.
    void LayOutAgain();
    // Sizes the video panes inside their frames to the current picture's aspect ratio.
    void FitVideoPanes();
    // Shows or hides the controls around the video for full-screen video.
    void ShowControls(bool show);
    void ToggleFullVideo();
    void MaximizeRestore();
    void Minimize();
    // 1053 small, 1063 medium, 1064 large.
    void PresetSize(int command);

    // The window's events handed on.
    void OnResized(QSize size);
    void OnRestoredFromMinimise();
    // True when the press was taken (the background: a drag or the move of the window).
    bool OnMousePress(QMouseEvent* event);
    void OnMouseMove(QMouseEvent* event);
    bool OnMouseRelease(QMouseEvent* event);
    void CancelMove() { m_bMovePending = false; }

  signals:
    // The window's size changed once the children exist.
    void resized();

  private:
    QWidget* Child(int id) const { return m_host.child(id); }
    QRect MonitorRect() const;
    void ApplyLayout(const LayoutResult& layout);
    void ApplyOutlineAndLayOut();
    void SetFrameClientEdge(int paneId, bool edge);
    void PlaceOnMonitor(const QRect& rect);
    void RepaintMapWindow();

    QWidget& m_window;
    Host m_host;
    bool m_bChildrenReady = false;

    bool m_bMapShown = true;
    bool m_bCurveShown = true;
    bool m_bFrontPaneHidden = true;
    bool m_bRearPaneHidden = true;

    QSize m_szClient;
    QSize m_szLastLayout;
    bool m_bMaximized = false;
    bool m_bFullVideo = false;
    bool m_bMinimized = false;
    int m_nFullVideoPane = 0;
    QRect m_rcSaved; // window position (screen) and client size before maximise or full screen
    bool m_bFrontFrameEdge = true;
    bool m_bRearFrameEdge = true;

    int m_nRightColWidth = kDefaultRightColWidth;
    int m_nMapHeight = kDefaultMapHeight;
    int m_nLowerHeight = kDefaultLowerHeight;
    int m_nTopBandExtra = 0;
    QRect m_rcMapSplit;
    QRect m_rcLowerSplit;
    QRect m_rcColumnSplit;

    DragKind m_drag = DragKind::None;
    // Background drag: armed by a press, started once the pointer passed the drag distance.
    bool m_bMovePending = false;
    QPoint m_ptPress;
    QTimer m_relayout;
};
