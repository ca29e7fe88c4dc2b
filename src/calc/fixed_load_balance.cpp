// A depth-first search in counter order (the last free circuit first, each
// trying L1, L2, L3), bounded by the spread the remaining load can still
// reach. All sums are in thirds of a load unit, so a three-phase circuit's
// share of each phase is a whole number too.
#include "calc/fixed_load_balance.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <vector>

#include "calc/balance_units.h"

namespace {

using Clock = std::chrono::steady_clock;
using Sums = std::array<int64_t, 3>;

constexpr uint32_t kNodesBetweenClockChecks = 4096;

int64_t Spread(const Sums& s) { return *std::max_element(s.begin(), s.end()) - *std::min_element(s.begin(), s.end()); }

// No completion of sums `s` with `remaining` more load spreads less.
int64_t SpreadBound(const Sums& s, int64_t remaining) {
  Sums sorted = s;
  std::sort(sorted.begin(), sorted.end());
  const int64_t total = sorted[0] + sorted[1] + sorted[2] + remaining;
  const int64_t byThirds = std::max(sorted[2], (total + 2) / 3) - std::min(sorted[0] + remaining, total / 3);
  const int64_t byLargest = sorted[2] - (sorted[0] + sorted[1] + remaining) / 2;
  return std::max({int64_t{0}, byThirds, byLargest});
}

class Search {
 public:
  Search(std::vector<int64_t> loads, std::span<const int> current, Sums start, bool fewestMoves,
         const BalanceLimits& limits)
      : m_loads(std::move(loads)), m_current(current), m_start(start), m_fewest(fewestMoves), m_limits(limits),
        m_began(Clock::now()) {
    m_remainingBelow.assign(m_loads.size() + 1, 0);
    for (size_t i = 0; i < m_loads.size(); ++i) m_remainingBelow[i + 1] = m_remainingBelow[i] + m_loads[i];
  }

  void SeedGreedy() {
    std::vector<size_t> order(m_loads.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) { return m_loads[a] > m_loads[b]; });
    Sums sums = m_start;
    m_best.assign(m_loads.size(), 0);
    for (const size_t i : order) {
      const auto lightest = static_cast<int>(std::min_element(sums.begin(), sums.end()) - sums.begin());
      m_best[i] = lightest;
      sums[lightest] += m_loads[i];
    }
    m_bestSpread = Spread(sums);
    m_bestMoves = Moves(m_best);
  }

  // False when stopped by the clock or the caller.
  bool Run() {
    m_phases.assign(m_loads.size(), 0);
    Visit(static_cast<int>(m_loads.size()) - 1, m_start, 0);
    return !m_stop;
  }

  const std::vector<int>& Best() const { return m_best; }
  int64_t BestSpread() const { return m_bestSpread; }
  int BestMoves() const { return m_bestMoves; }
  std::optional<BalanceStop> Stop() const { return m_stop; }
  int64_t RootBound() const { return SpreadBound(m_start, m_remainingBelow.back()); }

 private:
  int Moves(const std::vector<int>& phases) const {
    int moved = 0;
    for (size_t i = 0; i < phases.size(); ++i) moved += phases[i] != m_current[i] ? 1 : 0;
    return moved;
  }

  bool Pruned(int64_t bound, int moves) const {
    if (bound > m_bestSpread) return true;
    if (!m_found) return false;
    if (!m_fewest) return bound >= m_bestSpread;
    return bound == m_bestSpread && moves >= m_bestMoves;
  }

  void Visit(int index, const Sums& sums, int moves) {
    if (m_stop || ShouldStop()) return;
    if (index < 0) {
      Leaf(sums, moves);
      return;
    }
    for (int phase = 0; phase < 3 && !m_stop; ++phase) {
      Sums next = sums;
      next[phase] += m_loads[index];
      const int nextMoves = moves + (phase != m_current[index] ? 1 : 0);
      if (Pruned(SpreadBound(next, m_remainingBelow[index]), nextMoves)) continue;
      m_phases[index] = phase;
      Visit(index - 1, next, nextMoves);
    }
  }

  void Leaf(const Sums& sums, int moves) {
    const int64_t spread = Spread(sums);
    const bool better = spread < m_bestSpread || (!m_found && spread == m_bestSpread) ||
                        (m_fewest && spread == m_bestSpread && moves < m_bestMoves);
    if (!better) return;
    m_found = true;
    m_best = m_phases;
    m_bestSpread = spread;
    m_bestMoves = moves;
  }

  bool ShouldStop() {
    if (++m_ticks % kNodesBetweenClockChecks != 0) return false;
    const double elapsed = std::chrono::duration<double>(Clock::now() - m_began).count();
    if (elapsed >= m_limits.seconds) m_stop = BalanceStop::TimeLimit;
    else if (m_limits.progress && !m_limits.progress(m_limits.seconds > 0 ? elapsed / m_limits.seconds : 1.0))
      m_stop = BalanceStop::Cancelled;
    return m_stop.has_value();
  }

  std::vector<int64_t> m_loads;
  std::span<const int> m_current;
  Sums m_start;
  bool m_fewest;
  const BalanceLimits& m_limits;
  Clock::time_point m_began;
  std::vector<int64_t> m_remainingBelow;  // load of circuits 0..i-1
  std::vector<int> m_phases;
  std::vector<int> m_best;
  int64_t m_bestSpread = 0;
  int m_bestMoves = 0;
  bool m_found = false;  // the search itself reached a leaf as good as the seed
  uint64_t m_ticks = 0;
  std::optional<BalanceStop> m_stop;
};

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
  for (size_t i = 0; i < freeCount; ++i) loads.push_back(3 * units[i]);
  Sums start{0, 0, 0};
  for (size_t i = 0; i < fixedCount; ++i) start[unmovable.fixedPhases[i]] += 3 * units[freeCount + i];
  for (size_t i = freeCount + fixedCount; i < units.size(); ++i)
    for (int64_t& phase : start) phase += units[i];
  const int64_t total = 3 * converted.units->total;

  Search search(std::move(loads), current, start, fewestMoves, limits);
  search.SeedGreedy();
  const bool finished = search.Run();
  if (search.Stop() == BalanceStop::Cancelled) {
    result.stop = BalanceStop::Cancelled;
    return result;
  }
  result.stop = finished ? BalanceStop::Finished : BalanceStop::TimeLimit;
  result.phases = search.Best();
  result.unbalance = UnbalanceOf(search.BestSpread(), total);
  result.moved = search.BestMoves();
  result.unbalanceProved = result.optimal = finished;
  result.lowerBound = finished ? result.unbalance : UnbalanceOf(search.RootBound(), total);
  return result;
}
