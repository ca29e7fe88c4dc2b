// The handle-based GDI functions the program's code calls with HDC and
// handles rather than through the wrapper classes. Each forwards to the
// wrappers.
#pragma once

#include "platform/gdi/dc.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/system_metrics.h"

// Memory DCs made here are deleted with DeleteDC.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
// BITMAP for bitmaps, LOGFONT for fonts, LOGPEN for pens, LOGBRUSH for
// brushes; returns the bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* buffer);

BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size);

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc,
            DWORD rop);
