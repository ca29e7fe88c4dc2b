// The tooltip's settings: colour and size tables, styles, effect,
// direction, behaviour, delays, notify window and default font.
#include <cstring>

#include "platform/gdi/system_metrics.h"
#include "tooltip/glint_tooltip.h"
#include "tooltip/system_font.h"

namespace {

constexpr COLORREF kIndexedColours[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xC0C0C0, 0xFFFFFF};

constexpr int kBalloonSizes[TTSIZE_COUNT] = {16, 16, 12, 12, 4, 4, 12, 16, 16, 1, 1};
constexpr int kPlainSizes[TTSIZE_COUNT] = {0, 0, 3, 1, 0, 0, 0, 0, 0, 1, 1};

}  // namespace

void CGlintTooltip::SetColor(int nIndex, COLORREF crColor) {
  if (nIndex < 0 || nIndex >= TTCOLOR_COUNT) return;
  m_crColors[nIndex] = crColor;
}

COLORREF CGlintTooltip::GetColor(int nIndex) const {
  if (nIndex < 0 || nIndex >= TTCOLOR_COUNT) return 0;
  return m_crColors[nIndex];
}

void CGlintTooltip::ResetColors() {
  for (int i = 0; i < 16; ++i) SetColor(i, kIndexedColours[i]);
  SetColor(TTCOLOR_TEXT, GetSysColor(COLOR_INFOTEXT));
  SetColor(TTCOLOR_BK1, GetSysColor(COLOR_INFOBK));
  SetColor(TTCOLOR_BK2, GetSysColor(COLOR_INFOBK));
  SetColor(TTCOLOR_BK3, GetSysColor(COLOR_INFOBK));
  SetColor(21, 0xEE0000);
  SetColor(22, 0x8B1A55);
  SetColor(23, 0x0000FF);
  SetColor(TTCOLOR_SHADOW, GetSysColor(COLOR_BTNSHADOW));
  SetColor(TTCOLOR_BORDER, GetSysColor(COLOR_INFOTEXT));
}

void CGlintTooltip::SetSize(int nIndex, int nValue) {
  if (nIndex < 0 || nIndex >= TTSIZE_COUNT) return;
  m_nSizes[nIndex] = nValue;
}

int CGlintTooltip::GetSize(int nIndex) const {
  if (nIndex < 0 || nIndex >= TTSIZE_COUNT) return 0;
  return m_nSizes[nIndex];
}

void CGlintTooltip::ResetSizes(BOOL bBalloon) {
  const int* sizes = bBalloon ? kBalloonSizes : kPlainSizes;
  for (int i = 0; i < TTSIZE_COUNT; ++i) SetSize(i, sizes[i]);
}

void CGlintTooltip::ChangeStyles(DWORD dwAdd, DWORD dwRemove, int nTool) {
  if (!IsValidTool(nTool)) {
    m_dwStyles = dwAdd | (m_dwStyles & ~dwRemove);
    return;
  }
  TOOLRECORD& ti = m_arrTools[nTool];
  const DWORD old = (ti.nMask & TTMASK_STYLES) ? ti.nStyles : m_dwStyles;
  ti.nStyles = dwAdd | (old & ~dwRemove);
  ti.nMask |= TTMASK_STYLES;
}

void CGlintTooltip::SetStyles(DWORD dwStyles, int nTool) { ChangeStyles(dwStyles, 0xFFFFFFFF, nTool); }

void CGlintTooltip::ResetStyles(int nTool) { SetStyles(TTSTYLE_DEFAULT, nTool); }

void CGlintTooltip::SetBackgroundEffect(int nEffect, UINT nGranularity, int nTool) {
  const BYTE granularity = static_cast<BYTE>(nGranularity & 0xFF);
  if (!IsValidTool(nTool)) {
    m_nEffect = nEffect;
    m_nGranularity = granularity;
    return;
  }
  TOOLRECORD& ti = m_arrTools[nTool];
  ti.nEffect = nEffect;
  ti.nGranularity = granularity;
  ti.nMask |= TTMASK_EFFECT;
}

void CGlintTooltip::SetDirection(UINT nDirection, int nTool) {
  if (nDirection >= 4) return;
  if (!IsValidTool(nTool)) {
    m_nDirection = static_cast<int>(nDirection);
    return;
  }
  m_arrTools[nTool].nDirection = static_cast<int>(nDirection);
  m_arrTools[nTool].nMask |= TTMASK_DIRECTION;
}

void CGlintTooltip::SetShowBehaviour(DWORD dwBehaviour, int nTool) {
  if (!IsValidTool(nTool)) {
    m_dwBehaviour = dwBehaviour;
    return;
  }
  m_arrTools[nTool].nBehaviour = dwBehaviour;
  m_arrTools[nTool].nMask |= TTMASK_BEHAVIOUR;
}

void CGlintTooltip::SetDelay(UINT nType, UINT nMilliseconds) {
  if (nType == TTDT_INITIAL) m_nTimeInitial = nMilliseconds;
  else if (nType == TTDT_AUTOPOP) m_nTimeAutoPop = nMilliseconds;
}

UINT CGlintTooltip::GetDelay(UINT nType) const {
  if (nType == TTDT_INITIAL) return m_nTimeInitial;
  if (nType == TTDT_AUTOPOP) return m_nTimeAutoPop;
  return 0;
}

void CGlintTooltip::EnableDisplayNotify(BOOL bEnable) {
  m_hNotifyWnd = (bEnable && m_pParentWnd != nullptr) ? m_pParentWnd->GetSafeHwnd() : nullptr;
}

BOOL CGlintTooltip::SetFont(const LOGFONT* pLogFont) {
  if (pLogFont == nullptr) return FALSE;
  std::memcpy(&m_lfDefault, pLogFont, sizeof(LOGFONT));
  return TRUE;
}

void CGlintTooltip::ResetFont() {
  const LOGFONT* font = GetSystemTooltipFont();
  if (font != nullptr) SetFont(font);
}
