#include "controls/xp_button.h"

#include <array>

#include "platform/gdi/gdi_api.h"

namespace {

constexpr int kGradientSteps = 64;
constexpr int kCornerEllipse = 10;
constexpr int kFocusInset = 3;  // inside the hover frame's widest line
constexpr COLORREF kFocusColour = RGB(0, 0, 0);

// The divisors of the gradient: the mouse over the button makes it
// lighter, the focus bluer (or, with the mouse over, yellower).
struct GradientDivisors {
  int redGreen;
  int blue;
};

GradientDivisors DivisorsFor(bool hover, bool focus) {
  if (hover) return focus ? GradientDivisors{4, 3} : GradientDivisors{4, 5};
  return focus ? GradientDivisors{3, 4} : GradientDivisors{3, 5};
}

}  // namespace

CXPButton::CXPButton() {
  m_penBorder.CreatePen(PS_INSIDEFRAME, 1, RGB(0, 0, 0));
  m_penHoverLeft.CreatePen(PS_INSIDEFRAME, 3, RGB(250, 196, 88));
  m_penHoverTop.CreatePen(PS_INSIDEFRAME, 2, RGB(252, 210, 121));
  m_penHoverRight.CreatePen(PS_INSIDEFRAME, 3, RGB(251, 202, 106));
  m_penHoverBottom.CreatePen(PS_INSIDEFRAME, 2, RGB(229, 151, 0));
}

CXPButton::~CXPButton() {
  m_penBorder.DeleteObject();
  m_penHoverLeft.DeleteObject();
  m_penHoverTop.DeleteObject();
  m_penHoverRight.DeleteObject();
  m_penHoverBottom.DeleteObject();
}

// Dialog push buttons (plain or default) become owner-drawn.
void CXPButton::PreSubclassWindow() {
  ModifyStyle(0, BS_OWNERDRAW);
  CButton::PreSubclassWindow();
}

void CXPButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect rect = lpDrawItemStruct->rcItem;
  const UINT state = lpDrawItemStruct->itemState;
  CString caption;
  GetWindowText(caption);

  CPen* pOldPen = pDC->SelectObject(&m_penBorder);
  pDC->RoundRect(&rect, CPoint(kCornerEllipse, kCornerEllipse));
  m_bFocus = (state & ODS_FOCUS) != 0;
  pDC->SelectObject(pOldPen);

  rect.DeflateRect(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
  DrawGradient(pDC, rect);
  if (m_bHover) DrawHoverFrame(pDC, rect);
  if (m_bFocus && !(state & ODS_DISABLED)) DrawFocusMark(pDC, rect);

  if (caption.IsEmpty()) return;
  SIZE size{};
  GetTextExtentPoint32(pDC->GetSafeHdc(), caption.GetString(), caption.GetLength(), &size);
  CPoint pt((rect.left + rect.right) / 2 - size.cx / 2, (rect.top + rect.bottom) / 2 - size.cy / 2);
  if (state & ODS_SELECTED) pt.Offset(1, 1);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  if (state & ODS_DISABLED)
    pDC->DrawState(pt, CSize(size), caption.GetString(), DST_PREFIXTEXT | DSS_DISABLED, TRUE, 0,
                   static_cast<HBRUSH>(nullptr));
  else
    pDC->TextOut(pt.x, pt.y, caption);
  pDC->SetBkMode(oldMode);
}

// Row d of h rows takes step d * 63 / h, so the top row is white and the
// bottom row stops short of the darkest step on short buttons.
void CXPButton::DrawGradient(CDC* pDC, CRect rect) {
  const GradientDivisors divisors = DivisorsFor(m_bHover, m_bFocus);
  std::array<CBrush, kGradientSteps> brushes;
  for (int k = 0; k < kGradientSteps; ++k) {
    const int redGreen = 255 - k / divisors.redGreen;
    brushes[k].CreateSolidBrush(RGB(redGreen, redGreen, 255 - k / divisors.blue));
  }
  const int height = rect.Height();
  for (int d = 0; d < height; ++d) {
    const CRect row(rect.left, rect.top + d, rect.right, rect.top + d + 1);
    pDC->FillRect(&row, &brushes[d * (kGradientSteps - 1) / height]);
  }
  for (CBrush& brush : brushes) brush.DeleteObject();
}

void CXPButton::DrawHoverFrame(CDC* pDC, CRect rect) {
  const CPoint oldPosition = pDC->GetCurrentPosition();
  CPen* pOldPen = pDC->SelectObject(&m_penHoverLeft);
  pDC->MoveTo(rect.left, rect.bottom - 3);
  pDC->LineTo(rect.left, rect.top + 2);
  pDC->SelectObject(&m_penHoverTop);
  pDC->MoveTo(rect.left + 2, rect.top);
  pDC->LineTo(rect.right - 2, rect.top);
  pDC->SelectObject(&m_penHoverRight);
  pDC->MoveTo(rect.right - 1, rect.bottom - 3);
  pDC->LineTo(rect.right - 1, rect.top + 2);
  pDC->SelectObject(&m_penHoverBottom);
  pDC->MoveTo(rect.left + 2, rect.bottom);
  pDC->LineTo(rect.right - 2, rect.bottom);
  pDC->SelectObject(pOldPen);
  pDC->MoveTo(oldPosition);
}

// A dotted rectangle inside the hover frame, every other pixel, as the
// keyboard focus is marked on classic buttons.
void CXPButton::DrawFocusMark(CDC* pDC, CRect rect) {
  rect.DeflateRect(kFocusInset, kFocusInset);
  if (rect.Width() < 2 || rect.Height() < 2) return;
  for (int x = rect.left; x < rect.right; x += 2) {
    pDC->SetPixel(x, rect.top, kFocusColour);
    pDC->SetPixel(x, rect.bottom - 1, kFocusColour);
  }
  for (int y = rect.top; y < rect.bottom; y += 2) {
    pDC->SetPixel(rect.left, y, kFocusColour);
    pDC->SetPixel(rect.right - 1, y, kFocusColour);
  }
}

// Tracking is asked for once per entry of the mouse; a failed request is
// repeated at the next move.
void CXPButton::OnMouseMove(UINT, CPoint) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT track;
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = 1;
    m_bTracking = _TrackMouseEvent(&track);
  }
  Default();
}

LRESULT CXPButton::OnMouseHover(WPARAM, LPARAM) {
  m_bHover = TRUE;
  InvalidateRect(nullptr, TRUE);
  return 0;
}

LRESULT CXPButton::OnMouseLeave(WPARAM, LPARAM) {
  m_bTracking = FALSE;
  m_bHover = FALSE;
  InvalidateRect(nullptr, FALSE);
  return 0;
}
