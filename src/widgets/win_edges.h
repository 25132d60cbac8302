// Windows-style 3-D frames drawn with fixed greys, so that they look the same on every desktop.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

// One-pixel frame: top and left lines in one colour, bottom and right lines in the other.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight);

// Two-pixel sunken edge inside rect: outer 160 (top, left) / 255 (bottom, right), inner 105 / 227.
// Returns the rectangle inside the edge.
QRect DrawSunkenEdge(QPainter& painter, const QRect& rect);
