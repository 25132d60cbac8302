#include "video_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <algorithm>

#include "private_message.h"
#include "win_edges.h"
#include "win_fonts.h"

namespace {

// Fusion on every desktop: the rectangles the drawing and the pointer arithmetic rely on must not
// change with the user's theme. The slider owns its style object.
void UseFusionStyle(QSlider* slider) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(slider);
        slider->setStyle(fusion);
    }
}

QRect SliderSubRect(const QSlider* slider, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.upsideDown = slider->invertedAppearance();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.subControls = QStyle::SC_All;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
}

// The ellipse inscribed in the thumb rectangle, outlined with a black one-pixel pen.
void PaintThumb(QPainter& painter, const QRect& thumb, const QColor& fill) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawEllipse(thumb.adjusted(0, 0, -1, -1));
}

void PrepareSlider(QSlider* slider) {
    slider->setOrientation(Qt::Horizontal);
    UseFusionStyle(slider);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CVideoSlider

CVideoSlider::CVideoSlider(QWidget* parent) : QSlider(parent), m_pTimeFont(WinFont("Consolas", -12)) {
    PrepareSlider(this);
    setRange(0, 1000);
    setValue(g_nSeekOrigin);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(this, &QAbstractSlider::actionTriggered, this, &CVideoSlider::OnUserAction);
    UpdateDescription();
}

void CVideoSlider::SetDurationMs(uint32_t ms) {
    m_nDurationMs = ms;
    UpdateDescription();
    update();
}

void CVideoSlider::SetCurrentMs(uint32_t ms) {
    m_nCurrentMs = ms;
    UpdateDescription();
    update();
}

void CVideoSlider::UpdateDescription() {
    const QString text = SeekTimeText(m_nCurrentMs) + QStringLiteral(" / ") + SeekTimeText(m_nDurationMs);
    if (accessibleDescription() != text) setAccessibleDescription(text);
}

QRect CVideoSlider::ChannelRect() const {
    return SliderSubRect(this, QStyle::SC_SliderGroove);
}
QRect CVideoSlider::ThumbRect() const {
    return SliderSubRect(this, QStyle::SC_SliderHandle);
}

// Every user move ends here (the pointer moves below trigger it too). Time 0 is the lowest a user
// can seek to; the receiver reads the slider's value while the message is delivered.
void CVideoSlider::OnUserAction(int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    const SeekScale scale{g_nSeekOrigin, g_nSeekSpan};
    if (sliderPosition() < scale.origin) setSliderPosition(scale.origin);
    setValue(sliderPosition());
    SetCurrentMs(SeekPositionToMs(value(), scale, m_nDurationMs));
    SendPrivateMessage(m_pTarget, WM_SEEK_REQUEST, 0);
}

// The position under the pointer, never left of time 0; a move by code, so nothing is sent.
void CVideoSlider::MoveToPointer(int x) {
    const QRect channel = ChannelRect();
    const SeekScale scale{g_nSeekOrigin, g_nSeekSpan};
    const int p =
        std::max(SliderPositionAtX(x, channel.left(), channel.width(), minimum(), maximum()), scale.origin);
    setValue(p);
    SetCurrentMs(SeekPositionToMs(value(), scale, m_nDurationMs));
}

void CVideoSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    MoveToPointer(int(event->position().x()));
    m_bDragging = 1;
    event->accept();
}

void CVideoSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging) return;
    MoveToPointer(int(event->position().x()));
    triggerAction(QAbstractSlider::SliderMove);
}

void CVideoSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bDragging) return;
    m_bDragging = 0;
    MoveToPointer(int(event->position().x()));
    triggerAction(QAbstractSlider::SliderMove);
    update();
}

void CVideoSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGroove(painter);
    PaintThumb(painter, ThumbRect(), m_bDragging ? m_crThumbPressed : m_crThumb);
}

void CVideoSlider::PaintGroove(QPainter& painter) {
    painter.fillRect(rect(), Qt::black);
    const QRect inner = DrawSunkenEdge(painter, rect());

    const SeekScale scale = SeekScaleForWidth(maximum(), width(), {g_nSeekOrigin, g_nSeekSpan});
    g_nSeekOrigin = scale.origin;
    g_nSeekSpan = scale.span;
    g_nSliderThumbX = SliderThumbX(ChannelRect().width(), sliderPosition(), minimum(), maximum());
    if (!g_bSliderDrawn && m_pTarget) {
        // Painting must not run the receiver's handler inside it: the first-drawing notice is posted.
        g_bSliderDrawn = 1;
        PostPrivateMessage(m_pTarget, WM_SEEK_REQUEST, 0);
    }

    const int innerRight = inner.left() + inner.width(); // exclusive, as the boxes below are
    painter.setFont(m_pTimeFont);
    painter.setPen(Qt::white);
    const QRect leftBox(QPoint(inner.left(), inner.top()), QPoint(50 - 1, inner.bottom()));
    const QRect rightBox(QPoint(innerRight - 50, inner.top()), QPoint(innerRight - 1, inner.bottom()));
    painter.drawText(leftBox, Qt::AlignCenter | Qt::TextSingleLine, SeekTimeText(m_nCurrentMs));
    painter.drawText(rightBox, Qt::AlignCenter | Qt::TextSingleLine, SeekTimeText(m_nDurationMs));
    painter.fillRect(46, inner.top(), 2, inner.height(), Qt::white);
    painter.fillRect(innerRight - 54, inner.top(), 2, inner.height(), Qt::white);
}

// ---------------------------------------------------------------------------------------------
// CMySliderControl

CMySliderControl::CMySliderControl(QWidget* parent) : QSlider(parent) {
    PrepareSlider(this);
    setRange(0, 100);
    setValue(50);
    setAutoFillBackground(false);
    connect(this, &QAbstractSlider::actionTriggered, this, &CMySliderControl::OnUserAction);
}

QRect CMySliderControl::GrooveRect() const {
    const QRect groove = SliderSubRect(this, QStyle::SC_SliderGroove);
    return orientation() == Qt::Horizontal ? groove.adjusted(0, -2, 0, 2) : groove.adjusted(-1, 0, 1, 0);
}

QRect CMySliderControl::ThumbRect() const {
    return SliderSubRect(this, QStyle::SC_SliderHandle);
}

void CMySliderControl::OnUserAction(int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    setValue(sliderPosition());
    SendPrivateMessage(m_pTarget, WM_VOLUME_CHANGED, 0);
}

void CMySliderControl::MoveToPointer(int x) {
    const QRect channel = SliderSubRect(this, QStyle::SC_SliderGroove);
    setValue(SliderPositionAtX(x, channel.left(), channel.width(), minimum(), maximum()));
}

void CMySliderControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    MoveToPointer(int(event->position().x()));
    m_bDragging = 1;
    update();
    event->accept();
}

void CMySliderControl::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging) return;
    MoveToPointer(int(event->position().x()));
    triggerAction(QAbstractSlider::SliderMove);
}

void CMySliderControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bDragging) return;
    m_bDragging = 0;
    triggerAction(QAbstractSlider::SliderMove);
    update();
}

void CMySliderControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawSunkenEdge(painter, GrooveRect());
    PaintThumb(painter, ThumbRect(), m_bDragging ? m_crThumbPressed : m_crThumb);
}
