// 保存: the circuit list and the board results into a new workbook.
#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/load_calc_core.h"
#include "calc/problem_texts.h"
#include "calc/results_target.h"
#include "calc/standard_results_sheet.h"
#include "calc/standard_texts.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"

namespace {

constexpr int kSavedCellBytes = 259;

// The sheet's own error, or a plain one when it left none.
xls::Error ErrorOf(const CSpreadSheet& sheet) {
  const CString text = sheet.GetLastErrorText();
  return xls::MakeError(text.IsEmpty() ? std::string("write failed") : text.str(), sheet.GetLastErrorKind());
}

// The list's columns of quantities, saved as numbers so a designer can sum
// them; 线路编号 and 相别 are labels even when they read "1", and 可选开关
// and 备注 are free text.
CStringArray NumberColumns() {
  CStringArray names;
  for (const CString& name : {calc_text::EquipmentPower(), calc_text::DemandCoefficient(), calc_text::PowerFactor(),
                              calc_text::CalculatedPower(), calc_text::CalculatedCurrent()})
    names.Add(name);
  return names;
}

CStringArray BoardNumberColumns() {
  CStringArray names;
  names.Add(calc_text::ParameterValue());
  return names;
}

using ParameterRows = std::vector<std::pair<CString, CString>>;

// A sheet of 参数项 | 参数值 rows.
bool WriteParameterSheet(const CString& path, const CString& name, const ParameterRows& rows, xls::Error& error) {
  const std::unique_ptr<CSpreadSheet> opened = CSpreadSheet::TryOpen(path, name, true, error);
  if (!opened) return false;
  CSpreadSheet& sheet = *opened;
  sheet.StoreNumbersIn(BoardNumberColumns());
  sheet.BeginTransaction();
  CStringArray headers;
  headers.Add(calc_text::ParameterItem());
  headers.Add(calc_text::ParameterValue());
  sheet.AddHeaders(headers, true);
  for (const auto& [item, value] : rows) {
    CStringArray row;
    row.Add(item);
    row.Add(value);
    sheet.AddRow(row, 0, false);
  }
  if (sheet.Commit()) return true;
  error = ErrorOf(sheet);
  return false;
}

}  // namespace

// The existing target is not deleted first: the workbook is built whole in a
// private folder beside it and replaces it only once complete, so a failure
// (or the target being the input workbook, whose switch library the board
// row reads) never loses the file that was there.
bool CLoadCalcCore::SaveResults(const CString& requested) {
  if (!m_resultsCurrent) {
    m_host.ShowMessage(calc_text::CalculateFirst());
    return false;
  }
  TargetRefusal refusal;
  const std::optional<CString> target = CheckResultsTarget(requested, m_strWorkbook, refusal);
  if (!target) {
    m_host.ShowMessage(calc_text::TargetRefused(requested, refusal));
    return false;
  }
  xls::Error error;
  m_host.BeginWaitCursor();
  const ResultsScratch scratch(*target);
  const std::optional<CString> built = scratch.WorkbookPath(error);
  const bool written = built && WriteResultSheets(*built, error) && ReplaceWithFile(*built, *target, error);
  m_host.EndWaitCursor();
  m_host.ShowMessage(written ? calc_text::WriteSucceeded() : calc_text::WriteFailed(*target, calc_text::Reason(error)));
  return written;
}

bool CLoadCalcCore::WriteResultSheets(const CString& path, xls::Error& error) {
  // The board's switch text first: it reads the input workbook, and a failure
  // there should leave no half-written results.
  const CString boardSwitches = FindSwitches(m_fCurrent);
  if (SwitchLookupFailure()) {
    error = *SwitchLookupFailure();
    return false;
  }

  const std::unique_ptr<CSpreadSheet> opened = CSpreadSheet::TryOpen(path, calc_text::CircuitResultsSheet(), true, error);
  if (!opened) return false;
  CSpreadSheet& circuits = *opened;
  circuits.DeleteSheet();
  circuits.StoreNumbersIn(NumberColumns());
  circuits.BeginTransaction();
  CStringArray headers;
  headers.Copy(m_astrHeaders);
  circuits.AddHeaders(headers, false);
  const int rows = m_list.GetItemCount();
  for (int row = 0; row < rows; ++row) {
    CStringArray cells;
    for (int column = 0; column < m_astrHeaders.GetSize(); ++column)
      cells.Add(m_list.GetItemText(row, column, kSavedCellBytes));
    circuits.AddRow(cells, 0, false);
  }
  if (!circuits.Commit()) {
    error = ErrorOf(circuits);
    return false;
  }

  const ParameterRows board = {{calc_text::PhaseLoad(1), FormatFixed(m_fL1)},
                               {calc_text::PhaseLoad(2), FormatFixed(m_fL2)},
                               {calc_text::PhaseLoad(3), FormatFixed(m_fL3)},
                               {calc_text::Unbalance(), FormatFixed(m_fUnbalance)},
                               {calc_text::EquipmentPower(), FormatFixed(m_fEquipPower)},
                               {calc_text::CalculatedPower(), FormatFixed(m_fCalcPower)},
                               {calc_text::PowerFactor(), FormatFixed(m_fPowerFactor)},
                               {calc_text::DemandCoefficient(), FormatFixed(m_fDemandCoef)},
                               {calc_text::CalculatedCurrent(), FormatFixed(m_fCurrent)},
                               {calc_text::BoardSwitches(), boardSwitches}};
  if (!WriteParameterSheet(path, calc_text::BoardResultsSheet(), board, error)) return false;
  return WriteStandardSheet(path, error);
}

// Under 规范法 a third sheet with the method's inputs and figures.
bool CLoadCalcCore::WriteStandardSheet(const CString& path, xls::Error& error) {
  if (!m_lastStandard) return true;
  return WriteParameterSheet(path, calc_text::StandardResultsSheet(),
                             StandardSheetRows(*m_lastStandard, m_standardInputs), error);
}
