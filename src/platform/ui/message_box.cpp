#include "platform/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/dialog_owner.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/win_app.h"

namespace {

MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

QMessageBox::Icon IconOf(UINT type) {
  switch (type & 0x00F0) {
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    case MB_ICONQUESTION: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

CString& Caption() {
  static CString caption;
  return caption;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }

void SetMessageBoxCaption(const CString& caption) { Caption() = caption; }

int AfxMessageBox(const CString& text, UINT type) {
  const CString caption = Caption().IsEmpty() ? AfxGetAppName() : Caption();
  if (Handler()) return Handler()(text, caption, type);
  QMessageBox box(IconOf(type), ToQString(caption), ToQString(text), QMessageBox::NoButton,
                  OwnerOrActiveWindow(nullptr));
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  if ((type & 0x000F) == MB_YESNO) {
    QPushButton* yes = box.addButton(QString::fromUtf8("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("否"), QMessageBox::NoRole);
    box.setDefaultButton((type & MB_DEFBUTTON2) ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? IDYES : IDNO;
  }
  QPushButton* ok = box.addButton(QString::fromUtf8("确定"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return static_cast<int>(IDOK);
}
