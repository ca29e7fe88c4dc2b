#include "platform/ui/button.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>

namespace {

QAbstractButton* AsButton(const CWnd* wnd) {
  return qobject_cast<QAbstractButton*>(wnd->GetWidget());
}

QLineEdit* AsEdit(const CWnd* wnd) { return qobject_cast<QLineEdit*>(wnd->GetWidget()); }

}  // namespace

int CButton::GetCheck() const {
  QAbstractButton* button = AsButton(this);
  return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
  QAbstractButton* button = AsButton(this);
  if (button && button->isCheckable()) button->setChecked(check == BST_CHECKED);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
  ModifyStyle(BS_TYPEMASK, style & BS_TYPEMASK);
  if (redraw) Invalidate();
}

UINT CButton::GetState() const {
  QAbstractButton* button = AsButton(this);
  if (!button) return 0;
  UINT state = static_cast<UINT>(GetCheck());
  if (button->isDown()) state |= 0x0004;
  if (button->hasFocus()) state |= 0x0008;
  return state;
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
  QLineEdit* edit = AsEdit(this);
  if (!edit) return FALSE;
  edit->setReadOnly(readOnly);
  ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
  return TRUE;
}

void CEdit::SetSel(int start, int end, BOOL /*noScroll*/) {
  QLineEdit* edit = AsEdit(this);
  if (!edit) return;
  if (start == 0 && end == -1) edit->selectAll();
  else if (start < 0) edit->deselect();
  else edit->setSelection(start, end - start);
}

void CEdit::LimitText(int maxChars) {
  if (QLineEdit* edit = AsEdit(this)) edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
}
