// The main dialog's window beyond its template: it grows with the window,
// takes its keys, offers its commands in the context menu with their keys,
// stays on top only when wanted, and opens where it was last.
#include <QTableView>

#include "app/dialog_layout.h"
#include "app/focus_frame.h"
#include "app/list_columns.h"
#include "app/load_calc_dlg.h"
#include "app/shortcuts.h"
#include "app/window_placement.h"
#include "app/window_settings.h"
#include "calc/program_folder.h"
#include "platform/ui/qt_text.h"

namespace {

// A menu item's text with its key after a tab, as menus show keys.
CString WithKey(const CString& text, const QString& key) {
  return key.isEmpty() ? text : text + "\t" + FromQString(key);
}

}  // namespace

void CLoadCalcDlg::SetUpWindow() {
  QWidget* window = GetWidget();
  auto* layout = new DialogLayout(window);
  if (auto* view = qobject_cast<QTableView*>(m_listView.GetWidget())) {
    m_listColumns = new ListColumns(view, window_settings::LoadColumnWidths());
    new FocusFrame(view);
  }
  m_placementKeeper = new PlacementKeeper(window, m_listColumns);
  window_placement::Restore(window, *layout, window_settings::LoadPlacement());
  SetAlwaysOnTop(window_settings::LoadAlwaysOnTop());
  shortcuts::Install(*this);
}

void CLoadCalcDlg::BuildContextMenu(const CString& aboutItem) {
  CMenu* menu = GetSystemMenu(FALSE);
  struct ButtonItem {
    int buttonId;
    const char* text;
  };
  for (const ButtonItem& item : {ButtonItem{IDOK, "读取"}, ButtonItem{IDC_CALC, "计算"},
                                 ButtonItem{IDC_AUTO_BALANCE, "自动平衡"}, ButtonItem{IDC_SAVE, "保存"}}) {
    const UINT command = shortcuts::MenuCommandOfButton(item.buttonId);
    menu->AppendMenu(MF_STRING, command, WithKey(Cp936(item.text), shortcuts::KeyOfMenuCommand(command)));
  }
  AppendEditMenuItems(*menu);
  menu->AppendMenu(MF_SEPARATOR);
  menu->AppendMenu(MF_STRING, shortcuts::kOpenWorkbookCommand,
                   WithKey(Cp936("打开工作簿(&O)…"), shortcuts::KeyOfMenuCommand(shortcuts::kOpenWorkbookCommand)));
  menu->AppendMenu(MF_STRING, IDM_EXPORT_REPORT,
                   WithKey(Cp936("导出计算书…"), shortcuts::KeyOfMenuCommand(IDM_EXPORT_REPORT)));
  AppendSystemItem(*menu);
  menu->AppendMenu(MF_SEPARATOR);
  menu->AppendMenu(MF_STRING, shortcuts::kAlwaysOnTopCommand, Cp936("总在最前"));
  menu->AppendMenu(MF_SEPARATOR);
  AppendCalcMethodItems(*menu);
  menu->AppendMenu(MF_SEPARATOR);
  menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, WithKey(aboutItem, shortcuts::KeyOfMenuCommand(IDM_ABOUTBOX)));
}

bool CLoadCalcDlg::RunWindowCommand(UINT nID) {
  if ((nID & 0xFFF0) == shortcuts::kAlwaysOnTopCommand) {
    SetAlwaysOnTop(!IsAlwaysOnTop());
    window_settings::SaveAlwaysOnTop(IsAlwaysOnTop());
    return true;
  }
  const int button = shortcuts::ButtonOfMenuCommand(nID);
  if (button == 0 || button == IDC_ABOUT) return false;
  SendMessage(WM_COMMAND, static_cast<WPARAM>(button), 0);
  return true;
}

void CLoadCalcDlg::SetAlwaysOnTop(bool onTop) {
  if (QWidget* window = GetWidget()) window_placement::SetAlwaysOnTop(window, onTop);
  GetSystemMenu(FALSE)->CheckMenuItem(shortcuts::kAlwaysOnTopCommand, onTop ? MF_CHECKED : 0);
}

bool CLoadCalcDlg::IsAlwaysOnTop() const {
  return GetWidget() && (GetWidget()->windowFlags() & Qt::WindowStaysOnTopHint);
}

void CLoadCalcDlg::RememberWindow() const {
  if (m_placementKeeper) m_placementKeeper->SaveNow();
}

save_dialogs::Request CLoadCalcDlg::SaveRequest(save_dialogs::Kind kind) const {
  const bool isDefault = GetWorkbookPath() == GetWorkbookFolder() + InputWorkbookName();
  return {kind, ToQString(GetWorkbookPath()), isDefault};
}
