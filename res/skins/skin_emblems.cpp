// The emblems: the lens mark (application icon, logo, about and tool-tip pictures), the title
// wordmark, the GPS indicator, the compass roses and the lock icons of the lists.
#include "skin_catalog.h"
#include "skin_style.h"

#include <QConicalGradient>
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>

namespace skin {
namespace {

// The camera lens: metal barrel, ridged focus ring, blue-black glass with a highlight.
void DrawLens(QPainter& p, QPointF c, double r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QConicalGradient metal(c, 60);
    metal.setColorAt(0.0, QColor(226, 230, 236));
    metal.setColorAt(0.25, QColor(92, 98, 108));
    metal.setColorAt(0.5, QColor(206, 210, 218));
    metal.setColorAt(0.75, QColor(64, 68, 76));
    metal.setColorAt(1.0, QColor(226, 230, 236));
    p.setBrush(metal);
    p.drawEllipse(c, r, r);

    p.setBrush(QColor(18, 19, 23));
    p.drawEllipse(c, r * 0.86, r * 0.86);
    if (r >= 20) {
        p.setPen(QPen(QColor(60, 64, 72), std::max(1.0, r * 0.025), Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 48; ++i) {
            const double a = i * 2.0 * M_PI / 48.0;
            const QPointF d(std::cos(a), std::sin(a));
            p.drawLine(c + d * r * 0.76, c + d * r * 0.84);
        }
        p.setPen(Qt::NoPen);
    }

    QRadialGradient glass(c + QPointF(-r * 0.2, -r * 0.22), r * 0.9);
    glass.setColorAt(0.0, QColor(120, 200, 255));
    glass.setColorAt(0.35, Accent().darker(160));
    glass.setColorAt(0.8, QColor(6, 14, 40));
    glass.setColorAt(1.0, QColor(3, 4, 10));
    p.setBrush(glass);
    p.drawEllipse(c, r * 0.7, r * 0.7);

    QRadialGradient pupil(c, r * 0.3);
    pupil.setColorAt(0.0, QColor(10, 30, 70));
    pupil.setColorAt(1.0, QColor(2, 3, 8));
    p.setBrush(pupil);
    p.drawEllipse(c, r * 0.28, r * 0.28);

    // An accent ring inside the glass: the lens "looks" blue like the rest of the skin.
    p.setBrush(Qt::NoBrush);
    QColor ring = Accent();
    ring.setAlpha(150);
    p.setPen(QPen(ring, std::max(0.8, r * 0.035)));
    p.drawEllipse(c, r * 0.5, r * 0.5);

    p.setPen(Qt::NoPen);
    p.save();
    p.translate(c + QPointF(-r * 0.3, -r * 0.32));
    p.rotate(-35);
    p.setBrush(QColor(255, 255, 255, 175));
    p.drawEllipse(QPointF(0, 0), r * 0.2, r * 0.11);
    p.restore();
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(c + QPointF(r * 0.28, r * 0.3), r * 0.07, r * 0.07);
    p.restore();
}

// The application tile: a glossy plate with the lens on it.
void DrawTileWithLens(QPainter& p, const QSize& s) {
    const double side = std::min(s.width(), s.height());
    const QRectF tile(side * 0.03, side * 0.03, side * 0.94, side * 0.94);
    DrawPlate(p, tile, side * 0.19);
    DrawLens(p, tile.center() + QPointF(0, side * 0.01), side * 0.37);
}

// Text with letter spacing as one path, centred on `centre`.
QPainterPath SpacedText(const QString& text, double pixelSize, double spacing, QPointF centre, int weight) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(int(pixelSize + 0.5));
    font.setWeight(QFont::Weight(weight));
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.translated(centre - path.boundingRect().center());
}

} // namespace

void DrawAppIcon(QPainter& p, const QSize& s) {
    DrawTileWithLens(p, s);
}

void DrawAboutPicture(QPainter& p, const QSize& s) {
    DrawTileWithLens(p, s);
}

void DrawLogo(QPainter& p, const QSize& s) {
    const double side = std::min(s.width(), s.height());
    DrawLens(p, QPointF(s.width() / 2.0, s.height() / 2.0), side * 0.48);
}

void DrawToolTipIcon(QPainter& p, const QSize& s) {
    const double side = std::min(s.width(), s.height());
    DrawLens(p, QPointF(s.width() / 2.0, s.height() / 2.0), side * 0.47);
}

// The wordmark is shown squeezed into a 148 x 48 cell of the top band, so it is drawn in that
// cell's proportions and stretched to the picture's 189 x 48: it looks right where it is shown.
void DrawTitle(QPainter& p, const QSize& s) {
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF shown(148, 48);
    p.scale(s.width() / shown.width(), s.height() / shown.height());

    const QPainterPath maker =
        SpacedText(QStringLiteral("HALVORN"), 8.5, 3.2, QPointF(74, 8), QFont::DemiBold);
    FillGlyph(p, maker, Tone::Dim);

    QPainterPath word = SpacedText(QStringLiteral("VELTRIX"), 27, 1.2, QPointF(74, 25.5), QFont::Black);
    QTransform slant;
    slant.translate(74, 25.5);
    slant.shear(-0.14, 0);
    slant.translate(-74, -25.5);
    word = slant.map(word);
    // A dark outline keeps the chrome letters apart from each other and from the background.
    p.save();
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(word);
    p.restore();
    QLinearGradient chrome(0, 14, 0, 37);
    chrome.setColorAt(0.0, QColor(252, 253, 255));
    chrome.setColorAt(0.5, QColor(198, 204, 214));
    chrome.setColorAt(0.52, QColor(138, 146, 160));
    chrome.setColorAt(1.0, QColor(214, 220, 230));
    p.fillPath(word.translated(0, 1), QColor(0, 0, 0, 170));
    p.fillPath(word, chrome);

    // The accent swoosh under the name, fading out at both ends.
    QLinearGradient line(14, 0, 134, 0);
    QColor clear = Accent();
    clear.setAlpha(0);
    line.setColorAt(0.0, clear);
    line.setColorAt(0.5, Accent());
    line.setColorAt(1.0, clear);
    QPainterPath swoosh;
    swoosh.moveTo(14, 43.5);
    swoosh.quadTo(74, 39.5, 134, 42.5);
    p.strokePath(swoosh, QPen(QBrush(line), 2.0, Qt::SolidLine, Qt::RoundCap));
}

void DrawGps(QPainter& p, const QSize& s) {
    p.setRenderHint(QPainter::Antialiasing);
    UseDesignBox(p, QRectF(0, 0, s.width(), s.height()), QSizeF(32, 32));
    // Signal arcs towards the upper right.
    QPainterPath arcs;
    const QPointF c(16.5, 15.5);
    for (double r : {5.5, 9.5}) {
        QPainterPath arc;
        const QRectF box(c.x() - r + 3, c.y() - r - 3, 2 * r, 2 * r);
        arc.arcMoveTo(box, 5);
        arc.arcTo(box, 5, 80);
        arcs = arcs.united(Stroked(arc, 2.0));
    }
    FillGlyph(p, arcs, Tone::Light);

    // The satellite, turned 45 degrees: body, struts and two solar panels.
    p.save();
    p.translate(12.5, 19.5);
    p.rotate(-45);
    QPainterPath body;
    body.addRoundedRect(QRectF(-3.2, -3.8, 6.4, 7.6), 1.2, 1.2);
    body = body.united(Stroked(Polygon({{-5.5, 0}, {5.5, 0}}), 1.2, Qt::FlatCap));
    QPainterPath dish;
    dish.moveTo(-2.6, -4.2);
    dish.quadTo(0, -7.4, 2.6, -4.2);
    body = body.united(Stroked(dish, 1.3)).united(Stroked(Polygon({{0, -4}, {0, -6.2}}), 1.0));
    FillGlyph(p, body, Tone::Light);
    QPainterPath panels;
    for (double x : {-12.5, 5.5}) {
        QPainterPath panel;
        panel.addRoundedRect(QRectF(x, -3.4, 7, 6.8), 0.8, 0.8);
        panel = panel.subtracted(Stroked(Polygon({{x + 3.5, -3.4}, {x + 3.5, 3.4}}), 0.6, Qt::FlatCap))
                    .subtracted(Stroked(Polygon({{x, 0}, {x + 7, 0}}), 0.6, Qt::FlatCap));
        panels = panels.united(panel);
    }
    FillGlyph(p, panels, Tone::Accent);
    p.restore();
}

// The rose: a dark glossy bezel with ticks, a four-point star whose north point carries the
// accent, and the letter N; turned clockwise in steps of 45 degrees.
void DrawCompass(QPainter& p, const QSize& s, int step) {
    p.setRenderHint(QPainter::Antialiasing);
    UseDesignBox(p, QRectF(0, 0, s.width(), s.height()), QSizeF(48, 48));
    const QPointF c(24, 24);

    QRadialGradient bezel(c + QPointF(0, -8), 30);
    bezel.setColorAt(0.0, QColor(70, 74, 84));
    bezel.setColorAt(0.6, QColor(28, 30, 35));
    bezel.setColorAt(1.0, QColor(12, 13, 16));
    QPainterPath disc;
    disc.addEllipse(c, 22.5, 22.5);
    p.fillPath(disc, bezel);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 22.0, 22.0);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.drawEllipse(c, 23.0, 23.0);
    p.setPen(Qt::NoPen);

    p.translate(c);
    p.rotate(45.0 * step);
    p.translate(-c);

    QPainterPath ticks;
    for (int i = 1; i < 16; ++i) {
        const double a = qDegreesToRadians(i * 22.5);
        const QPointF d(std::sin(a), -std::cos(a));
        const double inner = (i % 2 == 0) ? 16.5 : 18.5;
        ticks = ticks.united(
            Stroked(Polygon({c + d * inner, c + d * 20.2}), i % 4 == 0 ? 1.6 : 1.1, Qt::FlatCap));
    }
    FillGlyph(p, ticks, Tone::Dim);

    // Each point is split along its axis into a lit and a shaded half.
    auto point = [&](double degrees, double length, Tone lit, Tone shade) {
        const double a = qDegreesToRadians(degrees);
        const QPointF d(std::sin(a), -std::cos(a));
        const QPointF n(-d.y(), d.x());
        FillGlyph(p, Polygon({c, c + d * length, c + n * 4.2}), lit);
        FillGlyph(p, Polygon({c, c + d * length, c - n * 4.2}), shade);
    };
    point(90, 11, Tone::Light, Tone::Dim);
    point(270, 11, Tone::Light, Tone::Dim);
    point(180, 14.5, Tone::Light, Tone::Dim);
    point(0, 14.5, Tone::Accent, Tone::Accent);
    QPainterPath hub;
    hub.addEllipse(c, 1.6, 1.6);
    FillGlyph(p, hub, Tone::Dark);
    FillGlyph(p, TextPath(QStringLiteral("N"), 9, c + QPointF(0, -18.6)), Tone::Light);
}

// Four 24 x 24 cells: nothing, padlock G, padlock M, padlock G and M. The padlocks carry a
// dark outline so that they read on light and dark list backgrounds alike.
void DrawLockIcons(QPainter& p, const QSize& s) {
    p.setRenderHint(QPainter::Antialiasing);
    const double cell = s.height();
    const QString letters[] = {QString(), QStringLiteral("G"), QStringLiteral("M"), QStringLiteral("GM")};
    for (int i = 1; i < 4; ++i) {
        p.save();
        p.translate(i * cell, 0);
        p.scale(cell / 24.0, cell / 24.0);
        QPainterPath shackle;
        shackle.moveTo(7.5, 11);
        shackle.lineTo(7.5, 7.5);
        shackle.arcTo(QRectF(7.5, 3, 9, 9), 180, -180);
        shackle.lineTo(16.5, 11);
        const QPainterPath ring = Stroked(shackle, 2.4, Qt::FlatCap);
        QPainterPath body;
        body.addRoundedRect(QRectF(3, 10, 18, 12.5), 2.5, 2.5);
        p.setPen(QPen(QColor(8, 16, 36), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(ring.united(body));
        p.setPen(Qt::NoPen);
        FillGlyph(p, ring, Tone::Light);
        FillGlyph(p, body, Tone::Accent);
        const double size = letters[i].size() == 1 ? 10.5 : 9.0;
        p.fillPath(TextPath(letters[i], size, QPointF(12, 16.4)), QColor(255, 255, 255));
        p.restore();
    }
}

} // namespace skin
