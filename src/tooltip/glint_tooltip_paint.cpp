// Painting: the tip is composed off-screen over a copy of the screen
// beneath it, then copied to the window in one transfer, so it never flickers.
#include "platform/ui/window_dc.h"
#include "tooltip/glint_tooltip.h"

void CGlintTooltip::OnPaint() {
  CPaintDC dc(this);  // validates the window even when nothing is drawn
  if (!IsValidTool(m_nNextTool)) return;
  m_nDisplayedTool = m_nNextTool;
  m_nNextTool = -1;

  CRect r;
  GetClientRect(&r);
  r.right -= 1;
  r.bottom -= 1;
  CDC memDC;
  memDC.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, r.Width(), r.Height());
  CBitmap* previous = memDC.SelectObject(&bitmap);
  // No background brush and no erasing: these are the pixels beneath the
  // tip, the backdrop of its shadow.
  memDC.BitBlt(0, 0, r.Width(), r.Height(), &dc, 0, 0, SRCCOPY);
  OnDraw(&memDC, r);
  dc.BitBlt(0, 0, r.Width(), r.Height(), &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(previous);
}

void CGlintTooltip::OnDraw(CDC* pDC, CRect r) {
  const DWORD styles = m_tiCurrent.nStyles;
  pDC->SetBkMode(TRANSPARENT);
  if (styles & TTSTYLE_SHADOW) {
    DrawShadow(pDC);
    r.right -= m_nSizes[TTSIZE_SHADOW_CX];
    r.bottom -= m_nSizes[TTSIZE_SHADOW_CY];
  }
  pDC->SelectClipRgn(&m_rgnBalloon);
  FillBackground(pDC, r);
  CBrush border(m_crColors[TTCOLOR_BORDER]);
  pDC->FrameRgn(&m_rgnBalloon, &border, m_nSizes[TTSIZE_BORDER_CX], m_nSizes[TTSIZE_BORDER_CY]);

  const int marginX = m_nSizes[TTSIZE_MARGIN_CX];
  r.DeflateRect(marginX, m_nSizes[TTSIZE_MARGIN_CY]);
  if (m_nCurrentDirection == 2 || m_nCurrentDirection == 3) r.top += m_nSizes[TTSIZE_ANCHOR_CY];
  else r.bottom -= m_nSizes[TTSIZE_ANCHOR_CY];

  if (m_tiCurrent.hIcon != nullptr) {
    int y = r.top;
    if (styles & TTSTYLE_ICON_VCENTER) y = r.top + (r.bottom - m_szIcon.cy - r.top) / 2;
    else if (styles & TTSTYLE_ICON_BOTTOM) y = r.bottom - m_szIcon.cy;
    pDC->DrawState(CPoint(marginX, y), m_szIcon, m_tiCurrent.hIcon, DST_ICON);
    r.left += marginX + m_szIcon.cx;
  }
  if (styles & TTSTYLE_TEXT_BOTTOM) r.top = r.bottom - m_szText.cy;
  else if (styles & TTSTYLE_TEXT_VCENTER) r.top += (r.bottom - m_szText.cy - r.top) / 2;
  DrawMarkup(pDC, r, m_tiCurrent.strText, FALSE);
}
