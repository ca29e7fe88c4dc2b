// Two depth-first searches bounded by the spread the remaining load can
// still reach. A three-phase circuit adds the same to every phase, so it
// changes no spread and enters only the total the unbalance divides by;
// the searches add the single-phase loads alone, in whole units.
#include "calc/fixed_load_balance.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
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

// Free loads that are all multiples of one step g leave every phase at its
// fixed load plus a multiple of g, so the spread is the difference of two
// phases' fixed loads modulo g plus a multiple of g: a lower bound rounds up
// to the nearest such value. Half-kilowatt circuits around whole-kilowatt
// fixed ones prove their smallest spread at once this way.
class SpreadSteps {
 public:
  SpreadSteps(const std::vector<int64_t>& loads, const Sums& start) {
    for (const int64_t load : loads) m_step = std::gcd(m_step, load);
    if (m_step > 1)
      for (int phase = 0; phase < 3; ++phase) m_residue[phase] = start[phase] % m_step;
  }

  int64_t RoundUp(int64_t bound) const {
    if (m_step <= 1 || bound <= 0 || bound == std::numeric_limits<int64_t>::max()) return bound;
    int64_t least = std::numeric_limits<int64_t>::max();
    for (int high = 0; high < 3; ++high)
      for (int low = 0; low < 3; ++low) {
        if (high == low) continue;
        const int64_t residue = ((m_residue[high] - m_residue[low]) % m_step + m_step) % m_step;
        const int64_t below = bound - residue;
        const int64_t steps = below <= 0 ? 0 : (below + m_step - 1) / m_step;
        least = std::min(least, residue + steps * m_step);
      }
    return least;
  }

 private:
  int64_t m_step = 0;
  Sums m_residue{0, 0, 0};
};

// The least spread reachable from partial sums when only `budget` more
// circuits may leave the phase they were read with. The rest stay put; the
// moved load, the largest that many circuits hold, and the load of circuits
// without a phase (they move anyway) can close the gap between the fullest
// and the emptiest phase by at most twice the one and once the other.
class MoveBoundTable {
 public:
  MoveBoundTable(const std::vector<int64_t>& loads, std::span<const int> current, const std::vector<size_t>& order) {
    const size_t n = order.size();
    m_stay.assign(n + 1, Sums{0, 0, 0});
    m_unplaced.assign(n + 1, 0);
    m_mustMove.assign(n + 1, 0);
    m_largest.assign(n + 1, {0});
    std::vector<int64_t> movable;
    for (size_t depth = n; depth-- > 0;) {
      const size_t circuit = order[depth];
      m_stay[depth] = m_stay[depth + 1];
      m_unplaced[depth] = m_unplaced[depth + 1];
      m_mustMove[depth] = m_mustMove[depth + 1];
      if (current[circuit] < 0) {
        m_unplaced[depth] += loads[circuit];
        ++m_mustMove[depth];
      } else {
        m_stay[depth][current[circuit]] += loads[circuit];
        movable.push_back(loads[circuit]);
      }
      std::vector<int64_t> sorted = movable;
      std::sort(sorted.begin(), sorted.end(), std::greater<>());
      m_largest[depth].assign(1, 0);
      for (const int64_t load : sorted) m_largest[depth].push_back(m_largest[depth].back() + load);
    }
  }

  // Max when the budget cannot even move the circuits that must move.
  int64_t Bound(size_t depth, const Sums& sums, int budget) const {
    if (budget < m_mustMove[depth]) return std::numeric_limits<int64_t>::max();
    const std::vector<int64_t>& largest = m_largest[depth];
    const auto moves = std::min(static_cast<size_t>(budget - m_mustMove[depth]), largest.size() - 1);
    const Sums stay{sums[0] + m_stay[depth][0], sums[1] + m_stay[depth][1], sums[2] + m_stay[depth][2]};
    return PhaseSpread(stay) - 2 * largest[moves] - m_unplaced[depth];
  }

 private:
  std::vector<Sums> m_stay;        // the circuits from depth d on, each on its phase as read
  std::vector<int64_t> m_unplaced;  // their load without a phase
  std::vector<int> m_mustMove;      // how many of them have no phase
  std::vector<std::vector<int64_t>> m_largest;  // sums of their k largest loads with a phase
};

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
    bool stayFirst = false;      // try each circuit's own phase first
    bool stopAtFirst = false;    // stop at the first leaf that holds the best
  };

  Search(const std::vector<int64_t>& loads, std::span<const int> current, Sums start, std::vector<size_t> order,
         Options options, const BalanceLimits& limits, Clock::time_point began)
      : m_loads(loads), m_current(current), m_start(start), m_order(std::move(order)), m_options(options),
        m_limits(limits), m_began(began), m_steps(loads, start) {
    if (m_options.moveBudget < static_cast<int>(m_order.size()))
      m_moveBound.emplace(m_loads, m_current, m_order);
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
  int64_t RootBound() const { return m_steps.RoundUp(SpreadLowerBound(m_start, m_remainingAfter[0])); }

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

  std::array<int, 3> PhaseOrder(const Sums& sums, size_t circuit) const {
    std::array<int, 3> order{0, 1, 2};
    if (m_options.lightestFirst)
      std::stable_sort(order.begin(), order.end(), [&sums](int a, int b) { return sums[a] < sums[b]; });
    if (m_options.stayFirst && m_current[circuit] > 0) std::rotate(order.begin(), order.begin() + m_current[circuit], order.end());
    return order;
  }

  int64_t LowerBound(size_t depth, const Sums& sums, int moves) const {
    int64_t bound = SpreadLowerBound(sums, m_remainingAfter[depth]);
    if (m_moveBound) bound = std::max(bound, m_moveBound->Bound(depth, sums, m_options.moveBudget - moves));
    return m_steps.RoundUp(bound);
  }

  void Visit(size_t depth, const Sums& sums, int moves) {
    if (m_stop || m_done || ShouldStop()) return;
    if (depth == m_order.size()) {
      Leaf(sums, moves);
      return;
    }
    const size_t circuit = m_order[depth];
    for (const int phase : PhaseOrder(sums, circuit)) {
      if (m_stop || m_done) return;
      Sums next = sums;
      next[phase] += m_loads[circuit];
      const int nextMoves = moves + (phase != m_current[circuit] ? 1 : 0);
      if (Pruned(LowerBound(depth + 1, next, nextMoves), nextMoves)) continue;
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
    if (m_options.stopAtFirst) m_done = true;
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
  SpreadSteps m_steps;
  std::vector<int64_t> m_remainingAfter;  // load of the circuits visited after depth d
  std::optional<MoveBoundTable> m_moveBound;  // with a budget of moves
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
// Beyond the counter order's size, once the spread is proved, the first
// leaf within the budget is the answer: largest circuits first, each on its
// own phase first, so a budget too small is disproved quickly.
Answer BreakTies(const std::vector<int64_t>& loads, std::span<const int> current, const Sums& start,
                 const Answer& seed, bool fewestMoves, bool spreadProved, const BalanceLimits& limits,
                 Clock::time_point began) {
  const bool anyFewest = fewestMoves && spreadProved && loads.size() > kMostForCounterOrder;
  auto run = [&](int budget) {
    Search::Options options;
    options.moveBudget = budget;
    options.stayFirst = options.stopAtFirst = anyFewest;
    Search search(loads, current, start, anyFewest ? ByDecreasingLoad(loads) : CounterOrder(loads.size()), options,
                  limits, began);
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
  const bool spreadProvedFirst = spreadFinished || smallest.spread <= spread.RootBound();
  const Answer answer =
      tieRule ? BreakTies(loads, current, start, smallest, fewestMoves, spreadProvedFirst, limits, began) : smallest;
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
