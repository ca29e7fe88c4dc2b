// 计算: every circuit's calculated power, current and switches, then the
// board's phase loads, unbalance, powers, current and switch choice.
#include <algorithm>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/circuit_validation.h"
#include "calc/load_calc_core.h"
#include "calc/problem_texts.h"

namespace {

constexpr double kCircuitVoltage = 0.22;  // kV, single phase
constexpr double kBoardCurrentFactor = 1.52;
constexpr double kUnbalanceLimit = 0.15;

// Power factors are accepted in (0.01, 1].
bool IsValidPowerFactor(float value) { return value > 0.01 && value <= 1; }

}  // namespace

bool CLoadCalcCore::Calculate() {
  m_resultsCurrent = false;
  m_host.ExchangeBoardData(true);
  if (m_list.GetItemCount() <= 0) {
    m_host.ShowMessage(m_bCircuitsRead ? calc_text::NoCircuits(m_strWorkbook) : calc_text::ReadDataFirst());
    return false;
  }
  // Results shown from earlier inputs would be taken for these.
  if (!IsValidPowerFactor(m_fPowerFactor)) {
    ClearResults();
    m_host.ShowMessage(calc_text::BoardPowerFactorRange());
    return false;
  }
  if (!IsBoardDemandCoefficient(m_fDemandCoef)) {
    ClearResults();
    m_host.ShowMessage(BoardDemandCoefficientRange());
    return false;
  }
  if (!CircuitsAreValid()) return false;
  m_resultsCurrent = CalculateChecked();
  if (!m_resultsCurrent && SwitchLookupFailure())
    m_host.ShowMessage(calc_text::SheetUnreadable(m_strWorkbook, calc_text::SwitchLibrarySheet(), *SwitchLookupFailure()));
  return m_resultsCurrent;
}

bool CLoadCalcCore::CalculateChecked() {
  if (!SwitchLibraryReadable()) return false;
  EnsureResultColumns();
  float phaseSums[3] = {0.0f, 0.0f, 0.0f};
  const int rows = m_list.GetItemCount();
  for (int row = 0; row < rows; ++row)
    if (!CalculateCircuit(row, phaseSums)) return false;
  CalculateBoard(phaseSums);
  const CString boardSwitches = FindSwitches(m_fCurrent);
  if (SwitchLookupFailure()) return false;
  FillSwitchBox(boardSwitches);
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
bool CLoadCalcCore::CalculateCircuit(int row, float phaseSums[3]) {
  const CString phase = ReadShortCell(m_list, row, 1);
  const float equipmentPower = ReadCellNumber(m_list, row, 2);
  const float demandCoefficient = ReadCellNumber(m_list, row, 3);
  const float powerFactor = ReadCellNumber(m_list, row, 4);

  const auto power = static_cast<float>(static_cast<double>(demandCoefficient) * equipmentPower);
  const bool validPowerFactor = IsValidPowerFactor(powerFactor);
  // The refusal comes before anything of the row is written.
  if (!validPowerFactor) m_host.ShowMessage(CircuitPowerFactorRefusal(m_list.GetItemText(row, 0)));
  m_list.SetItemText(row, 5, FormatFixed(power));
  if (validPowerFactor) {
    const auto current = static_cast<float>(power / (kCircuitVoltage * powerFactor));
    m_list.SetItemText(row, 6, FormatFixed(current));
    const CString switches = FindSwitches(current);
    if (SwitchLookupFailure()) return false;
    m_list.SetItemText(row, 7, switches);
  } else {
    // No current can be computed: the row shows none rather than another
    // circuit's figures.
    m_list.SetItemText(row, 6, CString());
    m_list.SetItemText(row, 7, CString());
  }

  const int phaseIndex = PhaseIndex(phase);
  if (phaseIndex < 0) {
    m_host.ShowMessage(m_list.GetItemText(row, 0) + calc_text::InvalidPhaseSuffix());
    return true;
  }
  phaseSums[phaseIndex] = static_cast<float>(static_cast<double>(phaseSums[phaseIndex]) + equipmentPower);
  return true;
}

void CLoadCalcCore::CalculateBoard(const float phaseSums[3]) {
  m_fL1 = phaseSums[0];
  m_fL2 = phaseSums[1];
  m_fL3 = phaseSums[2];
  const float max = std::max({m_fL1, m_fL2, m_fL3});
  const float min = std::min({m_fL1, m_fL2, m_fL3});
  const auto total = static_cast<float>(static_cast<double>(m_fL3) + m_fL2 + m_fL1);
  // A board without load has no unbalance (the formula would divide by 0).
  const double unbalance = total == 0.0f ? 0.0 : (static_cast<double>(max) - min) * 3 / total;
  m_fUnbalance = static_cast<float>(unbalance);
  m_fEquipPower = unbalance >= kUnbalanceLimit ? static_cast<float>(3.0 * max) : total;
  m_fCalcPower = static_cast<float>(static_cast<double>(m_fDemandCoef) * m_fEquipPower);
  m_fCurrent = static_cast<float>(static_cast<double>(m_fCalcPower) * kBoardCurrentFactor / m_fPowerFactor);
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
