// CHoverEdit: an edit box that tracks the mouse entering and leaving it
// and reports both to its subclass.
#pragma once

#include "platform/ui/button.h"

class CHoverEdit : public CEdit {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  using CEdit::OnMouseHover;
  using CEdit::OnMouseLeave;
  virtual void OnMouseHover() = 0;
  virtual void OnMouseLeave() = 0;

 protected:
  bool m_bTracking = false;  // a hover/leave request is active
  bool m_bHover = false;     // the mouse rests over the control
};
