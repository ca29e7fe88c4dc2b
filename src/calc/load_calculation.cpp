// 计算: every circuit's calculated power, current and switches, then the
// board's phase loads, unbalance, powers, current and switch choice, by the
// method chosen. The figures come from the typed calculation; this file
// writes them into the list and the board fields.
#include <algorithm>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/circuit.h"
#include "calc/circuit_validation.h"
#include "calc/load_calc_core.h"
#include "calc/original_method.h"
#include "calc/problem_texts.h"
#include "calc/standard_texts.h"

bool CLoadCalcCore::Calculate() {
  m_resultsCurrent = false;
  m_lastStandard.reset();
  m_host.ExchangeBoardData(true);
  if (m_list.GetItemCount() <= 0) {
    m_host.ShowMessage(m_bCircuitsRead ? calc_text::NoCircuits(m_strWorkbook) : calc_text::ReadDataFirst());
    return false;
  }
  if (!BoardInputsAreValid() || !CircuitsAreValid()) return false;
  m_resultsCurrent = m_method == CalcMethod::Standard ? CalculateStandardChecked() : CalculateChecked();
  if (!m_resultsCurrent && SwitchLookupFailure())
    m_host.ShowMessage(calc_text::SheetUnreadable(m_strWorkbook, calc_text::SwitchLibrarySheet(), *SwitchLookupFailure()));
  return m_resultsCurrent;
}

// Results shown from earlier inputs would be taken for these. 规范法 uses
// neither the board's power factor nor its demand coefficient.
bool CLoadCalcCore::BoardInputsAreValid() {
  CString refusal;
  if (m_method == CalcMethod::Standard) {
    const StandardInputProblem problem = CheckStandardInputs(m_standardInputs);
    if (problem != StandardInputProblem::None) refusal = calc_text::StandardInputRange(problem);
  } else if (!IsValidOriginalPowerFactor(m_fPowerFactor)) {
    refusal = calc_text::BoardPowerFactorRange();
  } else if (!IsBoardDemandCoefficient(m_fDemandCoef)) {
    refusal = BoardDemandCoefficientRange();
  }
  if (refusal.IsEmpty()) return true;
  ClearResults();
  m_host.ShowMessage(refusal);
  return false;
}

bool CLoadCalcCore::CalculateChecked() {
  if (!SwitchLibraryReadable()) return false;
  const std::vector<Circuit> circuits = ::ReadCircuits(m_list);
  const OriginalBoardResult board = CalculateOriginal(circuits, m_fPowerFactor, m_fDemandCoef);
  EnsureResultColumns();
  for (size_t i = 0; i < circuits.size(); ++i) {
    const auto row = static_cast<int>(i);
    const OriginalCircuitResult& result = board.circuits[i];
    // The refusal comes before anything of the row is written.
    if (!result.powerFactorValid) m_host.ShowMessage(CircuitPowerFactorRefusal(circuits[i].number));
    if (!WriteCircuitRow(row, result.power, result.current)) return false;
    if (circuits[i].kind == PhaseKind::Invalid)
      m_host.ShowMessage(circuits[i].number + calc_text::InvalidPhaseSuffix());
  }
  m_fL1 = board.phaseLoads[0];
  m_fL2 = board.phaseLoads[1];
  m_fL3 = board.phaseLoads[2];
  m_fUnbalance = board.unbalance;
  m_fEquipPower = board.equipmentPower;
  m_fCalcPower = board.calculatedPower;
  m_fCurrent = board.current;
  if (!FillBoardSwitches()) return false;
  m_host.ExchangeBoardData(false);
  return true;
}

bool CLoadCalcCore::CalculateStandardChecked() {
  if (!SwitchLibraryReadable()) return false;
  // The circuits passed CircuitsAreValid with every phase known.
  const std::vector<Circuit> circuits = ::ReadCircuits(m_list);
  const StandardBoardResult board = CalculateStandard(circuits, m_standardInputs);
  EnsureResultColumns();
  for (size_t i = 0; i < circuits.size(); ++i)
    if (!WriteCircuitRow(static_cast<int>(i), static_cast<float>(board.circuits[i].pjs),
                         static_cast<float>(board.circuits[i].ijs)))
      return false;
  const double third = board.threePhaseP / 3.0;
  m_fL1 = static_cast<float>(board.phaseP[0] + third);
  m_fL2 = static_cast<float>(board.phaseP[1] + third);
  m_fL3 = static_cast<float>(board.phaseP[2] + third);
  m_fUnbalance = static_cast<float>(board.unbalance);
  m_fEquipPower = static_cast<float>(board.totals.p);
  m_fCalcPower = static_cast<float>(board.totals.pjs);
  // The switch is chosen on the current before compensation.
  m_fCurrent = static_cast<float>(board.totals.current);
  if (!FillBoardSwitches()) return false;
  m_lastStandard = board;
  m_host.ExchangeBoardData(false);
  return true;
}

// The result columns come once after a read; later runs find them in place.
void CLoadCalcCore::EnsureResultColumns() {
  const CString calculatedPower = calc_text::CalculatedPower();
  if (m_astrHeaders.GetSize() > 5 && m_astrHeaders[5] == calculatedPower) return;
  const CString captions[3] = {calculatedPower, calc_text::CalculatedCurrent(), calc_text::CandidateSwitches()};
  const int widths[3] = {70, 70, 100};
  const int first = std::min(5, m_astrHeaders.GetSize());
  for (int i = 0; i < 3; ++i) {
    m_astrHeaders.InsertAt(first + i, captions[i]);
    m_list.InsertColumn(first + i, captions[i], widths[i]);
  }
}

// False when the switch library could not be opened: the calculation stops there.
bool CLoadCalcCore::WriteCircuitRow(int row, float power, std::optional<float> current) {
  m_list.SetItemText(row, 5, FormatFixed(power));
  if (current) {
    m_list.SetItemText(row, 6, FormatFixed(*current));
    const CString switches = FindSwitches(*current);
    if (SwitchLookupFailure()) return false;
    m_list.SetItemText(row, 7, switches);
  } else {
    // No current can be computed: the row shows none rather than another
    // circuit's figures.
    m_list.SetItemText(row, 6, CString());
    m_list.SetItemText(row, 7, CString());
  }
  return true;
}

// False when the switch library could not be opened.
bool CLoadCalcCore::FillBoardSwitches() {
  const CString boardSwitches = FindSwitches(m_fCurrent);
  if (SwitchLookupFailure()) return false;
  FillSwitchBox(boardSwitches);
  return true;
}

// Entries in the order of the text. A run of ";" after an entry ends it as
// one ";" does; a text that starts with ";" (a library row without a model
// name) gives an empty first entry.
void CLoadCalcCore::FillSwitchBox(const CString& candidates) {
  m_switchBox.ResetContent();
  CString rest = candidates;
  while (!rest.IsEmpty()) {
    const int end = rest.Find(';');
    m_switchBox.AddString(end < 0 ? rest : rest.Left(end));
    if (end < 0) break;
    int next = end;
    while (next < rest.GetLength() && rest.GetAt(next) == ';') ++next;
    rest = rest.Mid(next);
  }
  if (m_switchBox.GetCount() > 0)
    m_switchBox.SetCurSel(0);
  else
    m_switchBox.SetWindowText(calc_text::NoSwitch());
}
