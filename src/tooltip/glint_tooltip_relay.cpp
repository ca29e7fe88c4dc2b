// The show/hide state machine: relayed mouse and keyboard messages, the
// initial-delay and auto-pop timers.
#include "tooltip/glint_tooltip.h"
#include "tooltip/tip_desktop.h"

namespace {

bool HidesTip(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

int CGlintTooltip::ToolUnderCursor(CPoint ptScreen) const {
  if (m_pParentWnd == nullptr) return -1;
  m_pParentWnd->ScreenToClient(&ptScreen);
  return FindToolAtPoint(ptScreen);
}

void CGlintTooltip::RelayMessage(MSG* pMsg) {
  if (pMsg == nullptr) return;
  if (HidesTip(pMsg->message)) {
    HideTip();
    return;
  }
  if (pMsg->message != WM_MOUSEMOVE) return;

  const CPoint pt(pMsg->pt);
  if (pt == m_ptLastMouse) return;
  if (!(m_dwStyles & TTSTYLE_SHOW_INACTIVE) && Desktop().GetActiveWindow() == nullptr) return;
  m_ptLastMouse = pt;
  const int nTool = ToolUnderCursor(pt);

  if (nTool < 0) {
    if (IsCursorOverTip() && (CurrentBehaviour() & TTBEHAV_KEEP_ON_MOVE)) return;
    HideTip();
    m_nNextTool = m_nDisplayedTool = -1;
  } else if (nTool != m_nDisplayedTool) {
    ShowTool(nTool, !IsWindowVisible());
  } else if (IsWindowVisible() && (CurrentBehaviour() & TTBEHAV_KEEP_ON_MOVE)) {
    return;
  } else if (CurrentBehaviour() & TTBEHAV_MULTIPLE_SHOW) {
    ShowTool(nTool, TRUE);
  } else {
    HideTip();
  }
}

void CGlintTooltip::ShowTool(int nTool, BOOL bDelayed) {
  m_nDisplayedTool = -1;
  HideTip();
  if (!IsValidTool(nTool)) return;
  m_tiCurrent = m_arrTools[nTool];
  m_nNextTool = nTool;
  if (GetSafeHwnd() == nullptr) return;  // settings only: nothing to show in
  if (bDelayed) SetTimer(TIMER_SHOW, m_nTimeInitial);
  else OnShowTimer();
}

void CGlintTooltip::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TIMER_SHOW) OnShowTimer();
  else if (nIDEvent == TIMER_HIDE) OnHideTimer();
  CWnd::OnTimer(nIDEvent);
}

void CGlintTooltip::OnShowTimer() {
  HideTip();
  const CPoint ptCursor = Desktop().GetCursorPos();
  const int nTool = ToolUnderCursor(ptCursor);
  if (nTool != m_nNextTool) return;
  // Only after the mouse rested on the tool for the whole delay.
  if (ptCursor != m_ptLastMouse || !IsValidTool(nTool)) return;
  DisplayTip(ptCursor);
  if (m_nTimeAutoPop != 0 && !(CurrentBehaviour() & TTBEHAV_NO_AUTOPOP))
    SetTimer(TIMER_HIDE, m_nTimeAutoPop);
}

void CGlintTooltip::OnHideTimer() {
  if (IsCursorOverTip() && IsWindowVisible() && (CurrentBehaviour() & TTBEHAV_KEEP_WHILE_OVER))
    return;
  HideTip();
}

void CGlintTooltip::HideTip() {
  KillTimers(0);
  if (GetSafeHwnd() != nullptr) ShowWindow(SW_HIDE);
}

void CGlintTooltip::KillTimers(UINT_PTR nIDTimer) {
  if (GetSafeHwnd() == nullptr) return;
  if (nIDTimer == 0 || nIDTimer == TIMER_SHOW) KillTimer(TIMER_SHOW);
  if (nIDTimer == 0 || nIDTimer == TIMER_HIDE) KillTimer(TIMER_HIDE);
}

BOOL CGlintTooltip::IsCursorOverTip() const {
  if (GetSafeHwnd() == nullptr || !IsWindowVisible()) return FALSE;
  return Desktop().WindowFromPoint(Desktop().GetCursorPos()) == GetSafeHwnd();
}

void CGlintTooltip::OnDestroy() {
  KillTimers(0);
  CWnd::OnDestroy();
}

void CGlintTooltip::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  HideTip();
}

BOOL CGlintTooltip::OnEraseBkgnd(CDC*) { return FALSE; }
