#include "app/load_calc_app.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "app/load_calc_dlg.h"
#include "app/workbook_handoff.h"
#include "platform/ui/instance_lock.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/resources.h"
#include "platform/text/encoding.h"
#include "res/ui/resource.h"

BOOL CLoadCalcApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();
  // Boxes carry the program's title, never the executable's name.
  if (const DialogTemplate* main = FindDialogTemplate(IDD_LOADCALC_DIALOG))
    SetMessageBoxCaption(FromUtf8(main->captionUtf8));

  // The lock lives until the process ends; a second copy of the same name
  // finds it taken.
  CreateMutex(nullptr, TRUE, m_pszAppName);
  const QString socketName = WorkbookSocketName(ToQString(MutexLockPath(m_pszAppName)));
  // loadcalc [WORKBOOK]: the dialog works on that workbook instead of the default one.
  const QStringList arguments = QCoreApplication::arguments();
  const QString workbook = arguments.size() > 1 ? QFileInfo(arguments.at(1)).absoluteFilePath() : QString();
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (!workbook.isEmpty() && HandWorkbookToRunningCopy(socketName, workbook)) return FALSE;
    AfxMessageBox(Cp936("Excel文件操作示例程序已经运行!"));
    return FALSE;
  }

  SetDialogBkColor(RGB(160, 180, 220), RGB(0, 0, 0));

  CLoadCalcDlg dlg;
  if (!workbook.isEmpty()) dlg.ChooseWorkbook(FromQString(workbook));
  WorkbookReceiver receiver(socketName, [&dlg](const QString& handed) { dlg.OpenHandedWorkbook(FromQString(handed)); });
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}
