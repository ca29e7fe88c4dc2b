// 自动平衡: every circuit onto the phase of the best assignment, then 计算.
#include <vector>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/load_calc_core.h"
#include "calc/phase_balancing.h"

namespace {
constexpr int kFewestCircuits = 3;
constexpr int kMostCircuits = 19;
}  // namespace

bool CLoadCalcCore::AutoBalance() {
  const int rows = m_list.GetItemCount();
  if (rows < kFewestCircuits) {
    m_host.ShowMessage(calc_text::TooFewCircuits());
    return false;
  }
  if (rows > kMostCircuits) {
    m_host.ShowMessage(calc_text::TooManyCircuits());
    return false;
  }
  m_host.BeginWaitCursor();
  std::vector<float> loads;
  for (int row = 0; row < rows; ++row) loads.push_back(ReadCellNumber(m_list, row, 2));
  const std::vector<int> phases = BalancePhases(loads);
  for (int row = 0; row < rows; ++row) {
    CString phase;
    phase.Format("L%d", phases[static_cast<size_t>(row)] + 1);
    m_list.SetItemText(row, 1, phase);
  }
  const bool calculated = Calculate();
  m_host.EndWaitCursor();
  return calculated;
}
