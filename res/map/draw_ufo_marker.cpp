// Draws the car marker of the map pages, a small flying saucer, into a PNG file.
// Usage: draw_ufo_marker <output.png>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 32;

void DrawDome(QPainter& p) {
    QRadialGradient glass(QPointF(21, 9), 12);
    glass.setColorAt(0, QColor(220, 250, 255, 240));
    glass.setColorAt(1, QColor(60, 170, 220, 220));
    p.setBrush(glass);
    p.setPen(QPen(QColor(20, 70, 110), 1.2));
    p.drawChord(QRectF(13, 3, 22, 20), 0, 180 * 16);
}

void DrawHull(QPainter& p) {
    QLinearGradient metal(0, 12, 0, 24);
    metal.setColorAt(0, QColor(235, 235, 240));
    metal.setColorAt(0.5, QColor(150, 155, 165));
    metal.setColorAt(1, QColor(70, 72, 80));
    p.setBrush(metal);
    p.setPen(QPen(QColor(30, 30, 36), 1.4));
    p.drawEllipse(QRectF(2, 11, 44, 13));
}

void DrawLights(QPainter& p) {
    p.setPen(Qt::NoPen);
    const QColor colors[] = {QColor(255, 70, 50), QColor(255, 210, 40), QColor(90, 230, 90),
                             QColor(255, 210, 40), QColor(255, 70, 50)};
    for (int i = 0; i < 5; ++i) {
        p.setBrush(colors[i]);
        p.drawEllipse(QPointF(10 + i * 7, 18), 2.2, 2.2);
    }
}

void DrawBeam(QPainter& p) {
    QPainterPath beam;
    beam.moveTo(18, 23);
    beam.lineTo(30, 23);
    beam.lineTo(33, 31);
    beam.lineTo(15, 31);
    beam.closeSubpath();
    QLinearGradient light(0, 23, 0, 31);
    light.setColorAt(0, QColor(255, 250, 160, 200));
    light.setColorAt(1, QColor(255, 250, 160, 0));
    p.fillPath(beam, light);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
        return 2;
    }
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        DrawBeam(p);
        DrawDome(p);
        DrawHull(p);
        DrawLights(p);
    }
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
