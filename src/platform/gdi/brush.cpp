#include "platform/gdi/brush.h"

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* brush = new BrushData;
  brush->color = color & 0xFFFFFF;
  return brush;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }

CBrush* CBrush::FromHandle(HBRUSH handle) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(handle));
}
