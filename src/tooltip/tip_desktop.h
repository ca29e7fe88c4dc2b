// What the tooltip asks of the desktop: the cursor, the window under a
// point, the active window and the screen size. One object answers it, so a
// test can put the cursor and the windows where it needs them.
#pragma once

#include "platform/gdi/geometry.h"
#include "platform/ui/win_types.h"

class CTipDesktop {
 public:
  virtual ~CTipDesktop() = default;
  virtual CPoint GetCursorPos() const;
  virtual HWND WindowFromPoint(CPoint screen) const;
  virtual HWND ChildWindowFromPointEx(HWND parent, CPoint client, UINT flags) const;
  // The window that has the input focus; nullptr while another program is
  // in front.
  virtual HWND GetActiveWindow() const;
  virtual CSize GetScreenSize() const;

  // The desktop of the running program.
  static CTipDesktop& System();
};
