// Regions: sets of whole pixels. A rectangle region (l, t, r, b) holds the
// pixels l..r-1 and t..b-1; round and polygon regions follow the same rule.
#pragma once

#include "platform/gdi/gdi_object.h"

class CRgn : public CGdiObject {
 public:
  CRgn() = default;
  BOOL CreateRectRgn(int l, int t, int r, int b);
  BOOL CreateRoundRectRgn(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight);
  BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
  int CombineRgn(const CRgn* a, const CRgn* b, int mode);
  int OffsetRgn(int dx, int dy);
  int GetRgnBox(LPRECT rect) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
  BOOL EqualRgn(const CRgn* other) const;
  const QRegion& Region() const;
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }  // NOLINT
  static CRgn* FromHandle(HRGN handle);
};

// The region type of a pixel set: NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionType(const QRegion& region);
