#include "platform/ui/data_exchange.h"

#include <QLineEdit>
#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void CDataExchange::PrepareEditCtrl(int id) { m_idLastControl = id; }

void CDataExchange::Fail() {
  if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
    control->SetFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(control->GetWidget())) edit->selectAll();
  }
  throw CUserException{};
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.GetSafeHwnd() == nullptr) control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  CWnd* control = pDX->m_pDlgWnd->GetDlgItem(id);
  if (!control) return;
  if (pDX->m_bSaveAndValidate) value = control->GetWindowText();
  else control->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int id, float& value) {
  pDX->PrepareEditCtrl(id);
  CWnd* control = pDX->m_pDlgWnd->GetDlgItem(id);
  if (!control) return;
  if (!pDX->m_bSaveAndValidate) {
    control->SetWindowText(FormatDialogFloat(value));
    return;
  }
  if (!ParseDialogFloat(control->GetWindowText(), value)) {
    AfxMessageBox(Cp936("请输入一个数字。"), MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

CString FormatDialogFloat(float value) {
  CString text;
  text.Format("%.*g", 6, static_cast<double>(value));
  return text;
}

bool ParseDialogFloat(const CString& text, float& value) {
  const char* first = text.GetString();
  const char* last = first + text.GetLength();
  while (first < last && IsBlank(*first)) ++first;
  while (last > first && IsBlank(last[-1])) --last;
  if (last - first > 1 && *first == '+' && (std::isdigit(static_cast<unsigned char>(first[1])) || first[1] == '.'))
    ++first;
  double parsed = 0;
  const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
  if (first == last || error != std::errc() || end != last) return false;
  // A value beyond the float's range is no number the field can hold.
  const float narrowed = static_cast<float>(parsed);
  if (!std::isfinite(narrowed)) return false;
  value = narrowed;
  return true;
}
