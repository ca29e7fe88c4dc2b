// CComboBox: a drop-down list without sorting. A text that matches no entry
// shows in the box while nothing is selected (the board shows "无" so).
#pragma once

#include "platform/ui/wnd.h"

constexpr int CB_ERR = -1;

class CComboBox : public CWnd {
 public:
  void ResetContent();
  int AddString(LPCTSTR text);
  int SetCurSel(int index);
  int GetCurSel() const;
  int GetCount() const;
  void GetLBText(int index, CString& text) const;
  CString GetLBText(int index) const;
};
