#include "app/shortcuts.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "platform/ui/wnd.h"
#include "res/ui/resource.h"

namespace shortcuts {

namespace {

struct KeyedCommand {
  int buttonId;      // 0: a context-menu command only
  UINT menuCommand;  // the context-menu item that runs it too
  const char* key;
  bool inList = false;  // only while the circuit list has the focus
};

constexpr KeyedCommand kCommands[] = {
    {IDOK, 0x0170, "F5"},
    {IDC_CALC, 0x0180, "F9"},
    {IDC_AUTO_BALANCE, 0x0190, "Ctrl+B"},
    {IDC_SAVE, 0x01A0, "Ctrl+S"},
    {0, kOpenWorkbookCommand, "Ctrl+O"},
    {0, IDM_EXPORT_REPORT, "Ctrl+P"},
    {IDC_ABOUT, IDM_ABOUTBOX, "F1"},
    {0, kAddCircuitCommand, "Ins", true},
    {0, kDeleteCircuitCommand, "Del", true},
    {0, kUndoEditCommand, "Ctrl+Z"},
    {0, kWriteBackCommand, "Ctrl+W"},
};

}  // namespace

UINT MenuCommandOfButton(int buttonId) {
  for (const KeyedCommand& command : kCommands)
    if (command.buttonId == buttonId) return command.menuCommand;
  return 0;
}

int ButtonOfMenuCommand(UINT menuCommand) {
  for (const KeyedCommand& command : kCommands)
    if (command.menuCommand == (menuCommand & 0xFFF0)) return command.buttonId;
  return 0;
}

QString KeyOfButton(int buttonId) {
  for (const KeyedCommand& command : kCommands)
    if (command.buttonId == buttonId) return QString::fromLatin1(command.key);
  return QString();
}

QString KeyOfMenuCommand(UINT menuCommand) {
  for (const KeyedCommand& command : kCommands)
    if (command.menuCommand == (menuCommand & 0xFFF0)) return QString::fromLatin1(command.key);
  return QString();
}

void Install(CWnd& dialog) {
  QWidget* window = dialog.GetWidget();
  if (!window) return;
  for (const KeyedCommand& command : kCommands) {
    CWnd* list = command.inList ? dialog.GetDlgItem(IDC_LIST) : nullptr;
    QWidget* owner = list && list->GetWidget() ? list->GetWidget() : window;
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(command.key)), owner);
    shortcut->setContext(owner == window ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut);
    const KeyedCommand each = command;
    QObject::connect(shortcut, &QShortcut::activated, window, [&dialog, each] {
      // A disabled button's command is not run by its key either.
      if (each.buttonId != 0) {
        CWnd* button = dialog.GetDlgItem(each.buttonId);
        if (button && !button->IsWindowEnabled()) return;
        dialog.SendMessage(WM_COMMAND, static_cast<WPARAM>(each.buttonId), 0);
      } else {
        dialog.SendMessage(WM_SYSCOMMAND, each.menuCommand, 0);
      }
    });
  }
}

}  // namespace shortcuts
