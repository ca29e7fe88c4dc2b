#include "platform/ui/combo_box.h"

#include <QComboBox>

#include "platform/ui/qt_text.h"

namespace {

QComboBox* AsCombo(const CWnd* wnd) { return qobject_cast<QComboBox*>(wnd->GetWidget()); }

}  // namespace

void CComboBox::ResetContent() {
  if (QComboBox* combo = AsCombo(this)) {
    combo->clear();
    combo->setPlaceholderText(QString());
  }
}

int CComboBox::AddString(LPCTSTR text) {
  QComboBox* combo = AsCombo(this);
  if (!combo) return CB_ERR;
  const int wasSelected = combo->currentIndex();
  combo->addItem(ToQString(text ? text : ""));
  // Adding to an empty list selects nothing, as the list box does.
  if (wasSelected < 0) combo->setCurrentIndex(-1);
  return combo->count() - 1;
}

int CComboBox::SetCurSel(int index) {
  QComboBox* combo = AsCombo(this);
  if (!combo) return CB_ERR;
  if (index < 0 || index >= combo->count()) {
    combo->setCurrentIndex(-1);
    return CB_ERR;
  }
  combo->setCurrentIndex(index);
  return index;
}

int CComboBox::GetCurSel() const {
  QComboBox* combo = AsCombo(this);
  return combo ? combo->currentIndex() : CB_ERR;
}

int CComboBox::GetCount() const {
  QComboBox* combo = AsCombo(this);
  return combo ? combo->count() : 0;
}

void CComboBox::GetLBText(int index, CString& text) const { text = GetLBText(index); }

CString CComboBox::GetLBText(int index) const {
  QComboBox* combo = AsCombo(this);
  if (!combo || index < 0 || index >= combo->count()) return CString();
  return FromQString(combo->itemText(index));
}
