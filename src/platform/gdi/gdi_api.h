// The handle-based GDI functions, for code that works with HDC and handles
// rather than with the wrapper classes. Each forwards to the wrappers.
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

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
int SetROP2(HDC dc, int mode);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);
int SelectClipRgn(HDC dc, HRGN region);
int GetDeviceCaps(HDC dc, int index);

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Rectangle(HDC dc, int l, int t, int r, int b);
BOOL RoundRect(HDC dc, int l, int t, int r, int b, int ellipseWidth, int ellipseHeight);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);

BOOL TextOut(HDC dc, int x, int y, const char* text, int length);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc,
            DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop);

BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker,
                UINT flags);
// Without a callback: lData is the icon (DST_ICON) or the text (DST_TEXT,
// DST_PREFIXTEXT, wData its length or 0).
using DRAWSTATEPROC = BOOL (*)(HDC, LPARAM, WPARAM, int, int);
BOOL DrawState(HDC dc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM lData, WPARAM wData, int x,
               int y, int cx, int cy, UINT flags);
