// Construction, the window, and the tool list with its lookup.
#include "tooltip/glint_tooltip.h"

#include <set>
#include <string>

#include "platform/gdi/icon.h"
#include "tooltip/tip_desktop.h"

namespace {

constexpr const char* kClassName = "CGlintTooltip";

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

CGlintTooltip::CGlintTooltip() {
  m_rgnBalloon.CreateRectRgn(0, 0, 0, 0);
  m_rgnShadow.CreateRectRgn(0, 0, 0, 0);
  m_ptLastMouse = CPoint(-1, -1);
  m_nNextTool = m_nDisplayedTool = -1;
  SetDelay(TTDT_INITIAL, 500);
  SetDelay(TTDT_AUTOPOP, 5000);
  SetDisplayNotifyWnd(nullptr);
  SetDirection(3);
  SetShowBehaviour(0);
  SetStyles(TTSTYLE_DEFAULT);
  ResetColors();
  ResetSizes(TRUE);
  SetBackgroundEffect(0, 2);
  RegisterWindowClass();
}

CGlintTooltip::~CGlintTooltip() {
  RemoveAllTools();
  for (HICON icon : m_loadedIcons) DestroyIcon(icon);
  m_loadedIcons.clear();
  RemoveAllNamedImages();
  m_arrLineWidths.clear();
  m_arrLineHeights.clear();
  m_rgnBalloon.DeleteObject();
  m_rgnShadow.DeleteObject();
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

// The window class is the program's own; it is set up once per process.
void CGlintTooltip::RegisterWindowClass() {
  static std::set<std::string> registered;
  registered.insert(kClassName);
}

BOOL CGlintTooltip::Create(CWnd* pParentWnd, BOOL bBalloon) {
  m_pParentWnd = pParentWnd;
  const HWND owner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
  if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, nullptr, WS_POPUP, 0, 0, 0, 0, owner,
                nullptr))
    return FALSE;
  ResetFont();
  ResetSizes(bBalloon);
  return TRUE;
}

BOOL CGlintTooltip::PreTranslateMessage(MSG* pMsg) {
  RelayMessage(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

void CGlintTooltip::SetDesktop(const CTipDesktop* pDesktop) { m_pDesktop = pDesktop; }

const CTipDesktop& CGlintTooltip::Desktop() const {
  return m_pDesktop ? *m_pDesktop : CTipDesktop::System();
}

void CGlintTooltip::AddTool(CWnd* pWnd, const CString& strText, UINT nIconID, CSize szIcon,
                            LPCRECT lpRect, DWORD dwIDTool) {
  // The tip loaded this icon, so the tip destroys it; icons handed in stay
  // the caller's.
  HICON icon = LoadIconResource(nIconID, szIcon.cx, szIcon.cy);
  if (icon != nullptr) m_loadedIcons.push_back(icon);
  AddTool(pWnd, strText, icon, lpRect, dwIDTool);
}

void CGlintTooltip::AddTool(CWnd* pWnd, const CString& strText, HICON hIcon, LPCRECT lpRect,
                            DWORD dwIDTool) {
  TOOLRECORD ti;
  ti.hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  ti.strText = strText;
  ti.hIcon = hIcon;
  ti.nIDTool = dwIDTool;
  if (lpRect != nullptr) ti.rectBounds = *lpRect;
  ti.nMask = 0;
  AddToolRecord(ti);
}

void CGlintTooltip::AddToolRecord(TOOLRECORD ti) {
  const int existing = FindToolByWindow(CWnd::FromHandle(ti.hWnd), &ti.rectBounds);
  if (existing >= 0) m_arrTools[existing] = ti;
  else m_arrTools.push_back(ti);
}

int CGlintTooltip::FindToolByWindow(CWnd* pWnd, LPCRECT lpRect) const {
  const HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  for (int i = 0; i < GetToolCount(); ++i) {
    const TOOLRECORD& ti = m_arrTools[i];
    if (ti.hWnd != hWnd) continue;
    if (lpRect == nullptr || SameRect(ti.rectBounds, *lpRect)) return i;
  }
  return -1;
}

HWND CGlintTooltip::ChildWindowAt(POINT ptClient) const {
  if (m_pParentWnd == nullptr) return nullptr;
  CPoint ptScreen(ptClient);
  m_pParentWnd->ClientToScreen(&ptScreen);
  const HWND hParent = m_pParentWnd->GetSafeHwnd();
  const HWND hUnder = Desktop().WindowFromPoint(ptScreen);
  if (hUnder != hParent) return hUnder;
  const UINT flags = (m_dwStyles & TTSTYLE_SHOW_DISABLED) ? CWP_ALL : CWP_SKIPDISABLED;
  return Desktop().ChildWindowFromPointEx(hParent, ptClient, flags);
}

int CGlintTooltip::FindToolAtPoint(POINT ptClient) const {
  const HWND hUnder = ChildWindowAt(ptClient);
  if (hUnder == nullptr) return -1;
  for (int i = 0; i < GetToolCount(); ++i) {
    const TOOLRECORD& ti = m_arrTools[i];
    if (ti.hWnd != hUnder) continue;
    const CRect bounds(ti.rectBounds);
    if (bounds.IsRectEmpty()) return i;
    CPoint pt(ptClient);
    m_pParentWnd->ClientToScreen(&pt);
    ti.hWnd->ScreenToClient(&pt);
    if (bounds.PtInRect(pt)) return i;
  }
  return -1;
}

BOOL CGlintTooltip::GetToolRecord(int nIndex, TOOLRECORD& ti) const {
  if (!IsValidTool(nIndex)) return FALSE;
  ti = m_arrTools[nIndex];
  return TRUE;
}

void CGlintTooltip::SetToolRecord(int nIndex, const TOOLRECORD& ti) {
  if (IsValidTool(nIndex)) m_arrTools[nIndex] = ti;
}

void CGlintTooltip::RemoveAllTools() { m_arrTools.clear(); }

bool CGlintTooltip::IsValidTool(int nIndex) const { return nIndex >= 0 && nIndex < GetToolCount(); }
