// Pens: style, width and colour. PS_INSIDEFRAME pens keep closed figures
// inside their bounding rectangle however wide they are.
#pragma once

#include "platform/gdi/gdi_object.h"

class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  BOOL CreatePen(int style, int width, COLORREF color);
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT
  static CPen* FromHandle(HPEN handle);
};

HPEN CreatePen(int style, int width, COLORREF color);
