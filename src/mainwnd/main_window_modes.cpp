// The main window's layout and window modes: laying out, fitting the video panes, the outline,
// moving by the background, the size grip and splitters, full-screen video, maximise, minimise and
// the preset sizes. The rules themselves are in main_layout.cpp.
#include "main_window.h"

#include "control_ids.h"
#include "map_window.h"
#include "playback_session.h"
#include "speed_label_static.h"
#include "video_engine.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
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

} // namespace

QRect COrvexMainWindow::MonitorRect() const {
    const QScreen* s = screen();
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, kGripMinWidth, kGripMinHeight);
}

void COrvexMainWindow::LayOut(int width, int height) {
    if (!m_bChildrenCreated) return;
    m_szLastLayout = QSize(width, height);
    if (m_bFullVideo) {
        const QRect monitor = MonitorRect();
        const QRect inClient(mapFromGlobal(monitor.topLeft()), monitor.size());
        ControlById(IDC_FRONT_FRAME)->setGeometry(inClient);
        ControlById(IDC_REAR_FRAME)->setGeometry(inClient);
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
    params.gsrShown = m_bGsrShown;
    params.gsensorHeight = ControlById(IDC_GSENSOR)->height();
    params.viewMode = ViewMode();
    params.tripBarShown = TripBarShown();
    params.eventListShown = true;
    ApplyLayout(LayOutControls(params));
    FitVideoPanes();
}

void COrvexMainWindow::ApplyLayout(const LayoutResult& layout) {
    for (const ControlPlace& place : layout.places)
        if (QWidget* control = ControlById(place.id)) control->setGeometry(place.rect);
    if (m_pMapDlg) m_pMapDlg->SetMapRect(layout.mapRect);
    if (layout.mapSplit) m_rcMapSplit = *layout.mapSplit;
    m_rcLowerSplit = layout.lowerSplit;
    m_rcColumnSplit = layout.columnSplit;

    // Frames and panes of the view mode.
    ControlById(IDC_FRONT_FRAME)->setVisible(layout.frontShown);
    ControlById(IDC_REAR_FRAME)->setVisible(layout.rearShown);
    if (!layout.frontShown) SetPaneShown(IDC_FRONT_PANE, false);
    if (!layout.rearShown) SetPaneShown(IDC_REAR_PANE, false);
    if (layout.frontShown && !m_bFrontPaneHidden) SetPaneShown(IDC_FRONT_PANE, true);
    if (layout.rearShown && !m_bRearPaneHidden) SetPaneShown(IDC_REAR_PANE, true);
}

void COrvexMainWindow::FitVideoPanes() {
    if (!m_bChildrenCreated) return;
    const QSize picture = CatalogEntryCount() > 0 ? CurrentPictureSize() : QSize();
    const PaneFit fit =
        ::FitVideoPanes(ControlById(IDC_FRONT_FRAME)->geometry(), ControlById(IDC_REAR_FRAME)->geometry(),
                        m_bFullVideo, m_nFullVideoPane, ViewMode(), picture.width(), picture.height());
    if (fit.moveFront) ControlById(IDC_FRONT_PANE)->setGeometry(fit.front);
    if (fit.moveRear) ControlById(IDC_REAR_PANE)->setGeometry(fit.rear);
}

void COrvexMainWindow::SetPaneShown(int paneId, bool shown) {
    if (QWidget* pane = ControlById(paneId)) {
        pane->setVisible(shown);
        if (shown) pane->raise();
    }
}

// The frames paint nothing themselves: the window draws their sunken edge behind them.
void COrvexMainWindow::SetFrameClientEdge(int paneId, bool edge) {
    (paneId == IDC_FRONT_PANE ? m_bFrontFrameEdge : m_bRearFrameEdge) = edge;
    update(ControlById(FrameOf(paneId))->geometry());
}

void COrvexMainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

// A mode change may keep the window's size, so it does not wait for the size report.
void COrvexMainWindow::ApplyOutlineAndLayOut() {
    setMask(WindowOutline(size(), m_bFullVideo));
    LayOut(width(), height());
}

void COrvexMainWindow::OnSize(int width, int height) {
    if (width == 0 && height == 0) return;
    m_nClientCx = width;
    m_nClientCy = height;
    setMask(WindowOutline(QSize(width, height), m_bFullVideo));
    if (!m_bChildrenCreated) return;
    // Compared with the size of the last layout, which only the layout itself records.
    if (QSize(width, height) != m_szLastLayout) LayOut(width, height);
    SetTimer(TIMER_SLIDER_FOLLOW, 200);
    update();
    SetTimer(TIMER_RELAYOUT, 300);
}

// X11 reports no empty size on minimise: leaving the minimised state is the restore.
void COrvexMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) OnRestoredFromMinimise();
    }
    QWidget::changeEvent(event);
}

void COrvexMainWindow::OnRestoredFromMinimise() {
    if (!m_bMinimized) return;
    m_bMinimized = false;
    if (!m_bChildrenCreated) return;
    const PaneVisibility panes =
        PanesAfterRestore(ViewMode(), m_bFullVideo, m_nFullVideoPane, m_bFrontPaneHidden, m_bRearPaneHidden);
    SetPaneShown(IDC_FRONT_PANE, panes.front);
    SetPaneShown(IDC_REAR_PANE, panes.rear);
}

void COrvexMainWindow::RepaintMapWindow() {
    if (!m_pMapDlg) return;
    m_pMapDlg->hide();
    m_pMapDlg->show();
}

void COrvexMainWindow::PlaceOnMonitor(const QRect& rect) {
    setGeometry(rect);
    raise();
    show();
}

void COrvexMainWindow::ShowControls(bool show) {
    for (int id : kFullVideoControls) {
        QWidget* control = ControlById(id);
        if (!control) continue;
        if (id == IDC_GSENSOR)
            control->setVisible(show && m_bGsrShown);
        else
            control->setVisible(show);
    }
    if (m_pMapDlg) {
        if (m_bMapShown && show)
            m_pMapDlg->show();
        else
            m_pMapDlg->SetMapRect(QRect(0, 0, 1, 1));
    }
    if (m_nFullVideoPane == 1 || m_nFullVideoPane == 2) {
        const int other = m_nFullVideoPane == 1 ? IDC_REAR_PANE : IDC_FRONT_PANE;
        ControlById(other)->setVisible(show);
        ControlById(FrameOf(other))->setVisible(show);
    }
}

void COrvexMainWindow::ToggleFullVideo() {
    m_ptCursor = QCursor::pos();
    // The pane is chosen on entering only, so that leaving shows the same pane's partner again.
    if (!m_bFullVideo) {
        auto under = [this](int paneId) {
            const QWidget* pane = ControlById(paneId);
            return pane->isVisible() &&
                   QRect(pane->mapToGlobal(QPoint(0, 0)), pane->size()).contains(m_ptCursor);
        };
        m_nFullVideoPane = ChooseFullVideoPane(ViewMode(), under(IDC_FRONT_PANE), under(IDC_REAR_PANE));
    }
    if (CatalogEntryCount() == 0) return;

    // The players are held while their windows move.
    m_pSession->BeginHold();

    const int chosen = m_nFullVideoPane == 2 ? IDC_REAR_PANE : IDC_FRONT_PANE;
    if (m_bFullVideo) {
        m_bFullVideo = false;
        SetFrameClientEdge(chosen, true);
        ShowControls(true);
        PlaceOnMonitor(m_rcSaved);
        ApplyOutlineAndLayOut();
        if (ViewMode() != 2) SetPaneShown(IDC_FRONT_PANE, !m_bFrontPaneHidden);
        if (ViewMode() != 1) SetPaneShown(IDC_REAR_PANE, !m_bRearPaneHidden);
    } else {
        m_rcSaved = QRect(pos(), size());
        m_bFullVideo = true;
        m_bMaximized = false;
        ShowControls(false);
        SetFrameClientEdge(chosen, false);
        QRect monitor = MonitorRect();
        if (width() == monitor.width() || height() == monitor.height())
            monitor.setHeight(monitor.height() - 1);
        PlaceOnMonitor(monitor);
        ApplyOutlineAndLayOut();
        if (QWidget* play = ControlById(IDC_PLAY)) play->setFocus();
        SetPaneShown(chosen == IDC_FRONT_PANE ? IDC_REAR_PANE : IDC_FRONT_PANE, false);
        ControlById(chosen)->update();
    }
    m_pSession->EndHold();
}

void COrvexMainWindow::OnMaximizeRestore() {
    if (m_bMaximized) {
        PlaceOnMonitor(m_rcSaved);
        m_bMaximized = false;
    } else {
        m_rcSaved = QRect(pos(), size());
        PlaceOnMonitor(MonitorRect());
        m_bMaximized = true;
    }
    if (m_bMapShown) RepaintMapWindow();
}

void COrvexMainWindow::OnMinimize() {
    showMinimized();
    m_bMinimized = true;
}

void COrvexMainWindow::OnPresetSize(int command) {
    setGeometry(PresetWindowRect(command, MonitorRect()));
    m_bMaximized = false;
}

bool COrvexMainWindow::AnyDrag() const {
    return m_bGripDrag || m_bMapSplitDrag || m_bLowerSplitDrag || m_bColumnSplitDrag;
}

void COrvexMainWindow::ClearDrags() {
    m_bGripDrag = m_bMapSplitDrag = m_bLowerSplitDrag = m_bColumnSplitDrag = false;
}

void COrvexMainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    // Presses that a child let through arrive here too: the map window's are its own, and only
    // the bare background holds the grip and the splitters. Pictures and labels let the window
    // be dragged by them, as transparent statics do.
    const QWidget* under = childAt(p);
    if (under && m_pMapDlg && (under == m_pMapDlg || m_pMapDlg->isAncestorOf(under)))
        return QWidget::mousePressEvent(event);
    const bool movable = !m_bMaximized && !m_bFullVideo;
    const DragKind hit =
        under ? DragKind::None : HitTestDrag(p, size(), {m_rcMapSplit, m_rcLowerSplit, m_rcColumnSplit});
    switch (hit) {
    case DragKind::Grip:
        m_bGripDrag = true;
        break;
    case DragKind::MapSplit:
        m_bMapSplitDrag = true;
        break;
    case DragKind::LowerSplit:
        m_bLowerSplitDrag = true;
        break;
    case DragKind::ColumnSplit:
        m_bColumnSplitDrag = true;
        break;
    case DragKind::None:
        break;
    }
    // Dragging the background moves the window once the pointer passed the drag distance, so
    // that a double click still arrives as one.
    m_bMovePending = movable && !AnyDrag();
    m_ptPress = p;
    event->accept();
}

void COrvexMainWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_bGripDrag) {
        if (!m_bMaximized && !m_bFullVideo) {
            resize(GripDragSize(p));
            setCursor(DragCursor(DragKind::Grip));
            m_bMaximized = false;
        }
    } else if (m_bMapSplitDrag) {
        setCursor(DragCursor(DragKind::MapSplit));
        m_nMapHeight = MapHeightFromDrag(p, m_nTopBandExtra);
        LayOut(m_nClientCx, m_nClientCy);
    } else if (m_bLowerSplitDrag) {
        setCursor(DragCursor(DragKind::LowerSplit));
        m_nLowerHeight = LowerHeightFromDrag(p, m_nClientCy);
        LayOut(m_nClientCx, m_nClientCy);
        ControlById(IDC_GSENSOR)->update();
    } else if (m_bColumnSplitDrag) {
        setCursor(DragCursor(DragKind::ColumnSplit));
        m_nRightColWidth = RightColWidthFromDrag(p, m_nClientCx);
        LayOut(m_nClientCx, m_nClientCy);
        ControlById(IDC_GSENSOR)->update();
    } else if (m_bMovePending && (event->buttons() & Qt::LeftButton)) {
        if ((p - m_ptPress).manhattanLength() >= QApplication::startDragDistance()) {
            m_bMovePending = false;
            if (QWindow* window = windowHandle()) window->startSystemMove();
        }
    } else {
        // Moves over a child arrive here too; the resize cursors belong to the bare background.
        const bool background = childAt(p) == nullptr;
        setCursor(DragCursor(background
                                 ? HitTestDrag(p, size(), {m_rcMapSplit, m_rcLowerSplit, m_rcColumnSplit})
                                 : DragKind::None));
    }
    event->accept();
}

void COrvexMainWindow::mouseReleaseEvent(QMouseEvent* event) {
    m_bMovePending = false;
    if (event->button() != Qt::LeftButton || !AnyDrag()) return QWidget::mouseReleaseEvent(event);
    if (m_bGripDrag && !m_bMaximized && !m_bFullVideo) resize(GripDragSize(event->position().toPoint()));
    ClearDrags();
    LayOut(m_nClientCx, m_nClientCy);
    RepaintMapWindow();
    event->accept();
}

void COrvexMainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    m_bMovePending = false;
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    const QPoint p = event->position().toPoint();
    // The speed label takes double clicks in its rectangle even while it is hidden.
    auto* speed = Child<CSpeedLabelStatic>(IDC_SPEED_LABEL);
    if (speed && speed->geometry().contains(p)) {
        // What its double click does; the label is disabled, and a disabled widget takes no input.
        speed->ToggleUnit();
    } else {
        OnCommand(IDC_MAXIMIZE);
    }
    event->accept();
}
