// Board results that no longer belong to the circuits shown are taken away,
// and the circuits are checked before new ones are calculated.
#include "calc/calc_texts.h"
#include "calc/circuit_validation.h"
#include "calc/load_calc_core.h"

namespace {
constexpr int kFirstResultColumn = 5;
constexpr int kResultColumns = 3;
}  // namespace

void CLoadCalcCore::ClearResults() {
  m_resultsCurrent = false;
  m_lastStandard.reset();
  m_fUnbalance = m_fCurrent = m_fL1 = m_fL2 = m_fL3 = m_fEquipPower = m_fCalcPower = 0.0f;
  if (m_astrHeaders.GetSize() > kFirstResultColumn &&
      m_astrHeaders[kFirstResultColumn] == calc_text::CalculatedPower()) {
    for (int i = 0; i < kResultColumns; ++i) {
      m_list.DeleteColumn(kFirstResultColumn);
      m_astrHeaders.RemoveAt(kFirstResultColumn);
    }
  }
  m_switchBox.ResetContent();
  m_host.BoardResultsCleared();
}

bool CLoadCalcCore::CircuitsAreValid() {
  const PhaseCheck phases = m_method == CalcMethod::Standard ? PhaseCheck::Known : PhaseCheck::Lenient;
  const std::vector<CircuitProblem> problems = FindCircuitProblems(m_list, phases);
  if (problems.empty()) return true;
  ClearResults();
  m_host.ShowCircuitProblems(problems);
  return false;
}
