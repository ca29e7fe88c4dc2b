#include "platform/gdi/raster_shapes.h"

#include <cmath>
#include <cstdlib>

namespace raster {
namespace {

// Leftmost pixel of row `row` of an ellipse filling a w x h box, counted
// from the box's left; the row's pixels run from there to w - that - 1.
int EllipseRowInset(int w, int h, int row) {
  const double radiusX = w / 2.0;
  const double radiusY = h / 2.0;
  const double dy = (row + 0.5 - radiusY) / radiusY;
  if (dy * dy >= 1.0) return w;
  const double halfWidth = radiusX * std::sqrt(1.0 - dy * dy);
  return std::max(0, static_cast<int>(std::ceil(radiusX - halfWidth - 0.5)));
}

}  // namespace

QRegion RoundRect(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  const int width = r - l;
  const int height = b - t;
  if (width <= 0 || height <= 0) return {};
  const int ew = std::clamp(ellipseWidth, 0, width);
  const int eh = std::clamp(ellipseHeight, 0, height);
  if (ew < 2 || eh < 2) return QRegion(l, t, width, height);
  QRegion shape;
  for (int row = 0; row < height; ++row) {
    const int fromEdge = std::min(row, height - 1 - row);
    int inset = 0;
    if (fromEdge < eh / 2) inset = EllipseRowInset(ew, eh, fromEdge);
    if (2 * inset < width) shape += QRect(l + inset, t + row, width - 2 * inset, 1);
  }
  return shape;
}

QRegion Shrink(const QRegion& shape, int dx, int dy) {
  QRegion kept = shape;
  kept &= shape.translated(dx, 0);
  kept &= shape.translated(-dx, 0);
  kept &= shape.translated(0, dy);
  kept &= shape.translated(0, -dy);
  return kept;
}

QRegion Frame(const QRegion& shape, int dx, int dy) { return shape - Shrink(shape, dx, dy); }

QRegion ThinLine(CPoint from, CPoint to) {
  QRegion pixels;
  const int dx = std::abs(to.x - from.x);
  const int dy = std::abs(to.y - from.y);
  const int stepX = from.x < to.x ? 1 : -1;
  const int stepY = from.y < to.y ? 1 : -1;
  if (dy == 0) {
    if (dx == 0) return pixels;
    const int left = stepX > 0 ? from.x : to.x + 1;
    return QRegion(left, from.y, dx, 1);
  }
  if (dx == 0) {
    const int top = stepY > 0 ? from.y : to.y + 1;
    return QRegion(from.x, top, 1, dy);
  }
  int x = from.x;
  int y = from.y;
  int error = dx - dy;
  while (x != to.x || y != to.y) {
    pixels += QRect(x, y, 1, 1);
    const int twice = 2 * error;
    if (twice > -dy) {
      error -= dy;
      x += stepX;
    }
    if (twice < dx) {
      error += dx;
      y += stepY;
    }
  }
  return pixels;
}

QRegion WideLine(CPoint from, CPoint to, int width) {
  if (width <= 1) return ThinLine(from, to);
  const int before = width / 2;
  QRegion band;
  for (const QRect& run : ThinLine(from, to)) {
    band += run.adjusted(-before, -before, width - 1 - before, width - 1 - before);
  }
  return band;
}

}  // namespace raster
