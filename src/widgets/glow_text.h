// The glowing label text of the top bar and the video pane caption, and colour matrices for
// pictures (grey roses, hover and disabled button faces).
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QString>

class QPainter;

// Longest text the renderer draws; longer texts are cut.
constexpr int kGlowTextMaxChars = 127;

// Glyph outlines of `text` in Arial (regular, `emSize` pixels), the top left corner of the text
// line at (x, y).
QPainterPath GlowTextPath(const QString& text, qreal x, qreal y, int emSize);

// Draws `text` with its light outline, eight glow strokes and the two gradient fills. The
// gradients are fixed in the painter's coordinates, not to the text, so texts drawn at different
// heights take different colours.
void DrawGlowText(QPainter& painter, const QString& text, qreal x, qreal y, int emSize);
// The same for a path already built by GlowTextPath (widgets that repaint often keep the path).
void DrawGlowPath(QPainter& painter, const QPainterPath& path);

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
