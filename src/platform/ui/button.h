// CButton and CEdit: the dialog's push buttons, check boxes and edit boxes.
// A control class binds to a template control with DDX_Control and sees the
// control's messages; an owner-drawn button (BS_OWNERDRAW) draws itself in
// DrawItem.
#pragma once

#include "platform/ui/wnd.h"

class CButton : public CWnd {
 public:
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  // Pressed (ODS_SELECTED-like 0x0004) and focus (0x0008) as BM_GETSTATE reports them.
  UINT GetState() const;
};

class CEdit : public CWnd {
 public:
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void LimitText(int maxChars = 0);
};

class CStatic : public CWnd {};
