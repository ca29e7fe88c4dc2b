// Block transfers and icons.
#include "platform/gdi/dc.h"

namespace {

QPainter::CompositionMode ModeFor(DWORD rop) {
  switch (rop) {
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    default: return QPainter::CompositionMode_Source;
  }
}

bool NeedsSource(DWORD rop) { return rop == SRCCOPY || rop == SRCAND || rop == SRCPAINT || rop == SRCINVERT; }

}  // namespace

BOOL CDC::Transfer(const QRect& target, const QImage& pixels, DWORD rop) {
  return Paint([&](QPainter& painter) {
    painter.setCompositionMode(ModeFor(rop));
    painter.drawImage(target.topLeft(), pixels);
  });
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  if (!m_hDC) return FALSE;
  CRect box(x, y, x + width, y + height);
  box.NormalizeRect();
  const QRegion area(box.left, box.top, box.Width(), box.Height());
  if (rop == BLACKNESS) FillPixels(area, RGB(0, 0, 0), R2_COPYPEN);
  else if (rop == WHITENESS) FillPixels(area, RGB(255, 255, 255), R2_COPYPEN);
  else if (rop == PATCOPY && m_state.brush && !m_state.brush->hollow)
    FillPixels(area, m_state.brush->color, R2_COPYPEN);
  else return FALSE;
  return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
  if (!m_hDC) return FALSE;
  if (!NeedsSource(rop)) return PatBlt(x, y, width, height, rop);
  if (!source || !source->m_hDC || width <= 0 || height <= 0) return FALSE;
  const CPoint origin = source->GetViewportOrg();
  const QImage pixels = source->ReadPixels(QRect(xSrc + origin.x, ySrc + origin.y, width, height));
  return Transfer(QRect(x, y, width, height), pixels, rop);
}

namespace {

// A negative extent counts back from the start pixel itself: (1, -2)
// covers the pixels 0 and 1, as Windows mirrors.
CRect StretchBox(int x, int y, int width, int height) {
  const int left = width < 0 ? x + width + 1 : x;
  const int top = height < 0 ? y + height + 1 : y;
  return CRect(left, top, left + std::abs(width), top + std::abs(height));
}

}  // namespace

// Nearest-pixel stretching; a negative extent on one side mirrors.
BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop) {
  if (!m_hDC) return FALSE;
  if (!NeedsSource(rop)) return PatBlt(x, y, width, height, rop);
  if (!source || !source->m_hDC || !width || !height || !srcWidth || !srcHeight) return FALSE;
  const CPoint origin = source->GetViewportOrg();
  CRect from = StretchBox(xSrc, ySrc, srcWidth, srcHeight);
  from.OffsetRect(origin.x, origin.y);
  const CRect to = StretchBox(x, y, width, height);
  QImage pixels = source->ReadPixels(QRect(from.left, from.top, from.Width(), from.Height()));
  pixels = pixels.scaled(to.Width(), to.Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const bool flipX = (width < 0) != (srcWidth < 0);
  const bool flipY = (height < 0) != (srcHeight < 0);
  if (flipX || flipY) pixels = pixels.mirrored(flipX, flipY);
  return Transfer(QRect(to.left, to.top, to.Width(), to.Height()), pixels, rop);
}

BOOL CDC::DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags) {
  if (!m_hDC || !icon) return FALSE;
  const int width = cx > 0 ? cx : icon->image.width();
  const int height = cy > 0 ? cy : icon->image.height();
  QImage picture = icon->image;
  if ((flags & DI_NORMAL) == DI_MASK) {
    for (int py = 0; py < picture.height(); ++py)
      for (int px = 0; px < picture.width(); ++px)
        picture.setPixel(px, py, qAlpha(picture.pixel(px, py)) < 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  }
  if (picture.size() != QSize(width, height))
    picture = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return Paint([&](QPainter& painter) { painter.drawImage(QPoint(x, y), picture); });
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return DrawIconEx(x, y, icon, 0, 0, DI_NORMAL); }

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT, HBRUSH) {
  return DrawIconEx(pt.x, pt.y, icon, size.cx, size.cy, DI_NORMAL);
}
