#include "glow_text.h"

#include "win_fonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kGlowWidths = 8;
// Beyond the glyph outlines: half the widest glow stroke, the outline's miter and antialiasing.
constexpr int kLayerMargin = 8;

QBrush RepeatingGradient(QPointF from, QPointF to, const QColor& start, const QColor& end) {
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    gradient.setSpread(QGradient::RepeatSpread);
    return QBrush(gradient);
}

int ClampedChannel(float value) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

} // namespace

const GlowStyle kLabelGlow = {QColor(215, 215, 215, 155), QColor(160, 80, 2, 80),   0,  90,
                              QColor(190, 220, 24, 200),  QColor(195, 120, 0, 255), 10, 40,
                              QColor(255, 188, 0, 255),   QColor(255, 1, 1, 150)};
const GlowStyle kCaptionGlow = {QColor(215, 215, 215, 155), QColor(10, 150, 220, 80),  0,  90,
                                QColor(20, 120, 240, 200),  QColor(20, 120, 240, 255), 10, 120,
                                QColor(80, 188, 250, 255),  QColor(80, 80, 155, 150)};

const ColorMatrix kGrayScaleMatrix = {
    {0.3f, 0.3f, 0.3f, 0, 0}, {0.59f, 0.59f, 0.59f, 0, 0}, {0.11f, 0.11f, 0.11f, 0, 0}, {0, 0, 0, 1, 0},
    {0, 0, 0, 0, 1},
};

QPainterPath GlowTextPath(const QString& text, qreal x, qreal y, int emSize) {
    const QFont font = WinFont(QStringLiteral("Arial"), -emSize);
    QPainterPath path;
    // addText places the baseline at the point; the layout origin is the top of the line.
    path.addText(QPointF(x, y + QFontMetricsF(font).ascent()), font, text.left(kGlowTextMaxChars));
    return path;
}

void DrawGlowPath(QPainter& painter, const QPainterPath& path, const GlowStyle& style) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.strokePath(path, QPen(style.outline, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (int width = 1; width <= kGlowWidths; ++width)
        painter.strokePath(path, QPen(style.glow, width, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    painter.fillPath(path, RepeatingGradient(QPointF(0, style.fill1Y0), QPointF(0, style.fill1Y1),
                                             style.fill1Start, style.fill1End));
    painter.fillPath(path, RepeatingGradient(QPointF(0, style.fill2Y0), QPointF(0, style.fill2Y1),
                                             style.fill2Start, style.fill2End));
    painter.restore();
}

void DrawGlowText(QPainter& painter, const QString& text, qreal x, qreal y, int emSize,
                  const GlowStyle& style) {
    if (text.isEmpty()) return;
    DrawGlowPath(painter, GlowTextPath(text, x, y, emSize), style);
}

QImage RenderGlowLayer(const QString& text, int x, int y, int emSize, QPoint* topLeft) {
    const QPainterPath path = GlowTextPath(text, x, y, emSize);
    const QRect area = path.boundingRect().toAlignedRect().adjusted(-kLayerMargin, -kLayerMargin,
                                                                    kLayerMargin, kLayerMargin);
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if (!path.isEmpty()) {
        QPainter painter(&layer);
        // Drawn in the label's own coordinates so that the fixed gradients land where they would.
        painter.translate(-area.topLeft());
        DrawGlowPath(painter, path);
    }
    if (topLeft) *topLeft = area.topLeft();
    return layer;
}

void GlowTextCache::Draw(QPainter& painter, const QString& text, int x, int y, int emSize) {
    if (text.isEmpty()) return;
    // A scaled or rotated painter would resample the layer: draw such a text directly.
    const QTransform& transform = painter.worldTransform();
    const bool wholePixels = transform.type() <= QTransform::TxTranslate &&
                             transform.dx() == int(transform.dx()) && transform.dy() == int(transform.dy()) &&
                             painter.device() && painter.device()->devicePixelRatio() == 1;
    if (!wholePixels || m_capacity == 0) {
        DrawGlowText(painter, text, x, y, emSize);
        return;
    }
    auto found = m_layers.begin();
    while (found != m_layers.end() &&
           !(found->x == x && found->y == y && found->emSize == emSize && found->text == text))
        ++found;
    if (found == m_layers.end()) {
        Layer layer{text, x, y, emSize, QPoint(), QImage()};
        layer.image = RenderGlowLayer(text, x, y, emSize, &layer.topLeft);
        m_layers.push_front(std::move(layer));
        if (m_layers.size() > m_capacity) m_layers.pop_back();
    } else if (found != m_layers.begin()) {
        m_layers.splice(m_layers.begin(), m_layers, found);
    }
    painter.drawImage(m_layers.front().topLeft, m_layers.front().image);
}

void ApplyColorMatrix(QImage& image, const ColorMatrix& m) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_ARGB32) image = image.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            const QRgb pixel = line[column];
            const float in[5] = {qRed(pixel) / 255.0f, qGreen(pixel) / 255.0f, qBlue(pixel) / 255.0f,
                                 qAlpha(pixel) / 255.0f, 1.0f};
            int out[4];
            for (int j = 0; j < 4; ++j) {
                float sum = 0;
                for (int i = 0; i < 5; ++i)
                    sum += in[i] * m[i][j];
                out[j] = ClampedChannel(sum * 255.0f);
            }
            line[column] = qRgba(out[0], out[1], out[2], out[3]);
        }
    }
}

QImage ColorMatrixApplied(const QImage& image, const ColorMatrix& m) {
    QImage copy = image;
    ApplyColorMatrix(copy, m);
    return copy;
}
