// The glowing label text of the top bar and the video pane caption, and colour matrices for
// pictures (grey roses, hover and disabled button faces).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <list>

class QPainter;

// Longest text the renderer draws; longer texts are cut.
constexpr int kGlowTextMaxChars = 127;

// The colours of one glow: a light outline, the glow strokes and two repeating vertical gradient
// fills (each from y0 to y1 in the painter's coordinates, start colour to end colour).
struct GlowStyle {
    QColor outline;
    QColor glow;
    qreal fill1Y0, fill1Y1;
    QColor fill1Start, fill1End;
    qreal fill2Y0, fill2Y1;
    QColor fill2Start, fill2End;
};
// The amber glow of the top-bar labels and the blue glow of the video pane's caption.
extern const GlowStyle kLabelGlow;
extern const GlowStyle kCaptionGlow;

// Glyph outlines of `text` in Arial (regular, `emSize` pixels), the top left corner of the text
// line at (x, y).
QPainterPath GlowTextPath(const QString& text, qreal x, qreal y, int emSize);

// Draws `text` with its light outline, eight glow strokes and the two gradient fills. The
// gradients are fixed in the painter's coordinates, not to the text, so texts drawn at different
// heights take different colours.
void DrawGlowText(QPainter& painter, const QString& text, qreal x, qreal y, int emSize,
                  const GlowStyle& style = kLabelGlow);
// The same for a path already built by GlowTextPath (widgets that repaint often keep the path).
void DrawGlowPath(QPainter& painter, const QPainterPath& path, const GlowStyle& style = kLabelGlow);

// The finished glow picture of one text on a transparent layer; `topLeft` receives where it goes.
// Drawn over any background it gives the same pixels as DrawGlowText there.
QImage RenderGlowLayer(const QString& text, int x, int y, int emSize, QPoint* topLeft);

// Glow text is costly to stroke (nine antialiased strokes of the glyph outlines), while a label
// shows few distinct texts again and again (speeds, units, playback rates). A widget keeps one of
// these and draws through it: the finished layers of the last `capacity` texts are kept.
class GlowTextCache {
  public:
    explicit GlowTextCache(size_t capacity = 128) : m_capacity(capacity) {}
    void Draw(QPainter& painter, const QString& text, int x, int y, int emSize);
    size_t Size() const { return m_layers.size(); }

  private:
    struct Layer {
        QString text;
        int x, y, emSize;
        QPoint topLeft;
        QImage image;
    };
    std::list<Layer> m_layers; // most recently drawn first
    size_t m_capacity;
};

// A 5x5 colour matrix in row-vector form: [R G B A 1] x m, components in 0..1, row 4 the offsets.
using ColorMatrix = float[5][5];

// Each of red, green and blue becomes 0.3 R + 0.59 G + 0.11 B; alpha is kept.
extern const ColorMatrix kGrayScaleMatrix;

// Applies `m` to every pixel. The image is converted to non-premultiplied ARGB32 first (the
// matrix works on straight colours) and stays in that format; results are rounded and clamped to
// 0..255 (an offset of 0.05 adds 12.75, i.e. 13).
void ApplyColorMatrix(QImage& image, const ColorMatrix& m);

// A copy of `image` through `m`, in ARGB32.
QImage ColorMatrixApplied(const QImage& image, const ColorMatrix& m);
