#include "platform/gdi/gdi_api.h"

#include <cstring>

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

COLORREF SetTextColor(HDC dc, COLORREF color) { return dc ? dc->SetTextColor(color) : 0; }
COLORREF GetTextColor(HDC dc) { return dc ? dc->GetTextColor() : 0; }
COLORREF SetBkColor(HDC dc, COLORREF color) { return dc ? dc->SetBkColor(color) : 0; }
int SetBkMode(HDC dc, int mode) { return dc ? dc->SetBkMode(mode) : 0; }
int SetROP2(HDC dc, int mode) { return dc ? dc->SetROP2(mode) : 0; }
int SaveDC(HDC dc) { return dc ? dc->SaveDC() : 0; }
BOOL RestoreDC(HDC dc, int savedDC) { return dc && dc->RestoreDC(savedDC); }
int SelectClipRgn(HDC dc, HRGN region) {
  return dc ? dc->SelectClipRgn(CRgn::FromHandle(region)) : ERROR;
}
int GetDeviceCaps(HDC dc, int index) { return dc ? dc->GetDeviceCaps(index) : 0; }

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  if (!dc) return FALSE;
  const CPoint old = dc->MoveTo(x, y);
  if (previous) *previous = old;
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) { return dc && dc->LineTo(x, y); }
BOOL Rectangle(HDC dc, int l, int t, int r, int b) { return dc && dc->Rectangle(l, t, r, b); }
BOOL RoundRect(HDC dc, int l, int t, int r, int b, int ellipseWidth, int ellipseHeight) {
  return dc && dc->RoundRect(l, t, r, b, ellipseWidth, ellipseHeight);
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!dc || !rect || !brush) return 0;
  dc->FillRect(rect, brush);
  return 1;
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  return dc && dc->FillRgn(CRgn::FromHandle(region), CBrush::FromHandle(brush));
}

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
  return dc && dc->FrameRgn(CRgn::FromHandle(region), CBrush::FromHandle(brush), width, height);
}

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) { return dc && dc->DrawEdge(rect, edge, flags); }

BOOL TextOut(HDC dc, int x, int y, const char* text, int length) {
  return dc && dc->TextOut(x, y, text, length);
}

BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size) {
  if (!dc || !size || (!text && length > 0)) return FALSE;
  *size = dc->GetTextExtent(text, length);
  return TRUE;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics) { return dc && dc->GetTextMetrics(metrics); }

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop) {
  return dest && dest->BitBlt(x, y, width, height, source, xSrc, ySrc, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop) {
  return dest && dest->StretchBlt(x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return dc && dc->DrawIcon(x, y, icon); }

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
  return dc && dc->DrawIconEx(x, y, icon, cx, cy, flags);
}

BOOL DrawState(HDC dc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM lData, WPARAM wData, int x,
               int y, int cx, int cy, UINT flags) {
  if (!dc) return FALSE;
  const UINT kind = flags & 0x000F;
  if (callback) return callback(dc, lData, wData, cx, cy);
  if (kind == DST_ICON)
    return dc->DrawState(CPoint(x, y), CSize(cx, cy), reinterpret_cast<HICON>(lData), flags, brush);
  if (kind == DST_TEXT || kind == DST_PREFIXTEXT) {
    const auto* text = reinterpret_cast<const char*>(lData);
    return dc->DrawState(CPoint(x, y), CSize(cx, cy), text, flags, kind == DST_PREFIXTEXT,
                         static_cast<int>(wData), brush);
  }
  return FALSE;
}
