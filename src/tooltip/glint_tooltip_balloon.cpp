// The balloon's region, its drop shadow, its background and the border.
#include "tooltip/balloon_shape.h"
#include "tooltip/glint_tooltip.h"

CRect CGlintTooltip::CreateBalloonRegion(CRgn& rgn, int nWidth, int nHeight, POINT ptAnchor) {
  CPoint anchor(ptAnchor);
  if (GetSafeHwnd() != nullptr) ScreenToClient(&anchor);
  const DWORD styles = m_tiCurrent.nStyles;
  BalloonShapeInput in;
  in.width = nWidth;
  in.height = nHeight;
  in.anchor = anchor;
  in.direction = m_nCurrentDirection;
  in.withAnchor = (styles & TTSTYLE_ANCHOR) != 0;
  in.rounded = (styles & TTSTYLE_ROUNDED) != 0;
  in.anchorWidth = m_nSizes[TTSIZE_ANCHOR_CX];
  in.anchorHeight = m_nSizes[TTSIZE_ANCHOR_CY];
  in.anchorMargin = m_nSizes[TTSIZE_ANCHOR_MARGIN];
  const BalloonShape shape = CalcBalloonShape(in);

  // The + 1 makes the body cover its own right and bottom edges.
  const CRect& b = shape.body;
  CRgn body;
  if (in.rounded)
    body.CreateRoundRectRgn(b.left, b.top, b.right + 1, b.bottom + 1, m_nSizes[TTSIZE_ROUNDED_CX],
                            m_nSizes[TTSIZE_ROUNDED_CY]);
  else
    body.CreateRectRgn(b.left, b.top, b.right + 1, b.bottom + 1);
  CRgn anchorRgn;
  if (shape.hasAnchor) anchorRgn.CreatePolygonRgn(shape.triangle, 3, ALTERNATE);
  else anchorRgn.CreateRectRgn(0, 0, 0, 0);
  if (rgn.GetSafeHandle() == nullptr) rgn.CreateRectRgn(0, 0, 0, 0);
  rgn.CombineRgn(&body, &anchorRgn, RGN_OR);
  return shape.body;
}

void CGlintTooltip::DrawShadow(CDC* pDC) {
  CBrush brush(m_crColors[TTCOLOR_SHADOW]);
  const int previous = pDC->SetROP2(R2_MASKPEN);
  pDC->FillRgn(&m_rgnShadow, &brush);
  pDC->SetROP2(previous);
}

void CGlintTooltip::FillGradient(CDC* pDC, CRect rect, COLORREF crFrom, COLORREF crTo,
                                 BOOL bHorizontal) {
  for (const GradientBand& band : CalcGradientBands(rect, crFrom, crTo, bHorizontal)) {
    CBrush brush(band.colour);
    pDC->FillRect(&band.rect, &brush);
  }
}

void CGlintTooltip::FillBackground(CDC* pDC, CRect rect) {
  // Solid and gradient fills use the tooltip-wide colours; a tool's own
  // colours reach only the textures.
  const COLORREF c1 = m_crColors[TTCOLOR_BK1];
  const COLORREF c2 = m_crColors[TTCOLOR_BK2];
  const COLORREF c3 = m_crColors[TTCOLOR_BK3];
  const int midX = rect.left + (rect.right - rect.left) / 2;
  const int midY = rect.top + (rect.bottom - rect.top) / 2;
  const CRect left(rect.left, rect.top, midX, rect.bottom);
  const CRect right(midX, rect.top, rect.right, rect.bottom);
  const CRect top(rect.left, rect.top, rect.right, midY);
  const CRect bottom(rect.left, midY, rect.right, rect.bottom);
  const int effect = m_tiCurrent.nEffect;
  switch (effect) {
    case 1: FillGradient(pDC, rect, c1, c3, TRUE); break;
    case 2: FillGradient(pDC, rect, c1, c3, FALSE); break;
    case 3:
      FillGradient(pDC, left, c1, c3, TRUE);
      FillGradient(pDC, right, c3, c1, TRUE);
      break;
    case 4:
      FillGradient(pDC, top, c1, c3, FALSE);
      FillGradient(pDC, bottom, c3, c1, FALSE);
      break;
    case 5:
      FillGradient(pDC, left, c1, c2, TRUE);
      FillGradient(pDC, right, c2, c3, TRUE);
      break;
    case 6:
      FillGradient(pDC, top, c1, c2, FALSE);
      FillGradient(pDC, bottom, c2, c3, FALSE);
      break;
    default:
      if (effect >= 7 && effect <= 15) m_dibBackground.Draw(pDC, 0, 0);
      else pDC->FillSolidRect(&rect, c1);
      break;
  }
}
