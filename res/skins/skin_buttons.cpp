// The command-button pictures. Each is a plate over the whole picture with one glyph drawn in a
// 24-unit design box (wider for the wide buttons), so that one drawing serves every size.
#include "skin_catalog.h"
#include "skin_style.h"

#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <functional>

namespace skin {
namespace {

using Glyph = std::function<void(QPainter&)>;

// The plate leaves the bottom row for its shadow; the glyph takes `fill` of the plate height.
void Button(QPainter& p, const QSize& s, const QSizeF& units, double fill, const Glyph& glyph) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(0.5, 0.5, s.width() - 1.0, s.height() - 2.0);
    const double radius = std::min(plate.width(), plate.height()) * 0.27;
    DrawPlate(p, plate, radius);
    const double side = plate.height() * fill;
    const QRectF area(plate.center().x() - side * units.width() / units.height() / 2.0,
                      plate.center().y() - side / 2.0, side * units.width() / units.height(), side);
    p.save();
    UseDesignBox(p, area, units);
    glyph(p);
    p.restore();
}

const QSizeF kSquare(24, 24);
constexpr double kTransportFill = 0.66;
constexpr double kSmallFill = 0.70;

QPainterPath Rect(double x, double y, double w, double h, double r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath Circle(QPointF c, double r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

// A point on a circle; angles in degrees, counter-clockwise from three o'clock (screen y down).
QPointF OnCircle(QPointF c, double r, double degrees) {
    const double a = qDegreesToRadians(degrees);
    return c + QPointF(std::cos(a) * r, -std::sin(a) * r);
}

// Speedometer dial with the needle at `needle` degrees and a minus or plus sign below it.
void Gauge(QPainter& p, double needle, bool plus) {
    const QPointF c(12, 12.5);
    const QRectF dial(c.x() - 9.5, c.y() - 9.5, 19, 19);
    QPainterPath arc;
    arc.arcMoveTo(dial, 215);
    arc.arcTo(dial, 215, -250);
    QPainterPath marks = Stroked(arc, 2.2);
    for (double a : {215.0, 152.5, 90.0, 27.5, -35.0})
        marks = marks.united(Stroked(Polyline({OnCircle(c, 5.6, a), OnCircle(c, 7.2, a)}), 1.5));
    QPainterPath sign = Rect(9, 19.9, 6, 2.3, 0.8);
    if (plus) sign = sign.united(Rect(10.85, 18.05, 2.3, 6, 0.8));
    FillGlyph(p, marks.united(sign), Tone::Light);
    // A tapering needle from the hub.
    QPainterPath hand = RoundedPolygon(
        {OnCircle(c, 1.6, needle + 90), OnCircle(c, 8.4, needle), OnCircle(c, 1.6, needle - 90)}, 0.3);
    FillGlyph(p, hand.united(Circle(c, 2.2)), Tone::Accent);
}

// Front and rear camera panes, each lit (accent) or off.
void Views(QPainter& p, bool frontLit, bool rearLit) {
    auto pane = [&](double x, const QString& letter, bool lit) {
        const QPainterPath frame = Rect(x, 4.5, 13.5, 12.5, 2.0);
        const QPainterPath text = TextPath(letter, 10, QPointF(x + 6.75, 10.75));
        if (lit) {
            FillGlyph(p, frame, Tone::Accent);
            FillGlyph(p, text, Tone::Dark);
        } else {
            FillGlyph(p, frame.subtracted(Rect(x + 1.5, 6, 10.5, 9.5, 1.0)), Tone::Dim);
            FillGlyph(p, text, Tone::Dim);
        }
        // The stand under each screen.
        FillGlyph(p, Rect(x + 4.75, 18.5, 4, 1.6, 0.6), lit ? Tone::Light : Tone::Dim);
    };
    pane(1.5, QStringLiteral("F"), frontLit);
    pane(17, QStringLiteral("R"), rearLit);
}

// A screen frame with a lit window inside, anchored bottom-left, growing with the size.
void WindowSize(QPainter& p, double w, double h) {
    const QPainterPath frame = Rect(1.5, 3.5, 21, 17, 2.5).subtracted(Rect(3.9, 5.9, 16.2, 12.2, 1.2));
    FillGlyph(p, frame, Tone::Light);
    FillGlyph(p, Rect(5.2, 18.3 - h - 1.0, w, h, 1.0), Tone::Accent);
}

// A circular arrow turning clockwise, used by the auto-play switch.
QPainterPath LoopArrow() {
    const QPointF c(12, 12);
    const double r = 8;
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    const double start = 110, sweep = -290;
    QPainterPath arc;
    arc.arcMoveTo(box, start);
    arc.arcTo(box, start, sweep);
    const double end = qDegreesToRadians(start + sweep);
    const QPointF tip = OnCircle(c, r, start + sweep);
    const QPointF along(std::sin(end), std::cos(end)); // direction of travel, clockwise
    const QPointF out(std::cos(end), -std::sin(end));  // away from the centre
    QPainterPath head;
    head.moveTo(tip + along * 3.6);
    head.lineTo(tip + out * 3.4 - along * 0.8);
    head.lineTo(tip - out * 3.4 - along * 0.8);
    head.closeSubpath();
    return Stroked(arc, 2.3, Qt::FlatCap).united(head);
}

QPainterPath SmallPlay() {
    return RoundedPolygon({{10, 8.2}, {10, 15.8}, {16, 12}}, 0.6);
}

QPainterPath Padlock(bool open) {
    QPainterPath body = Rect(5, 10.5, 14, 10.5, 2.2);
    body = body.subtracted(Circle(QPointF(12, 14.6), 1.6)).subtracted(Rect(11.3, 15, 1.4, 3.6, 0.5));
    QPainterPath shackle;
    if (open) {
        shackle.moveTo(8.2, 11);
        shackle.lineTo(8.2, 6.2);
        shackle.arcTo(QRectF(8.2, 2.4, 7.6, 7.6), 180, -180);
        shackle.lineTo(15.8, 7.6);
    } else {
        shackle.moveTo(8.2, 11);
        shackle.lineTo(8.2, 8.3);
        shackle.arcTo(QRectF(8.2, 4.5, 7.6, 7.6), 180, -180);
        shackle.lineTo(15.8, 11);
    }
    return body.united(Stroked(shackle, 2.4, Qt::FlatCap));
}

} // namespace

// --- transport ------------------------------------------------------------------------------

void DrawPlay(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill, [](QPainter& q) {
        FillGlyph(q, RoundedPolygon({{7.5, 4.5}, {7.5, 19.5}, {20, 12}}, 1.1), Tone::Accent);
    });
}

void DrawPause(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill, [](QPainter& q) {
        FillGlyph(q, Rect(6.2, 5, 4.4, 14, 1.2).united(Rect(13.4, 5, 4.4, 14, 1.2)), Tone::Accent);
    });
}

void DrawStop(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill,
           [](QPainter& q) { FillGlyph(q, Rect(6, 6, 12, 12, 2.2), Tone::Light); });
}

void DrawPrevious(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill, [](QPainter& q) {
        FillGlyph(q,
                  Rect(4.5, 5.5, 3, 13, 1).united(RoundedPolygon({{19.5, 5.5}, {19.5, 18.5}, {8.6, 12}}, 1)),
                  Tone::Light);
    });
}

void DrawNext(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill, [](QPainter& q) {
        FillGlyph(q,
                  Rect(16.5, 5.5, 3, 13, 1).united(RoundedPolygon({{4.5, 5.5}, {4.5, 18.5}, {15.4, 12}}, 1)),
                  Tone::Light);
    });
}

void DrawSlower(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill, [](QPainter& q) { Gauge(q, 160, false); });
}

void DrawFaster(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kTransportFill, [](QPainter& q) { Gauge(q, 20, true); });
}

// --- volume (a narrow 12 x 24 button: the speaker fills its width) ----------------------------

namespace {
QPainterPath Speaker() {
    return Rect(1.0, 9.2, 2.8, 5.6, 0.5)
        .united(RoundedPolygon({{3.4, 9.2}, {6.6, 5.8}, {6.6, 18.2}, {3.4, 14.8}}, 0.3));
}
} // namespace

void DrawVolumeOn(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(12, 24), 1.0, [](QPainter& q) {
        FillGlyph(q, Speaker(), Tone::Light);
        // One sound wave: at this width a second one would merge with it.
        const QPointF c(6.0, 12);
        const double r = 3.6;
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        QPainterPath arc;
        arc.arcMoveTo(box, -55);
        arc.arcTo(box, -55, 110);
        FillGlyph(q, Stroked(arc, 1.5), Tone::Accent);
    });
}

void DrawVolumeMuted(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(12, 24), 1.0, [](QPainter& q) {
        // The speaker struck through, with a gap around the stroke so that it stands out.
        const QPainterPath strike = Polyline({{1.2, 17.6}, {10.6, 6.4}});
        FillGlyph(q, Speaker().subtracted(Stroked(strike, 3.0)), Tone::Light);
        FillGlyph(q, Stroked(strike, 1.5), Tone::Accent);
    });
}

// --- front/rear switch -------------------------------------------------------------------------

void DrawViewBoth(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(32, 22), 0.62, [](QPainter& q) { Views(q, true, true); });
}

void DrawViewFront(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(32, 22), 0.62, [](QPainter& q) { Views(q, true, false); });
}

void DrawViewRear(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(32, 22), 0.62, [](QPainter& q) { Views(q, false, true); });
}

// --- window buttons --------------------------------------------------------------------------

void DrawSizeSmall(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.8, [](QPainter& q) { WindowSize(q, 6, 4.5); });
}

void DrawSizeMedium(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.8, [](QPainter& q) { WindowSize(q, 10, 7.5); });
}

void DrawSizeLarge(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.8, [](QPainter& q) { WindowSize(q, 13.6, 10.8); });
}

void DrawMinimise(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.6, [](QPainter& q) { FillGlyph(q, Rect(5, 15.5, 14, 3.6, 1.2), Tone::Light); });
}

void DrawMaximise(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.6, [](QPainter& q) {
        FillGlyph(q, Rect(4.5, 4.5, 15, 15, 2).subtracted(Rect(7, 9, 10, 8, 0.8)), Tone::Light);
    });
}

void DrawClose(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.6, [](QPainter& q) {
        FillGlyph(q,
                  Stroked(Polyline({{5.5, 5.5}, {18.5, 18.5}}), 3.6)
                      .united(Stroked(Polyline({{18.5, 5.5}, {5.5, 18.5}}), 3.6)),
                  Tone::Light);
    });
}

void DrawAbout(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, 0.62, [](QPainter& q) {
        FillGlyph(q, Circle(QPointF(12, 5.2), 2.5).united(Rect(9.9, 9.2, 4.2, 11.8, 1.2)), Tone::Light);
    });
}

// --- open and print (48 x 36 at the top left) --------------------------------------------------

void DrawOpen(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(28, 24), 0.62, [](QPainter& q) {
        const QPainterPath back =
            RoundedPolygon({{2, 4}, {10, 4}, {12.5, 7}, {24, 7}, {24, 20}, {2, 20}}, 1.2);
        const QPainterPath flap = RoundedPolygon({{7, 11}, {27, 11}, {22.5, 20.5}, {2.5, 20.5}}, 1.0);
        FillGlyph(q, back.subtracted(Stroked(flap, 2.4)), Tone::Light);
        FillGlyph(q, flap, Tone::Accent);
    });
}

void DrawPrint(QPainter& p, const QSize& s) {
    Button(p, s, QSizeF(28, 24), 0.62, [](QPainter& q) {
        const QPainterPath paperIn = Rect(8, 2.5, 12, 6, 0.8);
        const QPainterPath body = Rect(3, 8, 22, 10, 2.4);
        const QPainterPath paperOut = Rect(8, 13.5, 12, 8.5, 0.8);
        FillGlyph(q, paperIn.united(body).subtracted(paperOut.united(Rect(6.5, 13.5, 15, 9, 1))),
                  Tone::Light);
        FillGlyph(q, paperOut.subtracted(Rect(10, 16, 8, 1, 0.4)).subtracted(Rect(10, 18.5, 6, 1, 0.4)),
                  Tone::Light);
        FillGlyph(q, Circle(QPointF(21.5, 10.8), 1.2), Tone::Accent);
    });
}

// --- file commands and switches (32 x 32) --------------------------------------------------------

void DrawSnapshot(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        const QPainterPath body =
            Rect(2.5, 7, 19, 13, 2.4).united(RoundedPolygon({{7.5, 8}, {9.2, 4}, {14.8, 4}, {16.5, 8}}, 0.6));
        FillGlyph(q, body.subtracted(Circle(QPointF(12, 13.5), 5.0)), Tone::Light);
        FillGlyph(q, Circle(QPointF(12, 13.5), 3.4), Tone::Accent);
    });
}

void DrawSaveAs(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        QPainterPath disk =
            RoundedPolygon({{3.5, 3.5}, {17, 3.5}, {20.5, 7}, {20.5, 20.5}, {3.5, 20.5}}, 1.0);
        disk = disk.subtracted(Rect(7.5, 3.5, 8.5, 6, 0.6)).subtracted(Rect(6.5, 12, 11, 8.5, 1.0));
        FillGlyph(q, disk.united(Rect(12.6, 4.6, 2, 3.6, 0.4)), Tone::Light);
        FillGlyph(q, Rect(8, 13.5, 8, 1.4, 0.5).united(Rect(8, 16.3, 8, 1.4, 0.5)), Tone::Accent);
    });
}

void DrawDelete(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        const QPainterPath lid =
            Rect(4, 5.5, 16, 2.6, 1).united(Rect(9, 3, 6, 3.5, 1).subtracted(Rect(10.6, 4.4, 2.8, 2, 0.3)));
        QPainterPath can = RoundedPolygon({{5.6, 9.5}, {18.4, 9.5}, {17, 21}, {7, 21}}, 0.9);
        for (double x : {8.6, 11.3, 14.0})
            can = can.subtracted(Rect(x, 11.5, 1.4, 7.5, 0.6));
        FillGlyph(q, lid.united(can), Tone::Light);
    });
}

void DrawAutoNextOn(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        FillGlyph(q, LoopArrow(), Tone::Light);
        FillGlyph(q, SmallPlay(), Tone::Accent);
    });
}

void DrawAutoNextOff(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        FillGlyph(q, LoopArrow().united(SmallPlay()), Tone::Dim);
        FillGlyph(q, Stroked(Polyline({{4.5, 19.5}, {19.5, 4.5}}), 2.4), Tone::Light);
    });
}

void DrawKml(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        QPainterPath track;
        track.moveTo(2.5, 21);
        track.cubicTo(8, 17.5, 14, 23, 21.5, 19);
        QPainterPath dots;
        for (double t = 0.0; t <= 1.0001; t += 0.25)
            dots.addEllipse(track.pointAtPercent(t), 1.35, 1.35);
        FillGlyph(q, dots, Tone::Light);
        QPainterPath pin = Circle(QPointF(12, 8.5), 5.8);
        pin = pin.united(RoundedPolygon({{6.9, 11}, {17.1, 11}, {12, 19}}, 0.4));
        FillGlyph(q, pin.subtracted(Circle(QPointF(12, 8.5), 2.3)), Tone::Accent);
    });
}

void DrawMap(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        QPainterPath map = RoundedPolygon({{2.5, 5.5},
                                           {8.5, 3.5},
                                           {15.5, 5.5},
                                           {21.5, 3.5},
                                           {21.5, 18.5},
                                           {15.5, 20.5},
                                           {8.5, 18.5},
                                           {2.5, 20.5}},
                                          0.6);
        map = map.subtracted(Stroked(Polyline({{8.5, 3.5}, {8.5, 18.5}}), 0.9))
                  .subtracted(Stroked(Polyline({{15.5, 5.5}, {15.5, 20.5}}), 0.9));
        FillGlyph(q, map, Tone::Light);
        FillGlyph(q, Stroked(Polyline({{4.8, 15.5}, {8.5, 11}, {12.5, 13.5}, {18.5, 8}}), 1.9), Tone::Accent);
    });
}

void DrawGSensor(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) {
        FillGlyph(q, Stroked(Polyline({{3.5, 3.5}, {3.5, 20.5}, {21, 20.5}}), 1.8), Tone::Light);
        QPainterPath wave;
        wave.moveTo(5, 12);
        wave.cubicTo(7, 3.5, 9, 3.5, 11, 12);
        wave.cubicTo(13, 20, 15, 18, 17, 10);
        wave.cubicTo(18, 7, 19.5, 8, 21, 10);
        FillGlyph(q, Stroked(wave, 2.0), Tone::Accent);
    });
}

void DrawLocked(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) { FillGlyph(q, Padlock(false), Tone::Accent); });
}

void DrawUnlocked(QPainter& p, const QSize& s) {
    Button(p, s, kSquare, kSmallFill, [](QPainter& q) { FillGlyph(q, Padlock(true), Tone::Light); });
}

} // namespace skin
