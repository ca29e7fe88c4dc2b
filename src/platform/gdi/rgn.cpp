#include "platform/gdi/rgn.h"

#include <QPolygon>

#include "platform/gdi/raster_shapes.h"

int RegionType(const QRegion& region) {
  if (region.isEmpty()) return NULLREGION;
  return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The region handles behind CRgn, which is their only surface.
namespace {

HRGN NewRegion(const QRegion& pixels) {
  auto* region = new RgnData;
  region->region = pixels;
  return region;
}

QRegion Combined(const QRegion& a, const QRegion& b, int mode) {
  switch (mode) {
    case RGN_AND: return a & b;
    case RGN_OR: return a | b;
    case RGN_XOR: return a ^ b;
    case RGN_DIFF: return a - b;
    case RGN_COPY: return a;
    default: return a;
  }
}

bool KnownMode(int mode) { return mode >= RGN_AND && mode <= RGN_COPY; }

HRGN CreateRectRgn(int l, int t, int r, int b) {
  return NewRegion(QRegion(QRect(QPoint(std::min(l, r), std::min(t, b)),
                                 QSize(std::abs(r - l), std::abs(b - t)))));
}

HRGN CreateRoundRectRgn(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight) {
  return NewRegion(raster::RoundRect(l, t, r, b, ellipseWidth, ellipseHeight));
}

// Scan conversion of the polygon by pixel centres, so the pixels right of
// and below the outline stay outside, as for rectangles.
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 3) return NewRegion(QRegion());
  QPolygon polygon;
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
  return NewRegion(QRegion(polygon, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  if (!dest || !a || !KnownMode(mode) || (mode != RGN_COPY && !b)) return ERROR;
  dest->region = Combined(a->region, b ? b->region : QRegion(), mode);
  return RegionType(dest->region);
}

int OffsetRgn(HRGN region, int dx, int dy) {
  if (!region) return ERROR;
  region->region.translate(dx, dy);
  return RegionType(region->region);
}

int GetRgnBox(HRGN region, LPRECT rect) {
  if (!region || !rect) return ERROR;
  const QRect box = region->region.boundingRect();
  *rect = region->region.isEmpty() ? RECT{}
                                   : RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
  return RegionType(region->region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
  return region && region->region.contains(QPoint(x, y));
}

}  // namespace

BOOL CRgn::CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }

BOOL CRgn::CreateRoundRectRgn(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight) {
  return Attach(::CreateRoundRectRgn(l, t, r, b, ellipseWidth, ellipseHeight));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  return Attach(::CreatePolygonRgn(points, count, fillMode));
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
  return ::CombineRgn(static_cast<HRGN>(m_hObject), a ? static_cast<HRGN>(a->m_hObject) : nullptr,
                      b ? static_cast<HRGN>(b->m_hObject) : nullptr, mode);
}

int CRgn::OffsetRgn(int dx, int dy) { return ::OffsetRgn(static_cast<HRGN>(m_hObject), dx, dy); }

int CRgn::GetRgnBox(LPRECT rect) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), rect); }

BOOL CRgn::PtInRegion(int x, int y) const {
  return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y);
}

BOOL CRgn::EqualRgn(const CRgn* other) const {
  return other && m_hObject && other->m_hObject && Region() == other->Region();
}

const QRegion& CRgn::Region() const {
  static const QRegion empty;
  auto* region = static_cast<HRGN>(m_hObject);
  return region ? region->region : empty;
}

CRgn* CRgn::FromHandle(HRGN handle) { return static_cast<CRgn*>(CGdiObject::FromHandle(handle)); }
