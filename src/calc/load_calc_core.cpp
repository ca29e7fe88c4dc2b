// The circuit list's columns and the read command (读取).
#include "calc/load_calc_core.h"

#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "calc/workbook_files.h"
#include "calc/program_folder.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"

#include <vector>

namespace {

struct ColumnSpec {
  CString (*caption)();
  int width;
};

const ColumnSpec kInputColumns[] = {
    {calc_text::CircuitNumber, 100}, {calc_text::Phase, 70},       {calc_text::EquipmentPower, 70},
    {calc_text::DemandCoefficient, 70}, {calc_text::PowerFactor, 70}, {calc_text::Remark, 120},
};

}  // namespace

CLoadCalcCore::CLoadCalcCore(CircuitTable& list, SwitchComboBox& switches, LoadCalcHost& host)
    : m_list(list), m_switchBox(switches), m_host(host), m_strWorkbook(GetWorkbookFolder() + InputWorkbookName()) {}

bool CLoadCalcCore::ResetCircuitList() {
  m_list.DeleteAllItems();
  while (m_list.DeleteColumn(0)) {
  }
  m_astrHeaders.RemoveAll();
  for (const ColumnSpec& column : kInputColumns) m_astrHeaders.Add(column.caption());
  for (int i = 0; i < m_astrHeaders.GetSize(); ++i) m_list.InsertColumn(i, m_astrHeaders[i], kInputColumns[i].width);
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_switchBox.ResetContent();
  m_bCircuitsRead = false;
  m_edits = CircuitEditState{};
  ClearResults();
  return true;
}

namespace {
// A row with no text in any cell is no circuit (a stray cell far below the
// board makes the sheet that long).
bool HoldsAnything(const CStringArray& values) {
  for (int k = 0; k < values.GetSize(); ++k)
    if (!values[k].IsEmpty()) return true;
  return false;
}

// The wait cursor for a scope, ended also when a read throws.
class WaitCursorScope {
 public:
  explicit WaitCursorScope(LoadCalcHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
  ~WaitCursorScope() { m_host.EndWaitCursor(); }
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;

 private:
  LoadCalcHost& m_host;
};
}  // namespace

bool CLoadCalcCore::ReadCircuits() {
  // What the name is comes first: a folder is said as a folder, a missing
  // file as missing, whatever the name's extension.
  if (!workbook_files::IsExactName(m_strWorkbook)) {
    m_host.ShowMessage(calc_text::WorkbookUnreadable(m_strWorkbook, calc_text::NameNotExact()));
    return false;
  }
  if (const std::optional<xls::Error> problem = workbook_files::InputProblem(m_strWorkbook)) {
    m_host.ShowMessage(problem->kind == xls::ErrorKind::NotFound
                           ? calc_text::WorkbookNotFound(m_strWorkbook)
                           : calc_text::WorkbookUnreadable(m_strWorkbook, calc_text::Reason(*problem)));
    return false;
  }
  // Any other name would be read and backed up as a text table; such a file
  // is refused before anything is opened or written.
  if (!CSpreadSheet::IsWorkbookFile(m_strWorkbook)) {
    m_host.ShowMessage(calc_text::WorkbookUnreadable(m_strWorkbook, calc_text::NotAWorkbookFile()));
    return false;
  }
  xls::Error failure;
  const std::unique_ptr<CSpreadSheet> opened = CSpreadSheet::TryOpen(m_strWorkbook, calc_text::CircuitSheet(), true, failure);
  if (!opened) {
    m_host.ShowMessage(calc_text::WorkbookUnreadable(m_strWorkbook, calc_text::Reason(failure)));
    return false;
  }
  CSpreadSheet& sheet = *opened;
  if (!sheet.GetOpenError().text.empty()) {
    m_host.ShowMessage(calc_text::SheetUnreadable(m_strWorkbook, calc_text::CircuitSheet(), sheet.GetOpenError()));
    return false;
  }
  SayBackupProblem(sheet);
  const WaitCursorScope wait(m_host);
  // The list changes only once every row is read: a failure leaves it as it was.
  std::vector<CStringArray> circuits;
  std::vector<SheetCircuit> asRead;  // with the sheet rows, for writing back
  const long rows = sheet.GetTotalRows();
  for (long r = 2; r <= rows; ++r) {
    CStringArray values;
    sheet.ReadRow(values, r);
    if (!HoldsAnything(values)) continue;
    SheetCircuit circuit{r, {}};
    for (int k = 0; k < values.GetSize() && k < kInputFields; ++k) circuit.texts[static_cast<size_t>(k)] = values[k];
    asRead.push_back(std::move(circuit));
    circuits.push_back(std::move(values));
  }
  ResetCircuitList();
  for (const CStringArray& values : circuits) {
    const int item = m_list.InsertItem(m_list.GetItemCount(), values.IsEmpty() ? CString() : values[0]);
    for (int k = 0; k < values.GetSize(); ++k) m_list.SetItemText(item, k, values[k]);
  }
  m_bCircuitsRead = true;
  RememberReadCircuits(std::move(asRead));
  if (m_list.GetItemCount() == 0) m_host.ShowMessage(calc_text::NoCircuits(m_strWorkbook));
  return true;
}

// The backup keeps the circuit sheet as it was before the program first
// changed the workbook; when it cannot be written the user hears it once
// per workbook, and reading goes on.
void CLoadCalcCore::SayBackupProblem(const CSpreadSheet& sheet) {
  const xls::Error& error = sheet.GetBackupError();
  if (error.text.empty() || !m_backupProblemsSaid.insert(ToUtf8(m_strWorkbook)).second) return;
  m_host.ShowMessage(calc_text::BackupNotWritten(m_strWorkbook, error));
}
