#include "platform/gdi/brush.h"

#include "platform/gdi/system_metrics.h"

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* brush = new BrushData;
  brush->color = color & 0xFFFFFF;
  return brush;
}

// Windows keeps one brush per system colour for the whole run.
HBRUSH GetSysColorBrush(int index) {
  static std::vector<HBRUSH> brushes(32, nullptr);
  if (index < 0 || index >= static_cast<int>(brushes.size())) return nullptr;
  if (!brushes[index]) {
    brushes[index] = CreateSolidBrush(GetSysColor(index));
    brushes[index]->stock = true;
  }
  return brushes[index];
}

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }

BOOL CBrush::CreateSysColorBrush(int index) {
  if (index < 0 || index >= 32) return FALSE;
  return CreateSolidBrush(GetSysColor(index));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush) {
  if (!logBrush) return FALSE;
  if (logBrush->lbStyle == BS_NULL) {
    auto* brush = new BrushData;
    brush->hollow = true;
    return Attach(brush);
  }
  return CreateSolidBrush(logBrush->lbColor);
}

int CBrush::GetLogBrush(LOGBRUSH* logBrush) const {
  return GetObject(sizeof(LOGBRUSH), logBrush);
}

CBrush* CBrush::FromHandle(HBRUSH handle) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(handle));
}
