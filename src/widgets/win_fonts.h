// The fonts of the drawn widgets, named as on Windows and mapped to metric-compatible Linux
// families: Arial -> Liberation Sans, Consolas -> DejaVu Sans Mono, Georgia -> DejaVu Serif.
#pragma once

#include <QFont>
#include <QString>

// The Linux family that stands in for a Windows font family (unknown names pass through).
QString LinuxFontFamily(const QString& windowsFamily);

// A font as a Windows LOGFONT would ask for it. A negative height is the character height in
// pixels; a positive height is the cell height, which becomes the largest pixel size whose line
// height still fits in it. 0 keeps the family's default size.
QFont WinFont(const QString& windowsFamily, int height, bool bold = false);

// `font`, made smaller when `text` would be wider than `width` pixels (a gauge cell of a narrow
// window), so the text shows whole instead of clipped; never below `minimumPixels`.
QFont FontFittingWidth(const QFont& font, const QString& text, int width, int minimumPixels = 8);
