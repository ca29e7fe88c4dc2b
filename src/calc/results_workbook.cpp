// 保存: the circuit list and the board results into a new workbook.
#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/load_calc_core.h"
#include "calc/problem_texts.h"
#include "calc/result_sheets.h"
#include "calc/results_target.h"
#include "calc/standard_results_sheet.h"
#include "calc/standard_texts.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"

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

  if (!WriteCircuitSheet(path, calc_text::CircuitResultsSheet(), m_astrHeaders, m_list, error)) return false;

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
