// Preparing a tip: effective settings, the display notification, the size
// of text and icon, the texture, and the window's place and shape.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/gdi_api.h"
#include "tooltip/balloon_shape.h"
#include "tooltip/glint_tooltip.h"
#include "tooltip/texture_effects.h"
#include "tooltip/tip_desktop.h"
#include "tooltip/tip_limits.h"
#include "tooltip/tip_placement.h"

void CGlintTooltip::ResolveEffectiveSettings() {
  TOOLRECORD& ti = m_tiCurrent;
  if (!(ti.nMask & TTMASK_STYLES)) ti.nStyles = m_dwStyles;
  if (!(ti.nMask & TTMASK_EFFECT)) {
    ti.nEffect = m_nEffect;
    ti.nGranularity = static_cast<BYTE>(m_nGranularity);
  }
  if (!(ti.nMask & TTMASK_COLORS)) {
    ti.crBkColors[0] = m_crColors[TTCOLOR_BK1];
    ti.crBkColors[1] = m_crColors[TTCOLOR_BK2];
    ti.crBkColors[2] = m_crColors[TTCOLOR_BK3];
  }
  if (!(ti.nMask & TTMASK_DIRECTION)) ti.nDirection = m_nDirection;
  if (!(ti.nMask & TTMASK_BEHAVIOUR)) ti.nBehaviour = m_dwBehaviour;
}

void CGlintTooltip::DisplayTip(CPoint pt) {
  ResolveEffectiveSettings();
  SendDisplayNotify(&pt, &m_tiCurrent);
  if (m_tiCurrent.hIcon == nullptr && m_tiCurrent.strText.IsEmpty()) return;

  m_szText = GetTextSize(m_tiCurrent.strText);
  m_szIcon = GetIconSize(m_tiCurrent.hIcon);
  const std::int64_t marginX = m_nSizes[TTSIZE_MARGIN_CX];
  std::int64_t cx = m_szText.cx;
  std::int64_t cy = m_szText.cy;
  if (m_szIcon.cx != 0 || m_szIcon.cy != 0) {
    cx += m_szIcon.cx + (m_szText.cx != 0 ? marginX : 0);
    cy = std::max<std::int64_t>(cy, m_szIcon.cy);
  }
  cx += 2 * marginX;
  // The anchor's height is reserved whether or not the anchor is drawn.
  cy += std::int64_t{m_nSizes[TTSIZE_ANCHOR_CY]} + 2 * std::int64_t{m_nSizes[TTSIZE_MARGIN_CY]};
  if (m_tiCurrent.nStyles & TTSTYLE_SHADOW) {
    cx += m_nSizes[TTSIZE_SHADOW_CX];
    cy += m_nSizes[TTSIZE_SHADOW_CY];
  }
  // Nothing of a tip beyond the screen can be seen: its window, and so its
  // off-screen bitmap and texture, are never larger than the screen.
  const CSize screen = Desktop().GetScreenSize();
  const CSize size(static_cast<int>(std::clamp<std::int64_t>(cx, 0, std::clamp(screen.cx, 1, kMaxTipExtent))),
                   static_cast<int>(std::clamp<std::int64_t>(cy, 0, std::clamp(screen.cy, 1, kMaxTipExtent))));
  const CRect rect(0, 0, size.cx, size.cy);
  if (m_tiCurrent.nEffect >= 7 && m_tiCurrent.nEffect <= 15)
    BuildTexture(rect, m_tiCurrent.nEffect, m_tiCurrent.nGranularity, 5, m_tiCurrent.crBkColors[0]);
  PlaceWindow(pt, rect);
}

void CGlintTooltip::SendDisplayNotify(POINT* pt, TOOLRECORD* pti) {
  if (GetSafeHwnd() == nullptr || m_hNotifyWnd == nullptr || pti == nullptr) return;
  TOOLRECORD copy = *pti;
  CRect rect(copy.rectBounds);
  if (copy.hWnd != nullptr) copy.hWnd->ClientToScreen(&rect);
  if (m_pParentWnd != nullptr) m_pParentWnd->ScreenToClient(&rect);
  copy.rectBounds = rect;

  NMTIPDISPLAY nm;
  nm.hdr.hwndFrom = GetSafeHwnd();
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  nm.hdr.code = TIPN_DISPLAY;
  nm.pt = pt;
  nm.pti = &copy;
  ::SendMessage(m_hNotifyWnd, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));

  // The receiver may change this one display, but not where the tool is.
  copy.rectBounds = pti->rectBounds;
  *pti = copy;
}

CSize CGlintTooltip::GetTextSize(const CString& strText) {
  CRect rect;
  if (GetSafeHwnd() != nullptr) GetWindowRect(&rect);
  CDC memDC;
  memDC.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&memDC, std::max(rect.Width(), 1), std::max(rect.Height(), 1));
  CBitmap* previous = memDC.SelectObject(&bitmap);
  const CSize size = DrawMarkup(&memDC, rect, strText, TRUE);
  memDC.SelectObject(previous);
  return size;
}

CSize CGlintTooltip::GetIconSize(HICON hIcon) {
  if (hIcon == nullptr) return {0, 0};
  ICONINFO info;
  if (!GetIconInfo(hIcon, &info)) return {0, 0};
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  return {static_cast<int>(info.xHotspot * 2), static_cast<int>(info.yHotspot * 2)};
}

void CGlintTooltip::BuildTexture(CRect rect, int nEffect, BYTE nGranularity, UINT nPercent,
                                 COLORREF crTint) {
  const TextureColours colours{m_tiCurrent.crBkColors[0], m_tiCurrent.crBkColors[1],
                               m_tiCurrent.crBkColors[2]};
  BuildTextureEffect({m_dibBackground, m_dibStripH, m_dibStripV}, rect.Width(), rect.Height(),
                     nEffect, nGranularity, nPercent, crTint, colours);
}

void CGlintTooltip::CalcPlacement(CPoint pt, CRect& rect) {
  const bool shadow = (m_tiCurrent.nStyles & TTSTYLE_SHADOW) != 0;
  TipPlacementInput in;
  in.cursor = pt;
  in.tipSize = rect.Size();
  in.direction = m_tiCurrent.nDirection;
  in.screen = Desktop().GetScreenSize();
  in.anchorMargin = m_nSizes[TTSIZE_ANCHOR_MARGIN];
  in.shadow = shadow;
  in.shadowOffset = CSize(m_nSizes[TTSIZE_SHADOW_CX], m_nSizes[TTSIZE_SHADOW_CY]);
  const TipPlacement placed = CalcTipPlacement(in);
  m_nCurrentDirection = placed.direction;
  rect = placed.rect;
}

void CGlintTooltip::PlaceWindow(CPoint pt, CRect rect) {
  CalcPlacement(pt, rect);
  SetWindowPos(nullptr, rect.left, rect.top, rect.Width() + 2, rect.Height() + 2,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
  const bool shadow = (m_tiCurrent.nStyles & TTSTYLE_SHADOW) != 0;
  int width = rect.Width();
  int height = rect.Height();
  if (shadow) {
    width -= m_nSizes[TTSIZE_SHADOW_CX];
    height -= m_nSizes[TTSIZE_SHADOW_CY];
  }
  CreateBalloonRegion(m_rgnBalloon, width, height, pt);
  CRgn window;
  window.CreateRectRgn(0, 0, 0, 0);
  window.CombineRgn(&m_rgnBalloon, nullptr, RGN_COPY);
  if (shadow) {
    m_rgnShadow.CombineRgn(&m_rgnBalloon, nullptr, RGN_COPY);
    m_rgnShadow.OffsetRgn(m_nSizes[TTSIZE_SHADOW_CX], m_nSizes[TTSIZE_SHADOW_CY]);
    window.CombineRgn(&window, &m_rgnShadow, RGN_OR);
  }
  SetWindowRgn(window, FALSE);
}
