#include "window_modes.h"

#include "control_ids.h"
#include "map_window.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// The controls that full-screen video hides and leaving it shows, in order.
constexpr int kFullVideoControls[] = {
    IDC_PRINT,
    IDC_PREVIOUS,
    IDC_NEXT,
    IDC_TITLE,
    IDC_GAUGE_BOX,
    IDC_LOOK_DOWN,
    IDC_TURN_SIGNAL,
    IDC_SWITCH,
    1200,
    1201,
    1202,
    1203,
    1204,
    1205,
    1206,
    1207,
    1208,
    1209,
    1210,
    1211,
    IDC_FILE_LIST,
    IDC_EVENT_LIST,
    IDC_SEEK_SLIDER,
    IDC_OPEN,
    IDC_SAVE_AS,
    IDC_PLAY,
    IDC_SLOWER,
    IDC_FASTER,
    IDC_VOLUME_SLIDER,
    IDC_VOLUME_BUTTON,
    IDC_CLOSE,
    IDC_MAXIMIZE,
    IDC_MINIMIZE,
    IDC_ABOUT,
    IDC_GSENSOR,
    IDC_LOGO,
    IDC_MEDIUM_SIZE,
    IDC_LARGE_SIZE,
    IDC_PB_SPEED_LABEL,
};

int FrameOf(int paneId) {
    return paneId == IDC_FRONT_PANE ? IDC_FRONT_FRAME : IDC_REAR_FRAME;
}

int PrimaryTopBandExtra() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 0;
    const QSize size = screen->geometry().size();
    return TopBandExtra(size.width(), size.height());
}

} // namespace

CWindowModes::CWindowModes(QWidget& window, Host host)
    : QObject(&window), m_window(window), m_host(std::move(host)), m_nTopBandExtra(PrimaryTopBandExtra()) {
    m_relayout.setSingleShot(true);
    m_relayout.setInterval(300);
    connect(&m_relayout, &QTimer::timeout, this, [this] {
        LayOut(m_szClient.width(), m_szClient.height());
        RepaintMapWindow();
    });
}

void CWindowModes::SetChildrenReady() {
    m_bChildrenReady = true;
}

bool CWindowModes::PaneHidden(int paneId) const {
    return paneId == IDC_FRONT_PANE ? m_bFrontPaneHidden : m_bRearPaneHidden;
}

void CWindowModes::SetPaneHidden(int paneId, bool hidden) {
    (paneId == IDC_FRONT_PANE ? m_bFrontPaneHidden : m_bRearPaneHidden) = hidden;
    SetPaneShown(paneId, !hidden);
}

void CWindowModes::SetPaneShown(int paneId, bool shown) {
    if (QWidget* pane = Child(paneId)) {
        pane->setVisible(shown);
        if (shown) pane->raise();
    }
}

bool CWindowModes::FrameEdge(int frameId) const {
    return frameId == IDC_FRONT_FRAME ? m_bFrontFrameEdge : m_bRearFrameEdge;
}

QRect CWindowModes::MonitorRect() const {
    const QScreen* s = m_window.screen();
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, kGripMinWidth, kGripMinHeight);
}

void CWindowModes::LayOutAgain() {
    LayOut(m_window.width(), m_window.height());
}

void CWindowModes::LayOut(int width, int height) {
    if (!m_bChildrenReady) return;
    m_szLastLayout = QSize(width, height);
    if (m_bFullVideo) {
        const QRect monitor = MonitorRect();
        const QRect inClient(m_window.mapFromGlobal(monitor.topLeft()), monitor.size());
        Child(IDC_FRONT_FRAME)->setGeometry(inClient);
        Child(IDC_REAR_FRAME)->setGeometry(inClient);
        FitVideoPanes();
        return;
    }
    LayoutParams params;
    params.width = width;
    params.height = height;
    params.topBandExtra = m_nTopBandExtra;
    params.rightColWidth = m_nRightColWidth;
    params.mapHeight = m_nMapHeight;
    params.lowerHeight = m_nLowerHeight;
    params.mapShown = m_bMapShown;
    params.gsrShown = m_bCurveShown;
    params.gsensorHeight = Child(IDC_GSENSOR)->height();
    params.viewMode = m_host.viewMode();
    params.tripBarShown = m_host.tripBarShown();
    params.eventListShown = true;
    ApplyLayout(LayOutControls(params));
    FitVideoPanes();
}

void CWindowModes::ApplyLayout(const LayoutResult& layout) {
    for (const ControlPlace& place : layout.places)
        if (QWidget* control = Child(place.id)) control->setGeometry(place.rect);
    if (CMapWindow* map = m_host.map()) map->SetMapRect(layout.mapRect);
    if (layout.mapSplit) m_rcMapSplit = *layout.mapSplit;
    m_rcLowerSplit = layout.lowerSplit;
    m_rcColumnSplit = layout.columnSplit;

    // Frames and panes of the view mode.
    Child(IDC_FRONT_FRAME)->setVisible(layout.frontShown);
    Child(IDC_REAR_FRAME)->setVisible(layout.rearShown);
    if (!layout.frontShown) SetPaneShown(IDC_FRONT_PANE, false);
    if (!layout.rearShown) SetPaneShown(IDC_REAR_PANE, false);
    if (layout.frontShown && !m_bFrontPaneHidden) SetPaneShown(IDC_FRONT_PANE, true);
    if (layout.rearShown && !m_bRearPaneHidden) SetPaneShown(IDC_REAR_PANE, true);
}

void CWindowModes::FitVideoPanes() {
    if (!m_bChildrenReady) return;
    const QSize picture = m_host.entryCount() > 0 ? m_host.pictureSize() : QSize();
    const PaneFit fit = ::FitVideoPanes(Child(IDC_FRONT_FRAME)->geometry(), Child(IDC_REAR_FRAME)->geometry(),
                                        m_bFullVideo, m_nFullVideoPane, m_host.viewMode(), picture.width(),
                                        picture.height());
    if (fit.moveFront) Child(IDC_FRONT_PANE)->setGeometry(fit.front);
    if (fit.moveRear) Child(IDC_REAR_PANE)->setGeometry(fit.rear);
}

// The frames paint nothing themselves: the window draws their sunken edge behind them.
void CWindowModes::SetFrameClientEdge(int paneId, bool edge) {
    (paneId == IDC_FRONT_PANE ? m_bFrontFrameEdge : m_bRearFrameEdge) = edge;
    m_window.update(Child(FrameOf(paneId))->geometry());
}

// A mode change may keep the window's size, so it does not wait for the size report.
void CWindowModes::ApplyOutlineAndLayOut() {
    m_window.setMask(WindowOutline(m_window.size(), m_bFullVideo));
    LayOutAgain();
}

void CWindowModes::OnResized(QSize size) {
    if (size.isNull()) return;
    m_szClient = size;
    m_window.setMask(WindowOutline(size, m_bFullVideo));
    if (!m_bChildrenReady) return;
    // Compared with the size of the last layout, which only the layout itself records.
    if (size != m_szLastLayout) LayOut(size.width(), size.height());
    emit resized();
    m_window.update();
    m_relayout.start();
}

void CWindowModes::OnRestoredFromMinimise() {
    if (!m_bMinimized) return;
    m_bMinimized = false;
    if (!m_bChildrenReady) return;
    const PaneVisibility panes = PanesAfterRestore(m_host.viewMode(), m_bFullVideo, m_nFullVideoPane,
                                                   m_bFrontPaneHidden, m_bRearPaneHidden);
    SetPaneShown(IDC_FRONT_PANE, panes.front);
    SetPaneShown(IDC_REAR_PANE, panes.rear);
}

void CWindowModes::RepaintMapWindow() {
    CMapWindow* map = m_host.map();
    if (!map) return;
    map->hide();
    map->show();
}

void CWindowModes::PlaceOnMonitor(const QRect& rect) {
    m_window.setGeometry(rect);
    m_window.raise();
    m_window.show();
}

void CWindowModes::ShowControls(bool show) {
    for (int id : kFullVideoControls) {
        QWidget* control = Child(id);
        if (!control) continue;
        if (id == IDC_GSENSOR)
            control->setVisible(show && m_bCurveShown);
        else
            control->setVisible(show);
    }
    if (CMapWindow* map = m_host.map()) {
        if (m_bMapShown && show)
            map->show();
        else
            map->SetMapRect(QRect(0, 0, 1, 1));
    }
    if (m_nFullVideoPane == 1 || m_nFullVideoPane == 2) {
        const int other = m_nFullVideoPane == 1 ? IDC_REAR_PANE : IDC_FRONT_PANE;
        Child(other)->setVisible(show);
        Child(FrameOf(other))->setVisible(show);
    }
}

void CWindowModes::ToggleFullVideo() {
    const QPoint cursor = QCursor::pos();
    // The pane is chosen on entering only, so that leaving shows the same pane's partner again.
    if (!m_bFullVideo) {
        auto under = [this, cursor](int paneId) {
            const QWidget* pane = Child(paneId);
            return pane->isVisible() && QRect(pane->mapToGlobal(QPoint(0, 0)), pane->size()).contains(cursor);
        };
        m_nFullVideoPane = ChooseFullVideoPane(m_host.viewMode(), under(IDC_FRONT_PANE), under(IDC_REAR_PANE));
    }
    if (m_host.entryCount() == 0) return;

    // The players are held while their windows move.
    m_host.holdPlayers(true);

    const int chosen = m_nFullVideoPane == 2 ? IDC_REAR_PANE : IDC_FRONT_PANE;
    if (m_bFullVideo) {
        m_bFullVideo = false;
        SetFrameClientEdge(chosen, true);
        ShowControls(true);
        PlaceOnMonitor(m_rcSaved);
        ApplyOutlineAndLayOut();
        if (m_host.viewMode() != 2) SetPaneShown(IDC_FRONT_PANE, !m_bFrontPaneHidden);
        if (m_host.viewMode() != 1) SetPaneShown(IDC_REAR_PANE, !m_bRearPaneHidden);
    } else {
        m_rcSaved = QRect(m_window.pos(), m_window.size());
        m_bFullVideo = true;
        m_bMaximized = false;
        ShowControls(false);
        SetFrameClientEdge(chosen, false);
        QRect monitor = MonitorRect();
        if (m_window.width() == monitor.width() || m_window.height() == monitor.height())
            monitor.setHeight(monitor.height() - 1);
        PlaceOnMonitor(monitor);
        ApplyOutlineAndLayOut();
        if (QWidget* play = Child(IDC_PLAY)) play->setFocus();
        SetPaneShown(chosen == IDC_FRONT_PANE ? IDC_REAR_PANE : IDC_FRONT_PANE, false);
        Child(chosen)->update();
    }
    m_host.holdPlayers(false);
}

void CWindowModes::MaximizeRestore() {
    if (m_bMaximized) {
        PlaceOnMonitor(m_rcSaved);
        m_bMaximized = false;
    } else {
        m_rcSaved = QRect(m_window.pos(), m_window.size());
        PlaceOnMonitor(MonitorRect());
        m_bMaximized = true;
    }
    if (m_bMapShown) RepaintMapWindow();
}

void CWindowModes::Minimize() {
    m_window.showMinimized();
    m_bMinimized = true;
}

void CWindowModes::PresetSize(int command) {
    m_window.setGeometry(PresetWindowRect(command, MonitorRect()));
    m_bMaximized = false;
}

bool CWindowModes::OnMousePress(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return false;
    const QPoint p = event->position().toPoint();
    // Presses that a child let through arrive here too: the map window's are its own, and only
    // the bare background holds the grip and the splitters. Pictures and labels let the window
    // be dragged by them, as transparent statics do.
    const QWidget* under = m_window.childAt(p);
    const CMapWindow* map = m_host.map();
    if (under && map && (under == map || map->isAncestorOf(under))) return false;
    const bool movable = !m_bMaximized && !m_bFullVideo;
    m_drag = under ? DragKind::None : HitTestDrag(p, m_window.size(), Splitters());
    // Dragging the background moves the window once the pointer passed the drag distance, so
    // that a double click still arrives as one.
    m_bMovePending = movable && m_drag == DragKind::None;
    m_ptPress = p;
    return true;
}

void CWindowModes::OnMouseMove(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    switch (m_drag) {
    case DragKind::Grip:
        if (!m_bMaximized && !m_bFullVideo) {
            m_window.resize(GripDragSize(p));
            m_window.setCursor(DragCursor(DragKind::Grip));
            m_bMaximized = false;
        }
        return;
    case DragKind::MapSplit:
        m_window.setCursor(DragCursor(DragKind::MapSplit));
        m_nMapHeight = MapHeightFromDrag(p, m_nTopBandExtra);
        LayOut(m_szClient.width(), m_szClient.height());
        return;
    case DragKind::LowerSplit:
        m_window.setCursor(DragCursor(DragKind::LowerSplit));
        m_nLowerHeight = LowerHeightFromDrag(p, m_szClient.height());
        LayOut(m_szClient.width(), m_szClient.height());
        Child(IDC_GSENSOR)->update();
        return;
    case DragKind::ColumnSplit:
        m_window.setCursor(DragCursor(DragKind::ColumnSplit));
        m_nRightColWidth = RightColWidthFromDrag(p, m_szClient.width());
        LayOut(m_szClient.width(), m_szClient.height());
        Child(IDC_GSENSOR)->update();
        return;
    case DragKind::None:
        break;
    }
    if (m_bMovePending && (event->buttons() & Qt::LeftButton)) {
        if ((p - m_ptPress).manhattanLength() >= QApplication::startDragDistance()) {
            m_bMovePending = false;
            if (QWindow* window = m_window.windowHandle()) window->startSystemMove();
        }
    } else {
        // Moves over a child arrive here too; the resize cursors belong to the bare background.
        const bool background = m_window.childAt(p) == nullptr;
        m_window.setCursor(DragCursor(background ? HitTestDrag(p, m_window.size(), Splitters()) : DragKind::None));
    }
}

bool CWindowModes::OnMouseRelease(QMouseEvent* event) {
    m_bMovePending = false;
    if (event->button() != Qt::LeftButton || m_drag == DragKind::None) return false;
    if (m_drag == DragKind::Grip && !m_bMaximized && !m_bFullVideo)
        m_window.resize(GripDragSize(event->position().toPoint()));
    m_drag = DragKind::None;
    LayOut(m_szClient.width(), m_szClient.height());
    RepaintMapWindow();
    return true;
}
