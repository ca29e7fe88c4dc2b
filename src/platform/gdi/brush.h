// Solid and hollow brushes.
#pragma once

#include "platform/gdi/gdi_object.h"

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  BOOL CreateSolidBrush(COLORREF color);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
  static CBrush* FromHandle(HBRUSH handle);
};

HBRUSH CreateSolidBrush(COLORREF color);
