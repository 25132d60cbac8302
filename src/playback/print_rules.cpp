#include "print_rules.h"

#include <cstdint>

QRect PrintTargetRect(QSize picture, QRect printable) {
    const int64_t w = picture.width(), h = picture.height();
    const int64_t R = printable.width(), V = printable.height();
    if (w <= 0 || h <= 0 || R <= 0 || V <= 0) return {};
    // w / h > R / V without division; the filled side is the page's own length, the other one is
    // truncated in whole numbers (a scale in doubles could lose a pixel: 1250 * (4800 / 1250.0)).
    if (w * V > R * h) return {printable.topLeft(), QSize(int(R), int(h * R / w))};
    return {printable.topLeft(), QSize(int(w * V / h), int(V))};
}
