// Pixel sets of the shapes the DC draws, with Windows' rules: a figure
// bounded by (l, t, r, b) covers the pixels l..r-1 and t..b-1, and a curve
// takes the pixels whose centres it encloses, so shapes are symmetric.
#pragma once

#include <QRegion>

#include "platform/gdi/geometry.h"

namespace raster {

// A rectangle whose corners are quarters of an ellipse of the given size
// (clamped to the rectangle).
QRegion RoundRect(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight);
// What stays of a shape after taking away everything within dx pixels of
// its left or right border or dy of its top or bottom border.
QRegion Shrink(const QRegion& shape, int dx, int dy);
// The band of width dx / height dy just inside the shape's border.
QRegion Frame(const QRegion& shape, int dx, int dy);
// A one-pixel line from one point toward another, the end point left out.
QRegion ThinLine(CPoint from, CPoint to);
// A line drawn with a square pen of the given width, centred on the thin
// line (for even widths the extra pixel lies up and left).
QRegion WideLine(CPoint from, CPoint to, int width);

}  // namespace raster
