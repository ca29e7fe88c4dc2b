// 写回工作簿: the list's circuits into the circuit sheet of the workbook
// they were read from, changing only what changed there.
#include "calc/calc_texts.h"
#include "calc/edit_texts.h"
#include "calc/load_calc_core.h"
#include "calc/write_back_plan.h"
#include "platform/text/encoding.h"
#include "sql/connection_book.h"
#include "workbook/unicode_text.h"

namespace {

// The content's identity: a change of permissions alone (as when the user
// makes a refused read-only workbook writable again) keeps the edits.
bool SameAsOnDisk(const std::string& path, const std::optional<xls::FileIdentity>& identity) {
  const auto now = xls::IdentityAt(path);
  return identity && now && now->device == identity->device && now->inode == identity->inode &&
         now->size == identity->size && now->modified_seconds == identity->modified_seconds &&
         now->modified_nanoseconds == identity->modified_nanoseconds;
}

// The circuits as the sheet holds them now, compared as the list read them,
// so that a change the file's identity missed is not overwritten either.
bool SheetHoldsCircuits(const xls::Grid& grid, const std::vector<SheetCircuit>& circuits) {
  for (const SheetCircuit& circuit : circuits) {
    if (circuit.sheetRow == 0) continue;
    const size_t row = static_cast<size_t>(circuit.sheetRow - 1);
    for (size_t field = 0; field < circuit.texts.size(); ++field) {
      const bool present = row < grid.size() && field < grid[row].size();
      const CString text = present ? FromUtf8(xls::Utf16ToUtf8(grid[row][field])) : CString();
      if (text != circuit.texts[field]) return false;
    }
  }
  return true;
}

}  // namespace

bool CLoadCalcCore::WriteBack() {
  if (!m_edits.read || m_edits.origins.size() != static_cast<size_t>(m_list.GetItemCount())) {
    m_host.ShowMessage(calc_text::NothingReadToWriteBack());
    return false;
  }
  if (!HasUnwrittenEdits()) return true;
  return WriteBackChecked(ToUtf8(m_strWorkbook));
}

bool CLoadCalcCore::WriteBackChecked(const std::string& path) {
  const auto refuse = [&](const xls::Error& error) {
    m_host.ShowMessage(calc_text::WriteBackFailed(m_strWorkbook, error));
    return false;
  };
  if (!SameAsOnDisk(path, m_edits.identity)) {
    m_host.ShowMessage(calc_text::WorkbookChangedSinceRead(m_strWorkbook));
    return false;
  }
  auto book = xls::LoadSheetBook(path);
  if (!book) return refuse(book.error());
  const auto sheet = (*book)->FindSheet(xls::Utf8ToUtf16(ToUtf8(calc_text::CircuitSheet())));
  if (!sheet) return refuse(xls::MakeError("The circuit sheet is gone", xls::ErrorKind::NoSuchSheet));
  const auto grid = (*book)->ReadSheet(*sheet);
  if (!grid) return refuse(grid.error());
  if (!SheetHoldsCircuits(*grid, m_edits.circuits)) {
    m_host.ShowMessage(calc_text::CircuitSheetChangedSinceRead(m_strWorkbook));
    return false;
  }
  const WriteBackPlan plan = PlanWriteBack(m_edits.circuits, CaptureInputs());
  if (auto updated = (*book)->UpdateCells(*sheet, plan.update); !updated) return refuse(updated.error());
  if (!SameAsOnDisk(path, m_edits.identity)) {
    m_host.ShowMessage(calc_text::WorkbookChangedSinceRead(m_strWorkbook));
    return false;
  }
  if (auto saved = (*book)->Save(path); !saved) return refuse(saved.error());
  RememberWrittenCircuits(plan.finalRows);
  m_host.ShowMessage(calc_text::WrittenBack(m_strWorkbook));
  return true;
}

// What was written is what the sheet holds now: the marks clear, and the
// circuits deleted from the sheet are no longer in it.
void CLoadCalcCore::RememberWrittenCircuits(const std::vector<long>& finalRows) {
  const ListInputs now = CaptureInputs();
  std::vector<bool> inList(m_edits.circuits.size(), false);
  for (size_t row = 0; row < finalRows.size(); ++row) {
    int& origin = m_edits.origins[row];
    if (!m_edits.OriginOf(static_cast<int>(row))) {
      origin = static_cast<int>(m_edits.circuits.size());
      m_edits.circuits.push_back({});
      inList.push_back(false);
    }
    SheetCircuit& circuit = m_edits.circuits[static_cast<size_t>(origin)];
    circuit.sheetRow = finalRows[row];
    circuit.texts = now.cells[row];
    inList[static_cast<size_t>(origin)] = true;
  }
  for (size_t i = 0; i < m_edits.circuits.size(); ++i)
    if (!inList[i]) m_edits.circuits[i].sheetRow = 0;
  if (auto identity = xls::IdentityAt(ToUtf8(m_strWorkbook))) m_edits.identity = *identity;
}
