#include "controls/flat_edit.h"

#include "platform/ui/window_dc.h"

// Both repaint the frame and the text in the new state.
void CFlatEdit::OnMouseHover() { RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); }

void CFlatEdit::OnMouseLeave() { RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE); }

// The whole non-client area is ours; the default border is never drawn.
void CFlatEdit::OnNcPaint() {
  CWindowDC dc(this);
  CRect rect;
  GetWindowRect(&rect);
  DrawBorder(&dc, rect.Width(), rect.Height());
}

void CFlatEdit::DrawBorder(CDC* pDC, int width, int height) {
  if (m_bHover) {
    pDC->Rectangle(0, 0, width, height);  // the window DC's black pen and white brush
    return;
  }
  CRect rect(0, 0, width, height);
  pDC->DrawEdge(&rect, EDGE_SUNKEN, BF_RECT | BF_FLAT);
}
