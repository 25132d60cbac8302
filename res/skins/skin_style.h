// The one look of every skin picture: a glossy dark plate (the dash-camera body) on the window's
// near-black, light silver glyphs, and a single blue accent for what is "on" or primary.
// Every picture is drawn with these helpers, so changing the look happens here only.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <initializer_list>

namespace skin {

// The window's background, which every picture is composed on.
inline QColor Backdrop() {
    return QColor(5, 5, 5);
}
// The accent: the only saturated colour of the skin.
inline QColor Accent() {
    return QColor(40, 160, 255);
}

enum class Tone {
    Light,  // silver glyph: the command itself
    Accent, // blue glyph with a soft glow: state that is on, the primary command
    Dim,    // dark grey: a part that is off
    Dark,   // near-black ink on a lit part (letters on an accent pane)
};

// A rounded plate filling `rect` (device pixels): body gradient, rim light and top gloss.
void DrawPlate(QPainter& p, const QRectF& rect, double radius);

// Maps a design box of `units` (width x height, in design units) into `area`, centred and
// keeping proportions, so that glyphs are drawn in the same units at every button size.
void UseDesignBox(QPainter& p, const QRectF& area, const QSizeF& units);

// Fills a glyph path (in the painter's current coordinates) in a tone, with a one-pixel drop
// shadow and, for the accent, a glow.
void FillGlyph(QPainter& p, const QPainterPath& path, Tone tone);

// The outline of a stroked line as a fillable path (round caps and joins by default).
QPainterPath Stroked(const QPainterPath& line, double width, Qt::PenCapStyle cap = Qt::RoundCap,
                     Qt::PenJoinStyle join = Qt::RoundJoin);

// The open line through `points`; Polygon closes it.
QPainterPath Polyline(std::initializer_list<QPointF> points);
QPainterPath Polygon(std::initializer_list<QPointF> points);

// A polygon with its corners rounded by `radius` (design units).
QPainterPath RoundedPolygon(std::initializer_list<QPointF> points, double radius);

// Text as a path whose bounding box is centred on `centre`; `pixelSize` is the em size.
QPainterPath TextPath(const QString& text, double pixelSize, QPointF centre, bool bold = true);

} // namespace skin
