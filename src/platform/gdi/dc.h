// CDC: a device context with the Windows drawing model. It holds the
// selected pen, brush, font and bitmap, the colours and modes, the clip
// region and the current position, and draws with Windows' pixel rules:
// rectangles leave out their right and bottom edges, LineTo leaves out its
// end point, PS_INSIDEFRAME pens stay inside the figure, nothing is
// antialiased.
//
// A DC draws either into the bitmap selected into it (memory DCs), into an
// image attached by its owner, or through a painter attached by its owner
// (the window DCs paint a widget this way).
#pragma once

#include <QPainter>
#include <functional>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/font.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/rgn.h"
#include "platform/text/cstring.h"

class CDC {
 public:
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;  // this DC once it can draw, else null

  static CDC* FromHandle(HDC dc) { return dc; }
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }  // NOLINT

  // A memory DC; it starts with a 1 x 1 bitmap selected.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();

  // Drawing targets supplied by the owner; both stay owned by the caller
  // and must outlive the attachment. Detach before they go.
  void AttachImage(QImage* image);
  void AttachPainter(QPainter* painter);
  void DetachTarget();

  // Selection returns the previously selected object.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  int SelectObject(CRgn* region);  // selects a copy as clip region
  CGdiObject* SelectObject(CGdiObject* object);
  HGDIOBJ SelectObject(HGDIOBJ object);
  CGdiObject* SelectStockObject(int index);
  HPEN CurrentPen() const { return m_state.pen; }

  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const { return m_state.textColor; }
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return m_state.bkColor; }
  int SetBkMode(int mode);
  int GetBkMode() const { return m_state.bkMode; }
  int SetROP2(int mode);
  CPoint SetViewportOrg(int x, int y);
  CPoint GetViewportOrg() const { return m_state.viewportOrg; }

  int SaveDC();
  BOOL RestoreDC(int savedDC);  // negative: relative to the latest save

  // Clipping, in logical coordinates. A null region removes the clipping.
  int SelectClipRgn(CRgn* region);
  int SelectClipRgn(CRgn* region, int mode);
  int GetClipBox(LPRECT rect) const;

  // Lines with the current pen.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  CPoint GetCurrentPosition() const { return m_state.position; }

  // Closed figures: outlined with the pen, filled with the brush.
  BOOL Rectangle(int l, int t, int r, int b);
  BOOL Rectangle(LPCRECT rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
  BOOL RoundRect(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight);
  BOOL RoundRect(LPCRECT rect, POINT ellipse);

  // Area fills; they ignore the pen and the mix mode.
  void FillRect(LPCRECT rect, CBrush* brush);
  void FillRect(LPCRECT rect, HBRUSH brush);
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF GetPixel(int x, int y) const;

  // Regions: FillRgn uses the DC's mix mode, as the tooltip's shadow needs.
  BOOL FillRgn(CRgn* region, CBrush* brush);
  BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);

  // Text in the selected font; texts are code page 936 bytes. TextOut puts
  // the top-left corner of the text cell at (x, y).
  BOOL TextOut(int x, int y, const CString& text);
  BOOL TextOut(int x, int y, const char* text, int length);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  CSize GetTextExtent(const CString& text) const;
  CSize GetTextExtent(const char* text, int length) const;
  BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

  // DST_TEXT / DST_PREFIXTEXT, optionally DSS_DISABLED (embossed).
  BOOL DrawState(CPoint pt, CSize size, const char* text, UINT flags, BOOL prefixText = TRUE,
                 int textLength = 0, HBRUSH brush = nullptr);
  // DST_ICON; a zero size draws the icon at its own size.
  BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
  BOOL DrawIcon(int x, int y, HICON icon);
  BOOL DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags);

  // Block transfers from another DC (SRCCOPY, SRCAND, SRCPAINT, SRCINVERT,
  // BLACKNESS, WHITENESS). Stretching takes the nearest source pixel.
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, DWORD rop);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

 protected:
  // The pixels under a device rectangle, for block transfers out of this
  // DC. Window DCs override it when their surface cannot be read back.
  virtual QImage ReadPixels(const QRect& deviceRect) const;
  // Size of the drawing surface in device pixels.
  virtual QSize SurfaceSize() const;

 private:
  struct State {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    bool hasClip = false;
    QRegion clip;  // device coordinates
    CPoint position;
    CPoint viewportOrg;
  };

  using PaintStep = std::function<void(QPainter&)>;
  // Runs a step on a painter set up for the target, with the viewport
  // origin applied and the clip region set; false when there is nowhere to
  // draw. Memory DCs write the pixels back to DIB sections afterwards.
  bool Paint(const PaintStep& step);
  void FillPixels(const QRegion& logical, COLORREF color, int rop2);
  // A closed figure: its outline in the pen, the rest in the brush.
  void DrawFigure(const QRegion& shape);
  // The pixel box of a figure for the current pen (see Rectangle).
  CRect FigureBox(int l, int t, int r, int b) const;
  void DrawTextRun(int x, int y, const QString& text, COLORREF color, bool opaque);
  void DrawPrefixText(int x, int y, const QString& text, COLORREF color, const QRect& clip);
  BOOL Transfer(const QRect& target, const QImage& pixels, DWORD rop);
  void SelectDefaults();
  void Retain(const State& state);
  void Release(const State& state);
  HGDIOBJ Swap(HGDIOBJ next);
  QImage SurfaceImage() const;
  QFont CurrentQFont() const;

  State m_state;
  std::vector<State> m_saved;
  QImage* m_targetImage = nullptr;
  QPainter* m_targetPainter = nullptr;
  bool m_bMemoryDC = false;
  bool m_bDeleteWithHandle = false;  // made by the handle function CreateCompatibleDC
  HBITMAP m_defaultBitmap = nullptr;

  friend HDC CreateCompatibleDC(HDC dc);
  friend BOOL DeleteDC(HDC dc);
};
