// The device contexts of a window. During the window's painting they draw on
// its widget; elsewhere a window cannot be drawn on (as outside WM_PAINT the
// update region is empty), so they draw into a scratch image. CWindowDC of
// no window is the whole screen, read when it is made.
#pragma once

#include <QImage>
#include <memory>

#include "platform/text/cstring.h"  // before the DC, which uses it
#include "platform/gdi/dc.h"
#include "platform/ui/wnd.h"

class QPainter;

struct PAINTSTRUCT {
  CDC* hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint;
};

class CWindowSurfaceDC : public CDC {
 public:
  ~CWindowSurfaceDC() override;

 protected:
  // `area` is the window's part that the DC covers, in widget pixels;
  // `clipRing` keeps drawing off the client area (the frame of an edit box).
  void Open(CWnd* wnd, const QRect& area, bool clipRing);
  void OpenScreen();
  QImage ReadPixels(const QRect& deviceRect) const override;
  QSize SurfaceSize() const override;

  QWidget* m_pSurfaceWidget = nullptr;
  QRect m_area;

 private:
  void SelectWindowFont();

  std::unique_ptr<QPainter> m_painter;
  QImage m_scratch;
  CFont m_font;
  CFont* m_pOldFont = nullptr;
};

// BeginPaint/EndPaint of the window's client area.
class CPaintDC : public CWindowSurfaceDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps;
};

class CClientDC : public CWindowSurfaceDC {
 public:
  explicit CClientDC(CWnd* wnd);
};

// The whole window, border included; null: the screen.
class CWindowDC : public CWindowSurfaceDC {
 public:
  explicit CWindowDC(CWnd* wnd);
};
