#include "app/load_calc_app.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "app/load_calc_dlg.h"
#include "platform/ui/instance_lock.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"

BOOL CLoadCalcApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();

  // The lock lives until the process ends; a second copy of the same name
  // finds it taken.
  CreateMutex(nullptr, TRUE, m_pszAppName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    AfxMessageBox(Cp936("Excel文件操作示例程序已经运行!"));
    return FALSE;
  }

  SetDialogBkColor(RGB(160, 180, 220), RGB(0, 0, 0));

  CLoadCalcDlg dlg;
  // loadcalc [WORKBOOK]: the dialog works on that workbook instead of the default one.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) dlg.ChooseWorkbook(FromQString(QFileInfo(arguments.at(1)).absoluteFilePath()));
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}
