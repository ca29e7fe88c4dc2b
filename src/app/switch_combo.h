// The board's switch choice: the dialog's combo box 1013 seen by the
// calculation.
#pragma once

#include "calc/switch_combo_box.h"
#include "platform/ui/combo_box.h"

class CSwitchComboBox : public CComboBox, public SwitchComboBox {
 public:
  void ResetContent() override { CComboBox::ResetContent(); }
  int AddString(const CString& text) override { return CComboBox::AddString(text); }
  int SetCurSel(int index) override { return CComboBox::SetCurSel(index); }
  int GetCurSel() const override { return CComboBox::GetCurSel(); }
  void SetWindowText(const CString& text) override { CWnd::SetWindowText(text); }
  CString GetWindowText() const override { return CWnd::GetWindowText(); }
  int GetCount() const override { return CComboBox::GetCount(); }
  CString GetLBText(int index) const override { return CComboBox::GetLBText(index); }
};
