// Two depth-first searches bounded by the spread the remaining load can
// still reach. A three-phase circuit adds the same to every phase, so it
// changes no spread and enters only the total the unbalance divides by;
// the searches add the single-phase loads alone, in whole units.
#include "calc/fixed_load_balance.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include "calc/balance_units.h"
#include "calc/phase_spread.h"

namespace {

using Clock = std::chrono::steady_clock;
using Sums = PhaseSums;

constexpr uint32_t kNodesBetweenClockChecks = 4096;
// Up to this many free circuits ties go by counter order, as the exhaustive
// search breaks them; beyond, the first smallest spread found is kept.
constexpr size_t kMostForCounterOrder = 19;

// One depth-first search over the free circuits in a given visiting order.
// Ties keep the first leaf met, so visiting in counter order (the last
// circuit first, each L1, L2, L3) gives the first in counter order.
class Search {
 public:
  struct Options {
    bool fewestMoves = false;
    bool lightestFirst = false;  // try the phases by their sums so far, lightest first
    bool stopAtBound = false;    // stop once a leaf meets the root bound
    int moveBudget = std::numeric_limits<int>::max();  // leaves moving more are not visited
  };

  Search(const std::vector<int64_t>& loads, std::span<const int> current, Sums start, std::vector<size_t> order,
         Options options, const BalanceLimits& limits, Clock::time_point began)
      : m_loads(loads), m_current(current), m_start(start), m_order(std::move(order)), m_options(options),
        m_limits(limits), m_began(began) {
    m_remainingAfter.assign(m_order.size() + 1, 0);
    for (size_t depth = m_order.size(); depth-- > 0;)
      m_remainingAfter[depth] = m_remainingAfter[depth + 1] + m_loads[m_order[depth]];
  }

  // The assignment to beat (or, when `strict` is false, to match).
  void Seed(const std::vector<int>& phases, bool strict) {
    Sums sums = m_start;
    for (size_t i = 0; i < phases.size(); ++i) sums[phases[i]] += m_loads[i];
    m_best = phases;
    m_bestSpread = PhaseSpread(sums);
    m_bestMoves = Moves(phases);
    m_found = strict;
  }

  // False when stopped by the clock or the caller.
  bool Run() {
    m_phases.assign(m_loads.size(), 0);
    Visit(0, m_start, 0);
    return !m_stop;
  }

  const std::vector<int>& Best() const { return m_best; }
  int64_t BestSpread() const { return m_bestSpread; }
  int BestMoves() const { return m_bestMoves; }
  bool Found() const { return m_found; }
  std::optional<BalanceStop> Stop() const { return m_stop; }
  int64_t RootBound() const { return SpreadLowerBound(m_start, m_remainingAfter[0]); }

 private:
  int Moves(const std::vector<int>& phases) const {
    int moved = 0;
    for (size_t i = 0; i < phases.size(); ++i) moved += phases[i] != m_current[i] ? 1 : 0;
    return moved;
  }

  bool Pruned(int64_t bound, int moves) const {
    if (bound > m_bestSpread || moves > m_options.moveBudget) return true;
    if (!m_found) return false;
    if (!m_options.fewestMoves) return bound >= m_bestSpread;
    return bound == m_bestSpread && moves >= m_bestMoves;
  }

  std::array<int, 3> PhaseOrder(const Sums& sums) const {
    std::array<int, 3> order{0, 1, 2};
    if (m_options.lightestFirst)
      std::stable_sort(order.begin(), order.end(), [&sums](int a, int b) { return sums[a] < sums[b]; });
    return order;
  }

  void Visit(size_t depth, const Sums& sums, int moves) {
    if (m_stop || m_done || ShouldStop()) return;
    if (depth == m_order.size()) {
      Leaf(sums, moves);
      return;
    }
    const size_t circuit = m_order[depth];
    for (const int phase : PhaseOrder(sums)) {
      if (m_stop || m_done) return;
      Sums next = sums;
      next[phase] += m_loads[circuit];
      const int nextMoves = moves + (phase != m_current[circuit] ? 1 : 0);
      if (Pruned(SpreadLowerBound(next, m_remainingAfter[depth + 1]), nextMoves)) continue;
      m_phases[circuit] = phase;
      Visit(depth + 1, next, nextMoves);
    }
  }

  void Leaf(const Sums& sums, int moves) {
    const int64_t spread = PhaseSpread(sums);
    const bool better = spread < m_bestSpread || (!m_found && spread == m_bestSpread) ||
                        (m_options.fewestMoves && spread == m_bestSpread && moves < m_bestMoves);
    if (!better) return;
    m_found = true;
    m_best = m_phases;
    m_bestSpread = spread;
    m_bestMoves = moves;
    if (m_options.stopAtBound && spread <= RootBound()) m_done = true;
  }

  bool ShouldStop() {
    if (++m_ticks % kNodesBetweenClockChecks != 0) return false;
    const double elapsed = std::chrono::duration<double>(Clock::now() - m_began).count();
    if (elapsed >= m_limits.seconds) m_stop = BalanceStop::TimeLimit;
    else if (m_limits.progress && !m_limits.progress(m_limits.seconds > 0 ? elapsed / m_limits.seconds : 1.0))
      m_stop = BalanceStop::Cancelled;
    return m_stop.has_value();
  }

  const std::vector<int64_t>& m_loads;
  std::span<const int> m_current;
  Sums m_start;
  std::vector<size_t> m_order;
  Options m_options;
  const BalanceLimits& m_limits;
  Clock::time_point m_began;
  std::vector<int64_t> m_remainingAfter;  // load of the circuits visited after depth d
  std::vector<int> m_phases;
  std::vector<int> m_best;
  int64_t m_bestSpread = 0;
  int m_bestMoves = 0;
  bool m_found = false;  // a leaf of this search holds the best
  bool m_done = false;
  uint64_t m_ticks = 0;
  std::optional<BalanceStop> m_stop;
};

std::vector<size_t> ByDecreasingLoad(const std::vector<int64_t>& loads) {
  std::vector<size_t> order(loads.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&loads](size_t a, size_t b) { return loads[a] > loads[b]; });
  return order;
}

std::vector<size_t> CounterOrder(size_t count) {
  std::vector<size_t> order(count);
  for (size_t i = 0; i < count; ++i) order[i] = count - 1 - i;
  return order;
}

struct Answer {
  std::vector<int> phases;
  int64_t spread = 0;
  int moves = 0;
  bool finished = false;
  bool cancelled = false;
};

Answer AnswerOf(const Search& search, bool finished) {
  return {search.Best(), search.BestSpread(), search.BestMoves(), finished, search.Stop() == BalanceStop::Cancelled};
}

// At the spread of `seed`: the first assignment in counter order, or with
// `fewestMoves` the first of those moving fewest, found with a budget of
// moves that grows by one, so the first leaf met has the fewest moves.
Answer BreakTies(const std::vector<int64_t>& loads, std::span<const int> current, const Sums& start,
                 const Answer& seed, bool fewestMoves, const BalanceLimits& limits, Clock::time_point began) {
  auto run = [&](int budget) {
    Search search(loads, current, start, CounterOrder(loads.size()), {false, false, false, budget}, limits, began);
    search.Seed(seed.phases, false);
    const bool finished = search.Run();
    return std::pair{AnswerOf(search, finished), search.Found()};
  };
  if (!fewestMoves) return run(std::numeric_limits<int>::max()).first;
  const auto mustMove = static_cast<int>(std::count(current.begin(), current.end(), -1));
  for (int budget = mustMove; budget <= static_cast<int>(loads.size()); ++budget) {
    auto [answer, found] = run(budget);
    if (found || answer.cancelled) return answer;
    if (!answer.finished) return {seed.phases, seed.spread, seed.moves, false, false};
  }
  return seed;
}

double UnbalanceOf(int64_t spread, int64_t total) {
  return total == 0 ? 0.0 : static_cast<double>(spread) * 3.0 / static_cast<double>(total);
}

}  // namespace

ExtendedBalance BalanceAroundUnmovable(std::span<const float> freeLoads, std::span<const int> current,
                                       const UnmovableLoads& unmovable, bool fewestMoves,
                                       const BalanceLimits& limits) {
  ExtendedBalance result;
  std::vector<float> all(freeLoads.begin(), freeLoads.end());
  all.insert(all.end(), unmovable.fixedSingle.begin(), unmovable.fixedSingle.end());
  all.insert(all.end(), unmovable.threePhase.begin(), unmovable.threePhase.end());
  const LoadUnitsResult converted = ToLoadUnits(all);
  if (!converted.units) {
    result.refusal = converted.refusal;
    return result;
  }
  const std::vector<int64_t>& units = converted.units->units;
  const size_t freeCount = freeLoads.size();
  const size_t fixedCount = unmovable.fixedSingle.size();
  std::vector<int64_t> loads;
  for (size_t i = 0; i < freeCount; ++i) loads.push_back(units[i]);
  Sums start{0, 0, 0};
  for (size_t i = 0; i < fixedCount; ++i) start[unmovable.fixedPhases[i]] += units[freeCount + i];
  const int64_t total = converted.units->total;

  // 1. The smallest spread: largest circuits first, each to the lightest
  // phase first, until a leaf meets the root bound.
  const Clock::time_point began = Clock::now();
  Search spread(loads, current, start, ByDecreasingLoad(loads), {false, true, true}, limits, began);
  spread.Seed(std::vector<int>(loads.size(), 0), false);
  const bool spreadFinished = spread.Run();
  if (spread.Stop() == BalanceStop::Cancelled) {
    result.stop = BalanceStop::Cancelled;
    return result;
  }
  // 2. At that spread, the tie rules: beyond the exhaustive search's size
  // only when fewest moves are asked.
  const bool tieRule = fewestMoves || loads.size() <= kMostForCounterOrder;
  const Answer smallest = AnswerOf(spread, spreadFinished);
  const Answer answer =
      tieRule ? BreakTies(loads, current, start, smallest, fewestMoves, limits, began) : smallest;
  if (answer.cancelled) {
    result.stop = BalanceStop::Cancelled;
    return result;
  }
  const bool tiesFinished = !tieRule || answer.finished;
  const bool spreadProved = spreadFinished || answer.spread <= spread.RootBound();
  result.stop = spreadFinished && tiesFinished ? BalanceStop::Finished : BalanceStop::TimeLimit;
  result.phases = answer.phases;
  result.unbalance = UnbalanceOf(answer.spread, total);
  result.moved = answer.moves;
  result.unbalanceProved = spreadProved || (tieRule && tiesFinished);
  result.optimal = result.unbalanceProved && (tiesFinished || !fewestMoves);
  result.lowerBound = result.unbalanceProved ? result.unbalance : UnbalanceOf(spread.RootBound(), total);
  return result;
}
