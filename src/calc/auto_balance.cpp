// 自动平衡: every circuit onto the phase of the best assignment, then 计算.
// Up to 19 circuits the exhaustive search's answer; 20 to 200 circuits the
// extended method (after a question in the dialog); or, when asked, the
// fewest circuits moved to bring the unbalance below a bound.
#include <algorithm>
#include <vector>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/extended_balance.h"
#include "calc/load_calc_core.h"
#include "calc/phase_balancing.h"

namespace {

constexpr int kFewestCircuits = 3;
constexpr int kMostForExhaustiveSearch = 19;
constexpr int kMostForExtendedMethod = 200;

struct BoardAsRead {
  std::vector<float> loads;
  std::vector<int> phases;  // -1 for a phase that is not valid
  std::vector<CString> phaseTexts;
};

BoardAsRead ReadBoard(const CircuitTable& list) {
  BoardAsRead board;
  for (int row = 0; row < list.GetItemCount(); ++row) {
    board.loads.push_back(ReadCellNumber(list, row, 2));
    board.phaseTexts.push_back(list.GetItemText(row, 1));
    board.phases.push_back(PhaseIndex(ReadShortCell(list, row, 1)));
  }
  return board;
}

int Moved(const std::vector<int>& before, const std::vector<int>& after) {
  int moved = 0;
  for (size_t i = 0; i < after.size(); ++i) moved += before[i] != after[i] ? 1 : 0;
  return moved;
}

// The unbalance the exhaustive search ranked the assignment by.
double UnbalanceOf(const std::vector<float>& loads, const std::vector<int>& phases) {
  double sums[3] = {0.0, 0.0, 0.0};
  for (size_t i = 0; i < loads.size(); ++i) sums[phases[i]] += loads[i];
  const double total = sums[0] + sums[1] + sums[2];
  if (total == 0) return 0.0;
  return (std::max({sums[0], sums[1], sums[2]}) - std::min({sums[0], sums[1], sums[2]})) * 3 / total;
}

}  // namespace

bool CLoadCalcCore::AutoBalance(const BalanceSettings& settings) {
  m_lastBalance = BalanceOutcome{};
  const int rows = m_list.GetItemCount();
  if (rows < kFewestCircuits) {
    m_host.ShowMessage(calc_text::TooFewCircuits());
    return false;
  }
  if (rows > kMostForExtendedMethod) {
    m_host.ShowMessage(calc_text::TooManyCircuitsForExtendedMethod());
    return false;
  }
  // Nonsense powers would be balanced as 0 kW: they are named first.
  if (!CircuitsAreValid()) return false;
  if (!settings.below && rows > kMostForExhaustiveSearch && !settings.extendedWithoutAsking &&
      !m_host.OfferAlternative(calc_text::TooManyCircuits(), calc_text::AskExtendedMethod())) {
    return false;
  }
  m_host.BeginWaitCursor();
  const bool calculated = BalanceAndCalculate(settings);
  m_host.EndWaitCursor();
  return calculated;
}

bool CLoadCalcCore::BalanceAndCalculate(const BalanceSettings& settings) {
  const BoardAsRead board = ReadBoard(m_list);
  m_lastBalance.phasesBefore = board.phaseTexts;
  const BalanceProgress progress = [this](double share) { return m_host.ContinueBalancing(share); };
  std::vector<int> phases;
  if (!settings.below && board.loads.size() <= static_cast<size_t>(kMostForExhaustiveSearch)) {
    m_lastBalance.method = BalanceMethod::Exhaustive;
    std::optional<std::vector<int>> found = BalancePhases(board.loads, progress);
    if (!found) return Cancelled();
    phases = std::move(*found);
    m_lastBalance.optimal = true;
    m_lastBalance.moved = Moved(board.phases, phases);
    m_lastBalance.unbalance = m_lastBalance.lowerBound = UnbalanceOf(board.loads, phases);
  } else {
    const BalanceLimits limits{settings.timeLimitSeconds, progress};
    m_lastBalance.method = settings.below ? BalanceMethod::Below : BalanceMethod::Extended;
    const ExtendedBalance result = settings.below
                                       ? BalanceBelow(board.loads, board.phases, *settings.below, limits)
                                       : BalanceExtended(board.loads, board.phases, limits);
    if (result.stop == BalanceStop::Refused) {
      m_host.ShowMessage(calc_text::CannotBalanceLoads());
      return false;
    }
    if (result.stop == BalanceStop::Cancelled) return Cancelled();
    m_lastBalance.optimal = result.optimal;
    m_lastBalance.lowerBound = result.lowerBound;
    if (settings.below && result.phases.empty()) {
      m_lastBalance.reachesBound = false;
      m_host.ShowMessage(result.stop == BalanceStop::Finished ? calc_text::BoundOutOfReach(*settings.below)
                                                              : calc_text::BoundNotReachedInTime(*settings.below));
      return false;
    }
    phases = result.phases;
    m_lastBalance.unbalance = result.unbalance;
    m_lastBalance.moved = result.moved;
    if (!result.optimal)
      m_host.ShowMessage(settings.below || result.unbalanceProved
                             ? calc_text::FewestMovesNotProvedInTime(result.moved)
                                        : calc_text::NotProvedInTime(result.unbalance, result.lowerBound));
  }
  WritePhases(phases);
  return Calculate();
}

bool CLoadCalcCore::Cancelled() {
  m_lastBalance.cancelled = true;
  m_host.ShowMessage(calc_text::BalancingCancelled());
  return false;
}

void CLoadCalcCore::WritePhases(const std::vector<int>& phases) {
  // The moves are an edit of the list: undone in one step, written back.
  ListInputs before = CaptureInputs();
  for (size_t row = 0; row < phases.size(); ++row) {
    CString phase;
    phase.Format("L%d", phases[row] + 1);
    m_list.SetItemText(static_cast<int>(row), 1, phase);
    m_lastBalance.phasesAfter.push_back(phase);
  }
  m_lastBalance.applied = true;
  if (before.cells != CaptureInputs().cells) m_edits.undo.push_back(std::move(before));
}
