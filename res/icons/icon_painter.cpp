// Draws the application icon (resource 131): a dash-camera lens on a dark tile with a red
// recording dot. Run at build time: icon_painter <output folder> <size>...; writes 131-<size>.png.
#include <QColor>
#include <QConicalGradient>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kCanvas = 256.0; // drawing units; scaled to each output size
const QPointF kCentre(128.0, 134.0);

void DrawTile(QPainter& p) {
    QLinearGradient fill(0, 0, 0, kCanvas);
    fill.setColorAt(0.0, QColor(52, 56, 66));
    fill.setColorAt(1.0, QColor(12, 13, 16));
    QPainterPath tile;
    tile.addRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
    p.fillPath(tile, fill);
    p.setPen(QPen(QColor(90, 96, 110), 3));
    p.drawPath(tile);
}

void DrawBarrel(QPainter& p) {
    QConicalGradient metal(kCentre, 45);
    metal.setColorAt(0.0, QColor(220, 224, 230));
    metal.setColorAt(0.25, QColor(96, 102, 112));
    metal.setColorAt(0.5, QColor(200, 204, 212));
    metal.setColorAt(0.75, QColor(70, 74, 82));
    metal.setColorAt(1.0, QColor(220, 224, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawEllipse(kCentre, 100, 100);

    // Grip ridges of the focus ring.
    p.setBrush(QColor(22, 23, 27));
    p.drawEllipse(kCentre, 88, 88);
    p.setPen(QPen(QColor(58, 62, 70), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 48; ++i) {
        const double a = i * 2.0 * M_PI / 48.0;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(kCentre + dir * 78.0, kCentre + dir * 86.0);
    }
}

void DrawGlass(QPainter& p) {
    QRadialGradient glass(kCentre + QPointF(-18, -20), 90);
    glass.setColorAt(0.0, QColor(84, 150, 240));
    glass.setColorAt(0.45, QColor(30, 52, 140));
    glass.setColorAt(0.85, QColor(10, 12, 40));
    glass.setColorAt(1.0, QColor(4, 4, 12));
    p.setPen(QPen(QColor(8, 8, 10), 4));
    p.setBrush(glass);
    p.drawEllipse(kCentre, 70, 70);

    QRadialGradient pupil(kCentre, 30);
    pupil.setColorAt(0.0, QColor(40, 16, 70));
    pupil.setColorAt(1.0, QColor(3, 3, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(pupil);
    p.drawEllipse(kCentre, 28, 28);
}

void DrawHighlights(QPainter& p) {
    p.save();
    p.translate(kCentre + QPointF(-30, -32));
    p.rotate(-35);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(0, 0), 20, 11);
    p.restore();
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(kCentre + QPointF(26, 28), 7, 7);
}

void DrawRecordingDot(QPainter& p) {
    QRadialGradient red(QPointF(208, 44), 20);
    red.setColorAt(0.0, QColor(255, 120, 110));
    red.setColorAt(1.0, QColor(200, 24, 24));
    p.setPen(QPen(QColor(20, 20, 24), 3));
    p.setBrush(red);
    p.drawEllipse(QPointF(212, 46), 16, 16);
}

QImage PaintIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    DrawTile(p);
    DrawBarrel(p);
    DrawGlass(p);
    DrawHighlights(p);
    DrawRecordingDot(p);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <size>...\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) return 1;
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size < 8 || size > 1024) return 2;
        const QString file = out.filePath(QStringLiteral("131-%1.png").arg(size));
        if (!PaintIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
