// The load calculation behind the main dialog: the circuit list and its
// captions, the nine board values, and the commands that read the input
// workbook, calculate, balance the phases and save the results. The dialog
// derives from it (class CLoadCalcDlg : public CDialog, public CLoadCalcCore);
// the command-line tool drives it on its own.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "calc/balance_outcome.h"
#include "calc/circuit_edit_state.h"
#include "calc/circuit_table.h"
#include "calc/extended_balance.h"
#include "calc/load_calc_host.h"
#include "calc/standard_method.h"
#include "calc/switch_combo_box.h"
#include "platform/text/cstring.h"
#include "platform/text/cstring_array.h"
#include "workbook/result.h"

enum class CalcMethod {
  Original,  // 原方法: the board's power factor and demand coefficient
  Standard,  // 规范法: the circuits' own Kx and cos φ, K∑p, K∑q, compensation
};

class CLoadCalcCore {
 public:
  // The references must outlive the core; they are not used during
  // construction, so a derived class may pass its own members.
  CLoadCalcCore(CircuitTable& list, SwitchComboBox& switches, LoadCalcHost& host);
  virtual ~CLoadCalcCore() = default;
  CLoadCalcCore(const CLoadCalcCore&) = delete;
  CLoadCalcCore& operator=(const CLoadCalcCore&) = delete;

  // The input workbook (circuit sheet and switch library), code page 936.
  // Initially GetWorkbookFolder() + "电气计算.xls".
  void SetWorkbookPath(const CString& path) { m_strWorkbook = path; }
  const CString& GetWorkbookPath() const { return m_strWorkbook; }

  // Empties the list, gives it the six input columns and empties the switch
  // combo box. Always true.
  bool ResetCircuitList();

  // 读取: fills the list from the circuit sheet under the wait cursor.
  // False (with the error shown, naming the file and the sheet) when the
  // workbook or its circuit sheet cannot be read. A sheet without circuits
  // and a backup sheet that could not be written (said once per workbook)
  // are said, and the read counts.
  bool ReadCircuits();

  // 计算 without the wait cursor (the caller shows it). True when it ran to
  // its end; false when refused (no rows, board power factor out of range)
  // or when the switch library could not be read (said with the file, the
  // sheet and why; nothing is calculated then).
  bool Calculate();

  // The switch models whose ratings reach the current: each name followed by
  // ";", in library order; empty when none qualifies, or when the library
  // could not be opened (then SwitchLookupFailure() says why).
  virtual CString FindSwitches(float current);
  const std::optional<xls::Error>& SwitchLookupFailure() const { return m_switchLookupFailure; }

  // 自动平衡: the best phase of every circuit, then Calculate(). Up to 19
  // circuits the exhaustive search's answer; 20 to 200 the extended method
  // when the host agrees (or the settings say so); `settings.below` asks for
  // the fewest moves under a bound instead. False when refused, declined or
  // cancelled (the list unchanged), or when the calculation afterwards was.
  bool AutoBalance(const BalanceSettings& settings = {});
  // What the last AutoBalance did, with the phases before and after.
  const BalanceOutcome& LastBalance() const { return m_lastBalance; }

  // 保存 after the file dialog: writes the two results sheets into `path`
  // (code page 936; ".xls" added when it has no extension), replacing the
  // file only once the new one is complete. Refuses names it cannot write
  // exactly, other extensions, targets that are not regular files and the
  // input workbook itself. Shows "文件写入成功!" or the error.
  bool SaveResults(const CString& path);

  // Editing the list. `column` is the list's column as shown (0 线路编号, 1 相别,
  // 2 设备功率, 3 需要系数, 4 功率因数, and 备注 wherever it stands: 5 before the
  // first 计算, 8 after). Refused (false, the message shown through the host, the
  // old value kept) for a value the calculation would refuse or a result column.
  // A change clears the board results (ClearResults) and marks the cell.
  bool EditCircuitCell(int row, int column, const CString& text);
  // A new empty circuit row after `row` (-1: at the end); returns its index.
  int AddCircuit(int afterRow);
  bool DeleteCircuit(int row);
  // Undoes the last edit, add, delete or balancing move; false when none.
  bool UndoEdit();
  bool CanUndo() const;
  // Marked: changed since 读取 or the last WriteBack (balancing moves count).
  bool IsCellEdited(int row, int column) const;
  bool HasUnwrittenEdits() const;
  // 写回工作簿: writes the list's circuits into the sheet "线路负荷计算" of
  // the workbook they were read from, changing only the changed cells; refuses
  // (message shown, nothing written) a read-only workbook, one open in another
  // program, or one changed on disk since 读取. Clears the marks on success.
  bool WriteBack();

  // Empties the seven board results, the switch box and the list's three
  // result columns: they no longer belong to the circuits shown.
  void ClearResults();
  // True once 计算 has run to its end on the list as it is now; 保存 and
  // the 计算书 refuse otherwise.
  bool ResultsCurrent() const { return m_resultsCurrent; }
  // 规范法's figures after the last successful 计算 with that method.
  const std::optional<StandardBoardResult>& LastStandard() const { return m_lastStandard; }

  CalcMethod m_method = CalcMethod::Original;
  StandardInputs m_standardInputs;

  CircuitTable& m_list;
  CStringArray m_astrHeaders;

  // Board values, in the dialog's exchange order.
  float m_fUnbalance = 0.0f;
  float m_fCurrent = 0.0f;
  float m_fL1 = 0.0f;
  float m_fL2 = 0.0f;
  float m_fL3 = 0.0f;
  float m_fEquipPower = 0.0f;
  float m_fCalcPower = 0.0f;
  float m_fPowerFactor = 0.5f;
  float m_fDemandCoef = 0.8f;

 protected:
  SwitchComboBox& m_switchBox;
  LoadCalcHost& m_host;

 private:
  bool CalculateChecked();
  bool SwitchLibraryReadable();
  void SayBackupProblem(const class CSpreadSheet& sheet);
  void EnsureResultColumns();
  bool CalculateStandardChecked();
  bool WriteCircuitRow(int row, float power, std::optional<float> current);
  void FillSwitchBox(const CString& candidates);
  bool FillBoardSwitches();
  bool WriteResultSheets(const CString& path, xls::Error& error);
  bool WriteStandardSheet(const CString& path, xls::Error& error);
  bool BalanceAndCalculate(const BalanceSettings& settings);
  bool Cancelled();
  bool TakeSearchResult(const ExtendedBalance& result, const BalanceSettings& settings, std::vector<int>& phases);
  void WritePhases(const std::vector<int>& rows, const std::vector<int>& phases);

  bool BoardInputsAreValid();
  bool CircuitsAreValid();

  // Editing (circuit_edits.cpp).
  void RememberReadCircuits(std::vector<SheetCircuit> circuits);
  int InputField(int column) const;  // -1 for a result column
  int ColumnOfField(int field) const;
  ListInputs CaptureInputs() const;
  void RestoreInputs(const ListInputs& inputs);
  void BeginChange();
  CString ShownFieldText(int row, int field) const;
  // Writing back (circuit_write_back.cpp).
  bool WriteBackChecked(const std::string& path);
  void RememberWrittenCircuits(const std::vector<long>& finalRows);

  CString m_strWorkbook;
  BalanceOutcome m_lastBalance;
  // True once the list holds what the circuit sheet gave (even nothing).
  bool m_bCircuitsRead = false;
  // Workbooks (UTF-8 paths) whose unwritten backup sheet has been said.
  std::set<std::string> m_backupProblemsSaid;
  bool m_resultsCurrent = false;
  std::optional<StandardBoardResult> m_lastStandard;
  std::optional<xls::Error> m_switchLookupFailure;  // of the last FindSwitches
  CircuitEditState m_edits;
};
