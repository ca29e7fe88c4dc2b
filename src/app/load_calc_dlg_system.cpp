// 配电系统… on the context menu: the building's window, whose boards open in
// this dialog on a double-click.
#include "app/load_calc_dlg.h"
#include "app/system_window.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/qt_text.h"

namespace {

constexpr const char kSystemFilter[] = "配电系统工作簿 (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm|所有文件 (*.*)|*.*||";

}  // namespace

// Beside the other commands that open a file.
void CLoadCalcDlg::AppendSystemItem(CMenu& menu) { menu.AppendMenu(MF_STRING, kSystemCommand, Cp936("配电系统…")); }

void CLoadCalcDlg::OnSystem() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, Cp936(kSystemFilter), this);
  if (dialog.DoModal() != static_cast<int>(IDOK)) return;
  if (m_systemWindow) m_systemWindow->deleteLater();
  m_systemWindow = new SystemWindow(GetWidget(), dialog.GetPathName(), [this](const CString& workbook) {
    ChooseWorkbook(workbook);
    OnOK();
    GetWidget()->raise();
    GetWidget()->activateWindow();
  });
  m_systemWindow->setAttribute(Qt::WA_DeleteOnClose, false);
  m_systemWindow->show();
}
