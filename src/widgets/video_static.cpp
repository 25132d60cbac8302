#include "video_static.h"

#include "glow_text.h"
#include "private_message.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

constexpr int kCaptionX = 10;
constexpr int kCaptionY = 10;
constexpr int kCaptionEmSize = 36;

QLinearGradient Repeating(QPointF from, QPointF to, const QColor& start, const QColor& end) {
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    gradient.setSpread(QGradient::RepeatSpread);
    return gradient;
}

// The caption's blue glow text: the label glyphs of glow_text.h with a light outline, eight
// blue glow strokes and two blue gradient fills.
void DrawBlueGlowText(QPainter& painter, const QString& text, qreal x, qreal y, int emSize) {
    if (text.isEmpty()) return;
    const QPainterPath path = GlowTextPath(text, x, y, emSize);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.strokePath(path, QPen(QColor(215, 215, 215, 155), 3));
    for (int width = 1; width <= 8; ++width)
        painter.strokePath(
            path, QPen(QColor(10, 150, 220, 80), width, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    painter.fillPath(
        path, Repeating(QPointF(0, 0), QPointF(0, 90), QColor(20, 120, 240, 200), QColor(20, 120, 240, 255)));
    painter.fillPath(path, Repeating(QPointF(0, 10), QPointF(0, 120), QColor(80, 188, 250, 255),
                                     QColor(80, 80, 155, 150)));
    painter.restore();
}

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

void CVideoStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_brBack);
    if (m_bShowCaption) DrawBlueGlowText(painter, m_strCaption, kCaptionX, kCaptionY, kCaptionEmSize);
}

void CVideoStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    SendPrivateMessage(m_target, WM_TOGGLE_FULL_VIDEO, 0);
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
    SendPrivateMessage(m_target, WM_TOGGLE_FULL_VIDEO, 0);
}
