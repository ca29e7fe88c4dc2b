// 自动平衡: every circuit onto the phase of the best assignment, then 计算.
// Up to 19 circuits the exhaustive search's answer; 20 to 200 circuits the
// extended method (after a question in the dialog); or, when asked, the
// fewest circuits moved to bring the unbalance below a bound.
#include <algorithm>
#include <vector>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/circuit.h"
#include "calc/extended_balance.h"
#include "calc/fixed_load_balance.h"
#include "calc/load_calc_core.h"
#include "calc/phase_balancing.h"
#include "calc/standard_texts.h"

namespace {

constexpr int kFewestCircuits = 3;
constexpr int kMostForExhaustiveSearch = 19;
constexpr int kMostForExtendedMethod = 200;

struct BoardAsRead {
  std::vector<float> loads;  // of the free circuits
  std::vector<int> phases;   // of the free circuits; -1 for a phase that is not valid
  std::vector<int> rows;     // the free circuits' rows
  std::vector<CString> phaseTexts;  // of every row
  std::vector<float> threePhase;
  std::vector<float> fixedLoads;
  std::vector<int> fixedPhases;
  bool HasUnmovable() const { return !threePhase.empty() || !fixedLoads.empty(); }
};

// 规范法 balances the circuits' calculated power, the other method their
// equipment power.
BoardAsRead ReadBoard(const CircuitTable& list, bool standard) {
  BoardAsRead board;
  const std::vector<Circuit> circuits = ReadCircuits(list);
  for (size_t row = 0; row < circuits.size(); ++row) {
    const Circuit& circuit = circuits[row];
    const float load = standard ? StandardBalanceLoad(circuit) : circuit.equipmentPower;
    board.phaseTexts.push_back(circuit.phaseText);
    if (circuit.kind == PhaseKind::Three) {
      board.threePhase.push_back(load);
    } else if (circuit.fixed) {
      board.fixedLoads.push_back(load);
      board.fixedPhases.push_back(circuit.phase);
    } else {
      board.loads.push_back(load);
      board.phases.push_back(circuit.phase);
      board.rows.push_back(static_cast<int>(row));
    }
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
  // The limits count the circuits balancing may move.
  const std::vector<Circuit> circuits = ::ReadCircuits(m_list);
  const auto rows = static_cast<int>(std::count_if(circuits.begin(), circuits.end(), [](const Circuit& c) { return c.IsFree(); }));
  if (rows == 0 && !circuits.empty()) {
    m_host.ShowMessage(calc_text::AllCircuitsFixed());
    return Calculate();
  }
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
  const BoardAsRead board = ReadBoard(m_list, m_method == CalcMethod::Standard);
  m_lastBalance.phasesBefore = board.phaseTexts;
  const BalanceProgress progress = [this](double share) { return m_host.ContinueBalancing(share); };
  if (settings.below && board.HasUnmovable()) {
    m_host.ShowMessage(calc_text::BelowNeedsMovableBoard());
    return false;
  }
  std::vector<int> phases;
  const bool exhaustive = board.loads.size() <= static_cast<size_t>(kMostForExhaustiveSearch);
  if (!settings.below && (board.HasUnmovable() || (settings.fewestMoves && exhaustive))) {
    m_lastBalance.method = exhaustive ? BalanceMethod::Exhaustive : BalanceMethod::Extended;
    const BalanceLimits limits{settings.timeLimitSeconds, progress};
    const UnmovableLoads unmovable{board.threePhase, board.fixedLoads, board.fixedPhases};
    const ExtendedBalance result =
        board.HasUnmovable() ? BalanceAroundUnmovable(board.loads, board.phases, unmovable, settings.fewestMoves, limits)
                             : BalanceExtended(board.loads, board.phases, limits);
    if (!TakeSearchResult(result, settings, phases)) return false;
  } else if (!settings.below && exhaustive) {
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
    if (!TakeSearchResult(result, settings, phases)) return false;
  }
  WritePhases(board.rows, phases);
  return Calculate();
}

bool CLoadCalcCore::TakeSearchResult(const ExtendedBalance& result, const BalanceSettings& settings,
                                     std::vector<int>& phases) {
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
  return true;
}

bool CLoadCalcCore::Cancelled() {
  m_lastBalance.cancelled = true;
  m_host.ShowMessage(calc_text::BalancingCancelled());
  return false;
}

// Only the free circuits' cells change; fixed and three-phase ones keep
// their texts, marks included. The moves are an edit of the list: undone in
// one step, and written back by 写回工作簿.
void CLoadCalcCore::WritePhases(const std::vector<int>& rows, const std::vector<int>& phases) {
  ListInputs before = CaptureInputs();
  m_lastBalance.phasesAfter = m_lastBalance.phasesBefore;
  for (size_t i = 0; i < phases.size(); ++i) {
    CString phase;
    phase.Format("L%d", phases[i] + 1);
    m_list.SetItemText(rows[i], 1, phase);
    m_lastBalance.phasesAfter[rows[i]] = phase;
  }
  m_lastBalance.applied = true;
  if (before.cells != CaptureInputs().cells) m_edits.undo.push_back(std::move(before));
}
