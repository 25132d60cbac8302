#include "fusion_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionSlider>

CFusionSlider::CFusionSlider(QWidget* parent, QColor thumb, QColor thumbPressed)
    : QSlider(parent), m_crThumb(thumb), m_crThumbPressed(thumbPressed) {
    setOrientation(Qt::Horizontal);
    // Fusion on every desktop: the rectangles the drawing and the pointer arithmetic rely on must
    // not change with the user's theme. The slider owns its style object.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        fusion->setParent(this);
        setStyle(fusion);
    }
}

QRect CFusionSlider::SubControlRect(QStyle::SubControl part) const {
    QStyleOptionSlider option;
    option.initFrom(this);
    option.orientation = orientation();
    option.minimum = minimum();
    option.maximum = maximum();
    option.sliderPosition = sliderPosition();
    option.sliderValue = value();
    option.singleStep = singleStep();
    option.pageStep = pageStep();
    option.upsideDown = invertedAppearance();
    option.tickPosition = tickPosition();
    option.tickInterval = tickInterval();
    option.subControls = QStyle::SC_All;
    return style()->subControlRect(QStyle::CC_Slider, &option, part, this);
}

QRect CFusionSlider::ThumbRect() const {
    return SubControlRect(QStyle::SC_SliderHandle);
}

void CFusionSlider::PaintThumb(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_bDragging ? m_crThumbPressed : m_crThumb);
    painter.drawEllipse(ThumbRect().adjusted(0, 0, -1, -1));
}

void CFusionSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    MoveToPointer(int(event->position().x()));
    m_bDragging = 1;
    update();
    event->accept();
}

void CFusionSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging) return;
    MoveToPointer(int(event->position().x()));
    triggerAction(QAbstractSlider::SliderMove);
}

void CFusionSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bDragging) return;
    m_bDragging = 0;
    OnDragReleased(int(event->position().x()));
    triggerAction(QAbstractSlider::SliderMove);
    update();
}
