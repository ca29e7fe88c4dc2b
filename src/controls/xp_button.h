// CXPButton: an owner-drawn push button with a light rounded look. A thin
// black rounded outline, a body in a 64-step vertical gradient from white
// to a pale blue-grey, an orange frame while the mouse rests over it, the
// caption shifted one pixel while pressed and embossed while disabled, and
// a dotted focus rectangle inside the frame while it has the keyboard focus.
#pragma once

#include "platform/gdi/dc.h"
#include "platform/ui/button.h"

class CXPButton : public CButton {
 public:
  CXPButton();
  ~CXPButton() override;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void PreSubclassWindow() override;
  void OnMouseMove(UINT nFlags, CPoint point) override;
  LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam) override;

 protected:
  void DrawGradient(CDC* pDC, CRect rect);
  void DrawHoverFrame(CDC* pDC, CRect rect);
  void DrawFocusMark(CDC* pDC, CRect rect);

  CPen m_penBorder;
  CPen m_penHoverLeft;
  CPen m_penHoverTop;
  CPen m_penHoverRight;
  CPen m_penHoverBottom;
  BOOL m_bHover = FALSE;
  BOOL m_bTracking = FALSE;
  BOOL m_bFocus = FALSE;
};
