#include "platform/ui/dialog_owner.h"

#include <QApplication>
#include <QWidget>

#include "platform/ui/win_app.h"
#include "platform/ui/wnd.h"

QWidget* DialogOwnerWidget(const CWnd* parent, const CWnd* self) {
  if (parent && parent->GetWidget()) return parent->GetWidget();
  if (const CWinApp* app = AfxGetApp()) {
    const CWnd* main = app->m_pMainWnd;
    if (main && main != self && main->GetWidget()) return main->GetWidget();
  }
  return nullptr;
}

void KeepAboveOwner(QWidget* dialog) {
  const QWidget* owner = dialog->parentWidget();
  if (!owner) return;
  if (owner->window()->windowFlags() & Qt::WindowStaysOnTopHint)
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

QWidget* OwnerOrActiveWindow(const CWnd* parent) {
  if (QWidget* owner = DialogOwnerWidget(parent)) return owner;
  return QApplication::activeWindow();
}
