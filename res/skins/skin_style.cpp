#include "skin_style.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace skin {

void DrawPlate(QPainter& p, const QRectF& rect, double radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRoundedRect(rect, radius, radius);

    // A faint drop shadow below the plate lifts it off the background.
    p.fillPath(body.translated(0, 1), QColor(0, 0, 0, 160));

    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, QColor(74, 79, 90));
    fill.setColorAt(0.48, QColor(36, 38, 44));
    fill.setColorAt(0.52, QColor(24, 25, 29));
    fill.setColorAt(1.0, QColor(14, 15, 18));
    p.fillPath(body, fill);

    // Gloss: the upper part lit from above, its lower edge a gentle curve.
    QPainterPath glossShape;
    glossShape.addEllipse(QRectF(rect.left() - rect.width() * 0.25, rect.top() - rect.height() * 0.95,
                                 rect.width() * 1.5, rect.height() * 1.42));
    QLinearGradient gloss(rect.topLeft(), QPointF(rect.left(), rect.top() + rect.height() * 0.5));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 62));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 10));
    p.fillPath(body.intersected(glossShape), gloss);

    // Rim light along the top edge and a dark outer line.
    QLinearGradient rim(rect.topLeft(), rect.bottomLeft());
    rim.setColorAt(0.0, QColor(255, 255, 255, 110));
    rim.setColorAt(0.45, QColor(255, 255, 255, 12));
    rim.setColorAt(1.0, QColor(255, 255, 255, 30));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 1.0));
    const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawRoundedRect(inner, std::max(radius - 0.5, 0.0), std::max(radius - 0.5, 0.0));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    p.drawRoundedRect(rect.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 0.5, radius + 0.5);
    p.restore();
}

void UseDesignBox(QPainter& p, const QRectF& area, const QSizeF& units) {
    const double scale = std::min(area.width() / units.width(), area.height() / units.height());
    p.translate(area.center());
    p.scale(scale, scale);
    p.translate(-units.width() / 2.0, -units.height() / 2.0);
}

namespace {

QLinearGradient ToneGradient(const QRectF& box, Tone tone) {
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    switch (tone) {
    case Tone::Light:
        g.setColorAt(0.0, QColor(250, 251, 253));
        g.setColorAt(1.0, QColor(168, 176, 188));
        break;
    case Tone::Accent:
        g.setColorAt(0.0, QColor(150, 215, 255));
        g.setColorAt(0.5, Accent());
        g.setColorAt(1.0, QColor(16, 104, 220));
        break;
    case Tone::Dim:
        g.setColorAt(0.0, QColor(104, 108, 118));
        g.setColorAt(1.0, QColor(66, 69, 77));
        break;
    case Tone::Dark:
        g.setColorAt(0.0, QColor(10, 14, 24));
        g.setColorAt(1.0, QColor(4, 6, 12));
        break;
    }
    return g;
}

} // namespace

void FillGlyph(QPainter& p, const QPainterPath& path, Tone tone) {
    // Shadow, glow and gradient are laid out in device pixels so that they look the same at
    // every button size.
    const QPainterPath device = p.transform().map(path);
    p.save();
    p.resetTransform();
    p.setRenderHint(QPainter::Antialiasing);
    if (tone != Tone::Dark) p.fillPath(device.translated(0, 1), QColor(0, 0, 0, 170));
    if (tone == Tone::Accent) {
        QColor glow = Accent();
        glow.setAlpha(70);
        p.strokePath(device, QPen(glow, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    p.fillPath(device, ToneGradient(device.boundingRect(), tone));
    p.restore();
}

QPainterPath Stroked(const QPainterPath& line, double width, Qt::PenCapStyle cap, Qt::PenJoinStyle join) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(line).simplified();
}

QPainterPath Polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    return path;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path = Polyline(points);
    path.closeSubpath();
    return path;
}

QPainterPath RoundedPolygon(std::initializer_list<QPointF> points, double radius) {
    // Shrink-free rounding: the polygon is inset by the radius, then grown back with round joins.
    QPolygonF polygon;
    QPointF centre;
    for (const QPointF& pt : points)
        centre += pt;
    centre /= double(points.size());
    for (const QPointF& pt : points) {
        const QPointF d = pt - centre;
        const double len = std::max(std::hypot(d.x(), d.y()), 1e-6);
        polygon << pt - d / len * radius * 1.6;
    }
    polygon << polygon.first();
    QPainterPath core;
    core.addPolygon(polygon);
    core.closeSubpath();
    return core.united(Stroked(core, radius * 2.0, Qt::RoundCap, Qt::RoundJoin));
}

QPainterPath TextPath(const QString& text, double pixelSize, QPointF centre, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, int(pixelSize + 0.5)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    return path.translated(centre - box.center());
}

} // namespace skin
