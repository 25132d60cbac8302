#include "win_edges.h"

void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0) return;
    painter.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    painter.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
}

QRect DrawSunkenEdge(QPainter& painter, const QRect& rect) {
    Draw3dRect(painter, rect, QColor(160, 160, 160), QColor(255, 255, 255));
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    Draw3dRect(painter, inner, QColor(105, 105, 105), QColor(227, 227, 227));
    return inner.adjusted(1, 1, -1, -1);
}
