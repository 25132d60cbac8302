// Where the window picture goes on the printed page, without a printer: plain geometry.
#pragma once

#include <QRect>
#include <QSize>

// The picture keeps its proportions and fills the printable width (when it is relatively wider than
// the printable area) or height, starting at the printable area's corner. printable is the page's
// printable area in device pixels, placed on the paper. Empty for an empty picture or area.
// A 1250 x 560 picture on a 4800 x 6600 area is printed 4800 x 2150.
QRect PrintTargetRect(QSize picture, QRect printable);
