// CLoadCalcDlg: the program's window. It shows the circuit list, the board
// results, the switch choice and the command buttons; the calculation
// itself is the core it derives from, which reaches back through the host
// interface for message boxes, data exchange and the wait cursor.
#pragma once

#include <ctime>
#include <optional>
#include <memory>

#include "app/calc_method_settings.h"
#include "app/circuit_list_model.h"
#include "app/save_dialogs.h"
#include "app/standard_method_panel.h"
#include "app/switch_combo.h"
#include "calc/board_state.h"
#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "controls/flat_edit.h"
#include "controls/xp_button.h"
#include "platform/gdi/brush.h"
#include "platform/ui/button.h"
#include "platform/ui/dialog.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/progress_window.h"
#include "report/calculation_report.h"
#include "report/phase_record.h"
#include "res/ui/resource.h"
#include "tooltip/glint_tooltip.h"

class CLoadCalcDlg : public CDialog, public CLoadCalcCore, private LoadCalcHost {
 public:
  explicit CLoadCalcDlg(CWnd* pParent = nullptr);
  ~CLoadCalcDlg() override;
  enum { IDD = IDD_LOADCALC_DIALOG };

  BOOL PreTranslateMessage(MSG* pMsg) override;
  HICON OnQueryDragIcon() const { return m_hIcon; }

  // Commands, as the buttons send them.
  void OnOK() override;
  void OnWrite();
  void OnAbout();
  void OnQuery();
  void OnCalc();
  void OnAutoBalance();
  void OnSave();
  void OnExportReport();
  // 打开工作簿…: a file dialog, then the chosen workbook is read as 读取 reads.
  void OnOpenWorkbook();
  // Reads another workbook (打开工作簿…, a drop, a second start with a file),
  // after asking when unsaved work would be lost. When it cannot be read,
  // the workbook before stays, with its circuits and title.
  bool OpenWorkbook(const CString& path);
  // A workbook handed over by a second start: opened as above, and the
  // window comes to the front.
  void OpenHandedWorkbook(const CString& path);
  // Closing (退出, Escape, the close box) asks first when work is unsaved.
  void OnCancel() override;

  // 配电系统…: a file dialog for the system workbook, then the building's
  // window (load_calc_dlg_system.cpp).
  void OnSystem();
  // The workbook the dialog works on from now on; the title names it unless
  // it is the default one beside the program.
  void ChooseWorkbook(const CString& path);

  // Editing the list (circuit_edit_commands.cpp): 添加回路 after the row of
  // the context menu or the current row, 删除回路 of the selected rows (or
  // the row of the context menu), 撤销 and 写回工作簿.
  void OnAddCircuit();
  void OnDeleteCircuit();
  void OnUndoEdit();
  void OnWriteBack();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSysCommand(UINT nID, LPARAM lParam) override;
  void OnPaint() override;
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
  void OnContextMenu(POINT screenPoint) override;

  // Controls, in the window's declaration order. Each binds to its
  // template control in DoDataExchange.
  CFlatEdit m_editL1;
  CFlatEdit m_editL2;
  CFlatEdit m_editL3;
  CXPButton m_btnSave;
  CXPButton m_btnAutoBalance;
  CSwitchComboBox m_cbSwitch;
  CXPButton m_btnCalc;
  CListCtrl m_listView;  // shows m_list
  CFlatEdit m_editRow;
  CFlatEdit m_editCol;
  CXPButton m_btnRead;
  CXPButton m_btnExit;
  CXPButton m_btnWrite;
  CXPButton m_btnQuery;
  CXPButton m_btnAbout;
  CButton m_chkConvert;
  CString m_strRow;
  CString m_strCol;
  HICON m_hIcon = nullptr;
  // Declared last, so destroyed first: its window belongs to the dialog.
  CGlintTooltip m_tooltip;

  // The window beyond its template: layout, keys, the context menu, what it
  // keeps between starts (load_calc_dlg_window.cpp).
  void SetUpWindow();
  void BuildContextMenu(const CString& aboutItem);
  // Runs the context-menu commands of the window; false for the others.
  bool RunWindowCommand(UINT nID);
  void SetAlwaysOnTop(bool onTop);
  bool IsAlwaysOnTop() const;
  // Writes the window's place, size and column widths now (done when it closes).
  void RememberWindow() const;
  save_dialogs::Request SaveRequest(save_dialogs::Kind kind) const;
  class ListColumns* m_listColumns = nullptr;        // owned by the list's widget
  // Editing the list in place, its context-menu items and their state.
  void SetUpCellEditing();
  void AppendEditMenuItems(CMenu& menu);
  bool RunEditCommand(UINT nID);
  bool EditCell(int row, int column, const CString& text);
  // After every change of the list: the marks and the title follow it.
  void AfterListEdited();
  // After an edit, addition, deletion or undo: the 计算书 reports the
  // phases of 自动平衡 only while the list still holds what it left.
  void ForgetBalancingIfChanged();
  std::vector<int> RowsToDelete() const;
  class ListCellEditor* m_cellEditor = nullptr;  // owned by the list's widget
  bool m_bListFromWorkbook = false;              // a workbook's circuits are in the list
  int m_nMenuRow = -1;  // the row under the context menu's point, -1 for none
  class PlacementKeeper* m_placementKeeper = nullptr;  // owned by the dialog's widget

 private:
  // What the calculation asks of the window.
  void ShowMessage(const CString& text) override;
  void ExchangeBoardData(bool saveAndValidate) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  bool OfferAlternative(const CString& refusal, const CString& question) override;
  bool ContinueBalancing(double share) override;
  void BoardResultsCleared() override;

  // True when nothing unsaved is in the list, or the user gives it up.
  bool ConfirmDiscard();
  // 读取 without asking: the list becomes the workbook's again.
  bool ReadList();
  // Enter in 功率因数 or 需要系数 calculates instead of 读取.
  bool EnterCalculates(const MSG* pMsg);
  void AfterBalance(bool calculated);

  void ShowAboutBox();
  // 计算方法 and the fewest-moves balancing (load_calc_dlg_method.cpp).
  void AppendCalcMethodItems(CMenu& menu);
  void SetUpCalcMethod();
  bool OnCalcMethodCommand(UINT command);
  void ShowCalcMethod();
  void RememberCalcMethod() const;
  void AppendSystemItem(CMenu& menu);
  static constexpr UINT kSystemCommand = 0x0230;  // 配电系统…, beside the method's commands
  class SystemWindow* m_systemWindow = nullptr;  // owned by the dialog's widget
  bool m_bFewestMoves = false;
  StandardMethodPanel* m_standardPanel = nullptr;  // owned by the dialog's widget
  // What the 计算书 of the results on screen needs besides them.
  report::ReportSource ReportSource() const;
  // After a balancing that wrote phases: its time and phases for the report.
  void RememberBalancing();
  void UpdateTitle();
  CString m_strBaseTitle;  // the dialog's own caption
  bool m_bWorkbookChosen = false;  // by the command line, 打开工作簿… or a drop
  // Runs a command; a workbook that cannot be opened ends it with its error.
  template <class Command>
  void RunCommand(Command command);

  // What the 计算书 needs besides the results on screen: when they were
  // calculated, and the phases before and after 自动平衡 since the last read.
  std::time_t m_calculatedAt = 0;
  std::optional<report::PhaseRecord> m_balancedPhases;

  MemoryCircuitTable m_circuits;  // the circuit list's rows, behind m_list
  BoardState m_boardState{m_circuits};
  CircuitListModel m_listModel{m_circuits};
  CBrush m_brListBackground;
  // Shown while a balancing runs long; made on its first report.
  std::unique_ptr<CProgressWindow> m_balanceProgress;
};
