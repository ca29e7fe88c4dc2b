// The packed bitmap header at the start of a device-independent bitmap:
// 40 bytes, little-endian, as the bitmap file and DIB formats lay it out.
#pragma once

#include "platform/gdi/geometry.h"

#ifndef BI_RGB
#define BI_RGB 0
#endif

#pragma pack(push, 2)
struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
#pragma pack(pop)
