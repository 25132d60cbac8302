// The main window's part in its layout and window modes: making the modes part and handing it the
// window's size, state and mouse events on the background. The modes themselves are in
// window_modes.cpp, their rules in main_layout.cpp.
#include "main_window.h"

#include "control_ids.h"
#include "playback_session.h"
#include "speed_label_static.h"
#include "window_modes.h"

#include <QMouseEvent>
#include <QResizeEvent>

void COrvexMainWindow::CreateModes() {
    CWindowModes::Host host;
    host.child = [this](int id) { return ControlById(id); };
    host.map = [this] { return m_pMapDlg; };
    host.viewMode = [this] { return ViewMode(); };
    host.entryCount = [this] { return CatalogEntryCount(); };
    host.pictureSize = [this] { return CurrentPictureSize(); };
    host.tripBarShown = [this] { return TripBarShown(); };
    host.holdPlayers = [this](bool hold) {
        if (hold)
            m_pSession->BeginHold();
        else
            m_pSession->EndHold();
    };
    m_pModes = new CWindowModes(*this, std::move(host));
    connect(m_pModes, &CWindowModes::resized, this, [this] { m_sliderFollow.start(); });
}

void COrvexMainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_pModes->OnResized(event->size());
}

// X11 reports no empty size on minimise: leaving the minimised state is the restore.
void COrvexMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) m_pModes->OnRestoredFromMinimise();
    }
    QWidget::changeEvent(event);
}

void COrvexMainWindow::mousePressEvent(QMouseEvent* event) {
    if (!m_pModes->OnMousePress(event)) return QWidget::mousePressEvent(event);
    event->accept();
}

void COrvexMainWindow::mouseMoveEvent(QMouseEvent* event) {
    m_pModes->OnMouseMove(event);
    event->accept();
}

void COrvexMainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pModes->OnMouseRelease(event)) return QWidget::mouseReleaseEvent(event);
    event->accept();
}

void COrvexMainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    m_pModes->CancelMove();
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
