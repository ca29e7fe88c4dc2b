// Solid and hollow brushes.
#pragma once

#include "platform/gdi/gdi_object.h"

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateSysColorBrush(int index);
  BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
  int GetLogBrush(LOGBRUSH* logBrush) const;
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
  static CBrush* FromHandle(HBRUSH handle);
};

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH GetSysColorBrush(int index);
