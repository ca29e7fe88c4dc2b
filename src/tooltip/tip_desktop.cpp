#include "tooltip/tip_desktop.h"

#include "platform/gdi/gdi_api.h"
#include "platform/ui/wnd.h"

CPoint CTipDesktop::GetCursorPos() const {
  POINT pt{};
  ::GetCursorPos(&pt);
  return pt;
}

// A control is one window to the program, however many widgets make it up
// (a list view has a viewport and a header): the answer is the dialog's
// direct child that holds the point, or the top-level window itself.
HWND CTipDesktop::WindowFromPoint(CPoint screen) const {
  HWND hit = ::WindowFromPoint(screen);
  while (hit != nullptr && hit->GetTopLevelParent() != hit) {
    CWnd* parent = hit->GetParent();
    if (parent == nullptr || parent == hit->GetTopLevelParent()) break;
    hit = parent;
  }
  return hit;
}

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
