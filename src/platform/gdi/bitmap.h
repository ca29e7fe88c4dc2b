// Bitmaps: compatible bitmaps for memory DCs, bitmaps made from pixels,
// and DIB sections whose pixel bytes the program writes directly.
#pragma once

#include "platform/gdi/gdi_object.h"

class CBitmap : public CGdiObject {
 public:
  CBitmap() = default;
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* info) const;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT
  static CBitmap* FromHandle(HBITMAP handle);
};

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 1, 8, 24 or 32 bits per pixel; a positive height stores the rows
// bottom-up. *bits receives the pixel memory, owned by the section.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                         void* section, DWORD offset);
// A bitmap holding the given pixels (for resources and tests).
HBITMAP CreateBitmapFromImage(const QImage& image);
