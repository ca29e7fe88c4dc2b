// Editing the circuit list in place: checked values, added and deleted rows,
// and undo. Every change clears the board results, which no longer belong
// to the list, and is remembered as one step to undo.
#include <algorithm>

#include "calc/calc_texts.h"
#include "calc/circuit_validation.h"
#include "calc/edit_texts.h"
#include "calc/load_calc_core.h"
#include "platform/text/encoding.h"

namespace {
constexpr int kRemarkField = 5;
constexpr int kRemarkAfterResults = 8;
}  // namespace

void CLoadCalcCore::RememberReadCircuits(std::vector<SheetCircuit> circuits) {
  m_edits = CircuitEditState{};
  m_edits.read = true;
  for (size_t i = 0; i < circuits.size(); ++i) m_edits.origins.push_back(static_cast<int>(i));
  m_edits.circuits = std::move(circuits);
  if (auto identity = xls::IdentityAt(ToUtf8(m_strWorkbook))) m_edits.identity = *identity;
}

// The result columns stand between 功率因数 and 备注 once calculated.
int CLoadCalcCore::InputField(int column) const {
  const bool resultsShown = m_astrHeaders.GetSize() > kRemarkField && m_astrHeaders[kRemarkField] == calc_text::CalculatedPower();
  if (column >= 0 && column < kRemarkField) return column;
  if (column == (resultsShown ? kRemarkAfterResults : kRemarkField)) return kRemarkField;
  return -1;
}

int CLoadCalcCore::ColumnOfField(int field) const {
  if (field < kRemarkField) return field;
  return InputField(kRemarkField) == kRemarkField ? kRemarkField : kRemarkAfterResults;
}

CString CLoadCalcCore::ShownFieldText(int row, int field) const { return m_list.GetItemText(row, ColumnOfField(field)); }

ListInputs CLoadCalcCore::CaptureInputs() const {
  ListInputs inputs;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    CircuitInputs cells;
    for (int field = 0; field < kInputFields; ++field) cells[static_cast<size_t>(field)] = ShownFieldText(row, field);
    inputs.cells.push_back(cells);
  }
  inputs.origins = m_edits.origins;
  return inputs;
}

// Called with the results cleared, so the fields are the list's first columns.
void CLoadCalcCore::RestoreInputs(const ListInputs& inputs) {
  const int rows = static_cast<int>(inputs.cells.size());
  if (rows != m_list.GetItemCount()) {
    m_list.DeleteAllItems();
    for (int row = 0; row < rows; ++row) m_list.InsertItem(row, CString());
  }
  for (int row = 0; row < rows; ++row)
    for (int field = 0; field < kInputFields; ++field) {
      const CString& text = inputs.cells[static_cast<size_t>(row)][static_cast<size_t>(field)];
      if (m_list.GetItemText(row, field) != text) m_list.SetItemText(row, field, text);
    }
  m_edits.origins = inputs.origins;
}

void CLoadCalcCore::BeginChange() {
  m_edits.undo.push_back(CaptureInputs());
  ClearResults();
}

bool CLoadCalcCore::EditCircuitCell(int row, int column, const CString& text) {
  if (row < 0 || row >= m_list.GetItemCount()) return false;
  const int field = InputField(column);
  if (field < 0) {
    m_host.ShowMessage(calc_text::ResultNotEditable());
    return false;
  }
  const CircuitValueProblem problem = CheckCircuitValue(field, text);
  if (problem != CircuitValueProblem::None) {
    m_host.ShowMessage(calc_text::ValueRefused(problem, m_list.GetColumnCaption(column), text));
    return false;
  }
  if (ShownFieldText(row, field) == text) return true;
  BeginChange();
  m_list.SetItemText(row, ColumnOfField(field), text);
  return true;
}

int CLoadCalcCore::AddCircuit(int afterRow) {
  if (m_list.GetColumnCount() == 0) return -1;
  const int count = m_list.GetItemCount();
  const int at = afterRow < 0 ? count : std::min(afterRow + 1, count);
  BeginChange();
  const int inserted = m_list.InsertItem(at, CString());
  m_edits.origins.insert(m_edits.origins.begin() + inserted, -1);
  return inserted;
}

bool CLoadCalcCore::DeleteCircuit(int row) {
  if (row < 0 || row >= m_list.GetItemCount()) return false;
  BeginChange();
  m_list.DeleteItem(row);
  m_edits.origins.erase(m_edits.origins.begin() + row);
  return true;
}

bool CLoadCalcCore::UndoEdit() {
  if (m_edits.undo.empty()) return false;
  const ListInputs before = std::move(m_edits.undo.back());
  m_edits.undo.pop_back();
  ClearResults();
  RestoreInputs(before);
  return true;
}

bool CLoadCalcCore::CanUndo() const { return !m_edits.undo.empty(); }

bool CLoadCalcCore::IsCellEdited(int row, int column) const {
  if (row < 0 || row >= m_list.GetItemCount()) return false;
  const int field = InputField(column);
  if (field < 0) return false;
  const SheetCircuit* origin = m_edits.OriginOf(row);
  return origin == nullptr || origin->texts[static_cast<size_t>(field)] != m_list.GetItemText(row, column);
}

bool CLoadCalcCore::HasUnwrittenEdits() const {
  size_t inSheet = 0;
  for (const SheetCircuit& circuit : m_edits.circuits) inSheet += circuit.sheetRow != 0 ? 1 : 0;
  size_t kept = 0;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    if (m_edits.OriginOf(row) == nullptr) return true;
    ++kept;
    for (int field = 0; field < kInputFields; ++field)
      if (IsCellEdited(row, ColumnOfField(field))) return true;
  }
  return kept != inSheet;
}
