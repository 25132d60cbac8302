#include "event_list.h"

#include <QPainter>

CEventList::CEventList(QWidget* parent) : QListWidget(parent) {}

void CEventList::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (count() != 0 || accessibleDescription().isEmpty()) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     accessibleDescription());
}
