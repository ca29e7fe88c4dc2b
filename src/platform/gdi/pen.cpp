#include "platform/gdi/pen.h"

HPEN CreatePen(int style, int width, COLORREF color) {
  auto* pen = new PenData;
  pen->style = style;
  pen->width = width < 1 ? 1 : width;  // 0 is the one-pixel cosmetic pen
  pen->color = color & 0xFFFFFF;
  return pen;
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  return Attach(::CreatePen(style, width, color));
}

CPen* CPen::FromHandle(HPEN handle) { return static_cast<CPen*>(CGdiObject::FromHandle(handle)); }
