// 保存: the circuit list and the board results into a new workbook.
#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/load_calc_core.h"
#include "calc/problem_texts.h"
#include "calc/results_target.h"
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

void AddBoardRow(CSpreadSheet& sheet, const CString& item, const CString& value) {
  CStringArray row;
  row.Add(item);
  row.Add(value);
  sheet.AddRow(row, 0, false);
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

  const std::unique_ptr<CSpreadSheet> openedBoard = CSpreadSheet::TryOpen(path, calc_text::BoardResultsSheet(), true, error);
  if (!openedBoard) return false;
  CSpreadSheet& board = *openedBoard;
  board.StoreNumbersIn(BoardNumberColumns());
  board.BeginTransaction();
  CStringArray boardHeaders;
  boardHeaders.Add(calc_text::ParameterItem());
  boardHeaders.Add(calc_text::ParameterValue());
  board.AddHeaders(boardHeaders, true);
  AddBoardRow(board, calc_text::PhaseLoad(1), FormatFixed(m_fL1));
  AddBoardRow(board, calc_text::PhaseLoad(2), FormatFixed(m_fL2));
  AddBoardRow(board, calc_text::PhaseLoad(3), FormatFixed(m_fL3));
  AddBoardRow(board, calc_text::Unbalance(), FormatFixed(m_fUnbalance));
  AddBoardRow(board, calc_text::EquipmentPower(), FormatFixed(m_fEquipPower));
  AddBoardRow(board, calc_text::CalculatedPower(), FormatFixed(m_fCalcPower));
  AddBoardRow(board, calc_text::PowerFactor(), FormatFixed(m_fPowerFactor));
  AddBoardRow(board, calc_text::DemandCoefficient(), FormatFixed(m_fDemandCoef));
  AddBoardRow(board, calc_text::CalculatedCurrent(), FormatFixed(m_fCurrent));
  AddBoardRow(board, calc_text::BoardSwitches(), boardSwitches);
  if (!board.Commit()) {
    error = ErrorOf(board);
    return false;
  }
  return true;
}
