// The board's switch choice: a drop-down list without sorting. The dialog
// puts its combo box behind this; the tool and the tests keep it in memory.
#pragma once

#include <vector>

#include "platform/text/cstring.h"

class SwitchComboBox {
 public:
  virtual ~SwitchComboBox() = default;
  virtual void ResetContent() = 0;
  // Appends an entry; returns its index.
  virtual int AddString(const CString& text) = 0;
  // Selects entry `index` (-1: none); returns the index, or -1 when out of range.
  virtual int SetCurSel(int index) = 0;
  virtual int GetCurSel() const = 0;
  // The text shown in the box (the selected entry, or text set directly).
  virtual void SetWindowText(const CString& text) = 0;
  virtual CString GetWindowText() const = 0;
  virtual int GetCount() const = 0;
  virtual CString GetLBText(int index) const = 0;
};

class MemorySwitchComboBox : public SwitchComboBox {
 public:
  void ResetContent() override;
  int AddString(const CString& text) override;
  int SetCurSel(int index) override;
  int GetCurSel() const override;
  void SetWindowText(const CString& text) override;
  CString GetWindowText() const override;
  int GetCount() const override;
  CString GetLBText(int index) const override;

 private:
  std::vector<CString> m_entries;
  int m_selected = -1;
  CString m_text;
};
