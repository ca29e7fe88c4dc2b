#include "calc/switch_combo_box.h"

void MemorySwitchComboBox::ResetContent() {
  m_entries.clear();
  m_selected = -1;
  m_text.Empty();
}

int MemorySwitchComboBox::AddString(const CString& text) {
  m_entries.push_back(text);
  return GetCount() - 1;
}

int MemorySwitchComboBox::SetCurSel(int index) {
  if (index < 0 || index >= GetCount()) {
    m_selected = -1;
    m_text.Empty();
    return -1;
  }
  m_selected = index;
  m_text = m_entries[static_cast<size_t>(index)];
  return index;
}

int MemorySwitchComboBox::GetCurSel() const { return m_selected; }

void MemorySwitchComboBox::SetWindowText(const CString& text) { m_text = text; }

CString MemorySwitchComboBox::GetWindowText() const { return m_text; }

int MemorySwitchComboBox::GetCount() const { return static_cast<int>(m_entries.size()); }

CString MemorySwitchComboBox::GetLBText(int index) const {
  if (index < 0 || index >= GetCount()) return CString();
  return m_entries[static_cast<size_t>(index)];
}
