#include "video_static.h"

#include "glow_text.h"
#include "private_message.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

constexpr int kCaptionX = 10;
constexpr int kCaptionY = 10;
constexpr int kCaptionEmSize = 36;

} // namespace

// --- CVideoStatic ------------------------------------------------------------------------------

CVideoStatic::CVideoStatic(QWidget* parent) : QWidget(parent) {
    // libVLC renders into this pane's own X11 window (its winId()).
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CVideoStatic::SetCaption(const QString& caption, bool show) {
    m_strCaption = caption;
    m_bShowCaption = show ? 1 : 0;
    // What the pane says is read out too.
    setAccessibleDescription(show ? caption : QString());
    repaint();
}

bool CVideoStatic::HoldPicture() {
    QScreen* shown = screen();
    if (!shown || !testAttribute(Qt::WA_WState_Created) || !isVisible()) return false;
    // The screen's pixels of this window, libVLC's drawing included (it draws into this window or a
    // child of it, never through Qt).
    const QPixmap picture = shown->grabWindow(winId());
    if (picture.isNull()) return false;
    m_held = picture;
    return true;
}

void CVideoStatic::HoldPicture(const QPixmap& picture) {
    m_held = picture;
}

void CVideoStatic::ReleaseHeldPicture(bool repaintNow) {
    m_held = QPixmap();
    if (repaintNow) repaint();
}

void CVideoStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_held.isNull())
        painter.drawPixmap(rect(), m_held);
    else
        painter.fillRect(rect(), m_brBack);
    if (m_bShowCaption)
        DrawGlowText(painter, m_strCaption, kCaptionX, kCaptionY, kCaptionEmSize, kCaptionGlow);
}

void CVideoStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    SendPrivateMessage(m_target, MSG_TOGGLE_FULL_VIDEO, 0);
}

// A pane that stands as a window of its own is dragged by pressing anywhere on it.
void CVideoStatic::mousePressEvent(QMouseEvent* event) {
    if (isWindow() && event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QWidget::mousePressEvent(event);
}

// --- CVideoStaticBg ----------------------------------------------------------------------------

CVideoStaticBg::CVideoStaticBg(QWidget* parent) : QWidget(parent) {
    // Nothing of its own is drawn and nothing erased: the window's skin shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void CVideoStaticBg::paintEvent(QPaintEvent*) {}

// Single presses go on to the window (which drags by its background); a double click is ours.
void CVideoStaticBg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    SendPrivateMessage(m_target, MSG_TOGGLE_FULL_VIDEO, 0);
}
