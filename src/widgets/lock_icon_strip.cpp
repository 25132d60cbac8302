#include "lock_icon_strip.h"

#include <QPainter>
#include <QPainterPath>

#include "win_fonts.h"

namespace {

constexpr QRgb kMagenta = qRgb(255, 0, 255);

void DrawPadlock(QPainter& painter, int left, const QString& letters) {
    painter.save();
    painter.translate(left, 0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(6, 2, 12, 14), 0, 180 * 16); // shackle
    painter.drawLine(QPointF(6, 9), QPointF(6, 11));
    painter.drawLine(QPointF(18, 9), QPointF(18, 11));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(214, 160, 32));
    painter.drawRoundedRect(QRectF(3, 10, 18, 13), 2, 2); // body
    painter.setPen(QColor(20, 20, 20));
    QFont font = WinFont("Arial", letters.size() > 1 ? 9 : 11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(3, 10, 18, 13), Qt::AlignCenter, letters);
    painter.restore();
}

} // namespace

std::array<QImage, kLockIconCount> SplitLockIconStrip(const QImage& strip) {
    std::array<QImage, kLockIconCount> icons;
    const QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < kLockIconCount; ++i) {
        if ((i + 1) * kLockIconSize > argb.width() || argb.height() < kLockIconSize) break;
        QImage icon = argb.copy(i * kLockIconSize, 0, kLockIconSize, kLockIconSize);
        for (int y = 0; y < icon.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
            for (int x = 0; x < icon.width(); ++x)
                if ((line[x] & 0x00FFFFFF) == (kMagenta & 0x00FFFFFF)) line[x] = qRgba(0, 0, 0, 0);
        }
        icons[static_cast<size_t>(i)] = icon;
    }
    return icons;
}

// Drawn smooth on a transparent picture, then flattened onto magenta: a pixel is either the
// key colour or opaque, so no pink fringe survives the cut.
QImage DrawLockIconStrip() {
    QImage drawing(kLockIconSize * kLockIconCount, kLockIconSize, QImage::Format_ARGB32);
    drawing.fill(Qt::transparent);
    {
        QPainter painter(&drawing);
        DrawPadlock(painter, 1 * kLockIconSize, QStringLiteral("G"));
        DrawPadlock(painter, 2 * kLockIconSize, QStringLiteral("M"));
        DrawPadlock(painter, 3 * kLockIconSize, QStringLiteral("GM"));
    }
    QImage strip(drawing.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x) {
            const QRgb pixel = drawing.pixel(x, y);
            strip.setPixel(x, y,
                           qAlpha(pixel) < 128 ? kMagenta : qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
        }
    return strip;
}
