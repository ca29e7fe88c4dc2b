#include "platform/gdi/gdi_api.h"

HDC CreateCompatibleDC(HDC dc) {
  auto* memory = new CDC;
  memory->CreateCompatibleDC(dc);
  memory->m_bDeleteWithHandle = true;
  return memory;
}

BOOL DeleteDC(HDC dc) {
  if (!dc) return FALSE;
  if (dc->m_bDeleteWithHandle) {
    delete dc;
    return TRUE;
  }
  return dc->DeleteDC();
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return dc ? dc->SelectObject(object) : nullptr; }

BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size) {
  if (!dc || !size || (!text && length > 0)) return FALSE;
  *size = dc->GetTextExtent(text, length);
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop) {
  return dest && dest->BitBlt(x, y, width, height, source, xSrc, ySrc, rop);
}
