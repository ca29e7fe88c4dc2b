#include "tooltip/tip_desktop.h"

#include "platform/gdi/gdi_api.h"
#include "platform/ui/wnd.h"

CPoint CTipDesktop::GetCursorPos() const {
  POINT pt{};
  ::GetCursorPos(&pt);
  return pt;
}

HWND CTipDesktop::WindowFromPoint(CPoint screen) const { return ::WindowFromPoint(screen); }

HWND CTipDesktop::ChildWindowFromPointEx(HWND parent, CPoint client, UINT flags) const {
  return ::ChildWindowFromPointEx(parent, client, flags);
}

HWND CTipDesktop::GetActiveWindow() const {
  CWnd* focus = CWnd::GetFocus();
  return focus ? focus->GetTopLevelParent() : nullptr;
}

CSize CTipDesktop::GetScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

CTipDesktop& CTipDesktop::System() {
  static CTipDesktop desktop;
  return desktop;
}
