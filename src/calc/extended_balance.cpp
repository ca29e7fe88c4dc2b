// The extended balancing in two searches over the circuits taken by
// decreasing power:
//  1. the smallest spread max − min of the phase sums: a branch and bound
//     that puts each circuit on the lightest phase first, tries phases of
//     equal sum once (exchanging them changes no spread), and stops as soon
//     as the best spread meets the lower bound;
//  2. the fewest circuits moved with that spread: a depth-first search in
//     the fixed order (read phase first, then L1, L2, L3), run with a budget
//     of moves that grows from a lower bound by one until an assignment is
//     found, so the first one found has the fewest moves and comes first in
//     the order among those.
// Both stop at the time limit or when the caller cancels.
#include "calc/extended_balance.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <numeric>

#include "calc/balance_units.h"
#include "calc/phase_spread.h"

namespace {

using Clock = std::chrono::steady_clock;
using Sums = std::array<int64_t, 3>;

constexpr uint32_t kNodesBetweenClockChecks = 4096;
constexpr double kSecondsBetweenProgressCalls = 0.02;
constexpr int64_t kNoSpread = std::numeric_limits<int64_t>::max();
constexpr int kInfeasible = std::numeric_limits<int>::max() / 2;

// The time limit and the caller's cancel, looked at every few thousand nodes.
class SearchClock {
 public:
  explicit SearchClock(const BalanceLimits& limits) : m_limits(limits), m_start(Clock::now()) {}

  bool ShouldStop() {
    if (m_stop) return true;
    if (++m_ticks % kNodesBetweenClockChecks != 0) return false;
    const double elapsed = std::chrono::duration<double>(Clock::now() - m_start).count();
    if (elapsed >= m_limits.seconds) {
      m_stop = BalanceStop::TimeLimit;
    } else if (m_limits.progress && elapsed - m_lastProgress >= kSecondsBetweenProgressCalls) {
      m_lastProgress = elapsed;
      if (!m_limits.progress(m_limits.seconds > 0 ? elapsed / m_limits.seconds : 1.0)) m_stop = BalanceStop::Cancelled;
    }
    return m_stop.has_value();
  }
  std::optional<BalanceStop> Stopped() const { return m_stop; }

 private:
  const BalanceLimits& m_limits;
  Clock::time_point m_start;
  uint64_t m_ticks = 0;
  double m_lastProgress = -1.0;  // the first check reports at once
  std::optional<BalanceStop> m_stop;
};

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int64_t Spread(const Sums& sums) { return PhaseSpread(sums); }

struct Circuit {
  int64_t load = 0;
  int current = -1;  // phase as read, -1 when not valid
  size_t row = 0;
};

// Powers of the circuits from some position on, largest first, with prefix
// sums: how few of them cover a given power.
class CoverList {
 public:
  void Add(int64_t load) { m_prefix.push_back(m_prefix.back() + load); }
  void MarkPosition() { m_startAt.push_back(m_prefix.size() - 1); }

  int64_t RemainingFrom(size_t position) const { return m_prefix.back() - m_prefix[m_startAt[position]]; }
  // The fewest of the circuits at or after `position` whose powers reach
  // `need`; kInfeasible when all of them do not.
  int FewestCovering(size_t position, int64_t need) const {
    if (need <= 0) return 0;
    const size_t start = m_startAt[position];
    const auto first = m_prefix.begin() + static_cast<std::ptrdiff_t>(start);
    const auto found = std::lower_bound(first, m_prefix.end(), m_prefix[start] + need);
    return found == m_prefix.end() ? kInfeasible : static_cast<int>(found - first);
  }

 private:
  std::vector<int64_t> m_prefix{0};
  std::vector<size_t> m_startAt;
};

// The circuits in search order and what the bounds need to know about every
// suffix of it.
struct Board {
  std::vector<Circuit> circuits;
  std::vector<int64_t> remaining;  // power of circuits [d, n)
  std::vector<int> invalidFrom;    // circuits without a valid phase in [d, n)
  std::array<CoverList, 3> own;    // circuits read on phase x
  std::array<CoverList, 3> other;  // circuits not read on phase x
  int64_t total = 0;

  Board(const LoadUnits& units, std::span<const int> current) : total(units.total) {
    for (size_t row = 0; row < units.units.size(); ++row) {
      const int phase = current[row] >= 0 && current[row] <= 2 ? current[row] : -1;
      circuits.push_back(Circuit{units.units[row], phase, row});
    }
    std::stable_sort(circuits.begin(), circuits.end(), [](const Circuit& a, const Circuit& b) { return a.load > b.load; });
    const size_t n = circuits.size();
    remaining.assign(n + 1, 0);
    invalidFrom.assign(n + 1, 0);
    for (size_t d = n; d-- > 0;) {
      remaining[d] = remaining[d + 1] + circuits[d].load;
      invalidFrom[d] = invalidFrom[d + 1] + (circuits[d].current < 0 ? 1 : 0);
    }
    for (size_t d = 0; d <= n; ++d) {
      for (int x = 0; x < 3; ++x) {
        own[x].MarkPosition();
        other[x].MarkPosition();
      }
      if (d == n) break;
      for (int x = 0; x < 3; ++x) (circuits[d].current == x ? own[x] : other[x]).Add(circuits[d].load);
    }
  }

  size_t Size() const { return circuits.size(); }

  int Moves(const std::vector<int>& phases) const {
    int moved = 0;
    for (size_t d = 0; d < phases.size(); ++d) moved += phases[d] != circuits[d].current ? 1 : 0;
    return moved;
  }

  // The fewest further moves needed from position d with partial sums
  // `sums` so that every phase can still end within [low, high];
  // kInfeasible when none can.
  int MovesLowerBound(size_t d, const Sums& sums, int64_t low, int64_t high) const {
    int outgoing = 0;
    int incoming = 0;
    for (int x = 0; x < 3; ++x) {
      if (sums[x] > high) return kInfeasible;
      const int64_t staying = sums[x] + own[x].RemainingFrom(d);
      const int out = staying > high ? own[x].FewestCovering(d, staying - high) : 0;
      const int in = staying < low ? other[x].FewestCovering(d, low - staying) : 0;
      if (out >= kInfeasible || in >= kInfeasible) return kInfeasible;
      outgoing += out;
      incoming += in;
    }
    return std::max(invalidFrom[d] + outgoing, incoming);
  }

  std::vector<int> InRowOrder(const std::vector<int>& phases) const {
    std::vector<int> rows(phases.size());
    for (size_t d = 0; d < phases.size(); ++d) rows[circuits[d].row] = phases[d];
    return rows;
  }
};

// Search 1: the smallest spread, or the first spread at or below `goal`.
class SpreadSearch {
 public:
  SpreadSearch(const Board& board, SearchClock& clock, int64_t goal)
      : m_board(board), m_clock(clock), m_goal(goal), m_phases(board.Size(), 0) {}

  void Run() { Visit(0); }
  bool Complete() const { return !m_clock.Stopped(); }  // searched through, or reached the goal
  int64_t BestSpread() const { return m_best; }
  const std::vector<int>& BestPhases() const { return m_bestPhases; }

 private:
  void Visit(size_t d) {
    if (m_done || m_clock.ShouldStop()) {
      m_done = true;
      return;
    }
    if (d == m_board.Size()) {
      const int64_t spread = Spread(m_sums);
      if (spread < m_best) {
        m_best = spread;
        m_bestPhases = m_phases;
        m_done = spread <= m_goal;
      }
      return;
    }
    std::array<int, 3> order = {0, 1, 2};
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return m_sums[a] < m_sums[b]; });
    const int64_t load = m_board.circuits[d].load;
    for (size_t k = 0; k < 3 && !m_done; ++k) {
      const int phase = order[k];
      if (k > 0 && m_sums[phase] == m_sums[order[k - 1]]) continue;
      m_sums[phase] += load;
      m_phases[d] = phase;
      if (SpreadLowerBound(m_sums, m_board.remaining[d + 1]) < m_best) Visit(d + 1);
      m_sums[phase] -= load;
    }
  }

  const Board& m_board;
  SearchClock& m_clock;
  int64_t m_goal;
  Sums m_sums{0, 0, 0};
  std::vector<int> m_phases;
  int64_t m_best = kNoSpread;
  std::vector<int> m_bestPhases;
  bool m_done = false;
};

// Search 2: the first assignment in the fixed order with spread at most
// `limit` and at most `budget` moves.
class MoveSearch {
 public:
  MoveSearch(const Board& board, SearchClock& clock, int64_t limit)
      : m_board(board),
        m_clock(clock),
        m_limit(limit),
        m_low(-FloorDiv(-(board.total - 2 * limit), 3)),
        m_high(FloorDiv(board.total + 2 * limit, 3)),
        m_phases(board.Size(), 0) {}

  int RootLowerBound() const { return m_board.MovesLowerBound(0, Sums{0, 0, 0}, m_low, m_high); }

  // The fewest moves from `fewest` up to `most`; empty when stopped first.
  std::optional<std::vector<int>> Run(int fewest, int most) {
    for (int budget = fewest; budget <= most; ++budget) {
      m_budget = budget;
      if (Visit(0)) return m_phases;
      if (m_clock.Stopped()) return std::nullopt;
    }
    return std::nullopt;
  }

 private:
  bool Visit(size_t d) {
    if (m_clock.ShouldStop()) return false;
    if (d == m_board.Size()) return Spread(m_sums) <= m_limit;
    const Circuit& circuit = m_board.circuits[d];
    std::array<int, 3> order = {0, 1, 2};
    if (circuit.current > 0) std::rotate(order.begin(), order.begin() + circuit.current, order.begin() + circuit.current + 1);
    for (const int phase : order) {
      const int move = phase != circuit.current ? 1 : 0;
      m_sums[phase] += circuit.load;
      m_moved += move;
      m_phases[d] = phase;
      if (Promising(d + 1) && Visit(d + 1)) return true;
      m_sums[phase] -= circuit.load;
      m_moved -= move;
      if (m_clock.Stopped()) return false;
    }
    return false;
  }

  bool Promising(size_t d) const {
    if (SpreadLowerBound(m_sums, m_board.remaining[d]) > m_limit) return false;
    const int more = m_board.MovesLowerBound(d, m_sums, m_low, m_high);
    return more < kInfeasible && m_moved + more <= m_budget;
  }

  const Board& m_board;
  SearchClock& m_clock;
  int64_t m_limit;
  int64_t m_low;
  int64_t m_high;
  Sums m_sums{0, 0, 0};
  int m_moved = 0;
  int m_budget = 0;
  std::vector<int> m_phases;
};

// The phases exchanged so that the fewest circuits move; the spread stays.
std::vector<int> WithFewestMoves(const Board& board, const std::vector<int>& phases) {
  std::array<int, 3> mapping = {0, 1, 2};
  std::vector<int> best = phases;
  int bestMoves = board.Moves(phases);
  do {
    std::vector<int> mapped = phases;
    for (int& phase : mapped) phase = mapping[static_cast<size_t>(phase)];
    const int moves = board.Moves(mapped);
    if (moves < bestMoves) {
      best = std::move(mapped);
      bestMoves = moves;
    }
  } while (std::next_permutation(mapping.begin(), mapping.end()));
  return best;
}

double UnbalanceOf(int64_t spread, int64_t total) {
  return total == 0 ? 0.0 : static_cast<double>(spread) * 3 / static_cast<double>(total);
}

// The largest spread whose unbalance is below `bound`; -1 when none.
int64_t LargestSpreadBelow(double bound, int64_t total) {
  if (total == 0) return bound > 0 ? 0 : -1;
  const double estimate = std::clamp(bound * static_cast<double>(total) / 3, -1.0, static_cast<double>(total));
  auto spread = static_cast<int64_t>(estimate);
  while (spread >= 0 && !(UnbalanceOf(spread, total) < bound)) --spread;
  while (spread < total && UnbalanceOf(spread + 1, total) < bound) ++spread;
  return spread;
}

// The searches' shared start: the loads in units, the board in search order.
struct Prepared {
  std::optional<LoadUnits> units;
  std::optional<Board> board;
  ExtendedBalance refusal;
};

Prepared Prepare(std::span<const float> loads, std::span<const int> current) {
  Prepared prepared;
  LoadUnitsResult converted = ToLoadUnits(loads);
  if (!converted.units || current.size() != loads.size()) {
    prepared.refusal.stop = BalanceStop::Refused;
    prepared.refusal.refusal = converted.units ? "one phase per circuit is needed" : converted.refusal;
    return prepared;
  }
  prepared.units = std::move(converted.units);
  // Every sum is a multiple of the loads' common divisor; counting in it
  // lets the bound see that equal loads cannot split more finely.
  int64_t divisor = 0;
  for (const int64_t units : prepared.units->units) divisor = std::gcd(divisor, units);
  if (divisor > 1) {
    for (int64_t& units : prepared.units->units) units /= divisor;
    prepared.units->total /= divisor;
  }
  prepared.board.emplace(*prepared.units, current);
  return prepared;
}

void Describe(ExtendedBalance& result, const Board& board, const std::vector<int>& phases) {
  Sums sums{0, 0, 0};
  for (size_t d = 0; d < phases.size(); ++d) sums[static_cast<size_t>(phases[d])] += board.circuits[d].load;
  result.unbalance = UnbalanceOf(Spread(sums), board.total);
  result.moved = board.Moves(phases);
  result.phases = board.InRowOrder(phases);
}

// Among the assignments within `spread`, one that moves the fewest circuits,
// starting from `phases`; `optimal` is set once the search has proved it.
std::vector<int> FewestMovesWithin(const Board& board, SearchClock& clock, int64_t spread, std::vector<int> phases,
                                   bool& optimal) {
  MoveSearch moves(board, clock, spread);
  if (std::optional<std::vector<int>> fewest = moves.Run(moves.RootLowerBound(), board.Moves(phases))) {
    optimal = true;
    return std::move(*fewest);
  }
  return phases;
}

// The answer as found, unless the user cancelled meanwhile: a cancelled
// search leaves the board as it was.
ExtendedBalance Concluded(ExtendedBalance result, const SearchClock& clock, const Board& board,
                          const std::vector<int>& phases) {
  if (clock.Stopped() == BalanceStop::Cancelled) {
    result.stop = BalanceStop::Cancelled;
    return result;
  }
  result.stop = result.optimal ? BalanceStop::Finished : BalanceStop::TimeLimit;
  Describe(result, board, phases);
  return result;
}

// What both entry points start from: the board in whole units (or the
// refusal), the clock and the spread no assignment can beat.
template <class Search>
ExtendedBalance OnPreparedBoard(std::span<const float> loads, std::span<const int> current,
                                const BalanceLimits& limits, Search search) {
  Prepared prepared = Prepare(loads, current);
  if (!prepared.board) return prepared.refusal;
  SearchClock clock(limits);
  return search(*prepared.board, clock, SpreadLowerBound(Sums{0, 0, 0}, prepared.board->total));
}

}  // namespace

ExtendedBalance BalanceExtended(std::span<const float> loads, std::span<const int> current,
                                const BalanceLimits& limits) {
  return OnPreparedBoard(loads, current, limits, [](const Board& board, SearchClock& clock, int64_t rootBound) {
  ExtendedBalance result;
  SpreadSearch spreads(board, clock, rootBound);
  spreads.Run();
  if (clock.Stopped() == BalanceStop::Cancelled || spreads.BestPhases().empty()) {
    result.stop = BalanceStop::Cancelled;
    return result;
  }
  std::vector<int> phases = WithFewestMoves(board, spreads.BestPhases());
  result.unbalanceProved = spreads.Complete();
  result.lowerBound = UnbalanceOf(result.unbalanceProved ? spreads.BestSpread() : rootBound, board.total);
  if (result.unbalanceProved)
    phases = FewestMovesWithin(board, clock, spreads.BestSpread(), std::move(phases), result.optimal);
  return Concluded(std::move(result), clock, board, phases);
  });
}

ExtendedBalance BalanceBelow(std::span<const float> loads, std::span<const int> current, double bound,
                             const BalanceLimits& limits) {
  return OnPreparedBoard(loads, current, limits, [bound](const Board& board, SearchClock& clock, int64_t rootBound) {
  ExtendedBalance result;
  result.lowerBound = UnbalanceOf(rootBound, board.total);
  const int64_t limit = LargestSpreadBelow(bound, board.total);
  result.stop = BalanceStop::Finished;
  if (limit < rootBound) return result;  // proved out of reach

  SpreadSearch spreads(board, clock, limit);
  spreads.Run();
  if (clock.Stopped() == BalanceStop::Cancelled) {
    result.stop = BalanceStop::Cancelled;
    return result;
  }
  if (spreads.BestPhases().empty() || spreads.BestSpread() > limit) {
    result.stop = spreads.Complete() ? BalanceStop::Finished : BalanceStop::TimeLimit;
    return result;
  }
  const std::vector<int> phases =
      FewestMovesWithin(board, clock, limit, WithFewestMoves(board, spreads.BestPhases()), result.optimal);
  result = Concluded(std::move(result), clock, board, phases);
  result.reachesBound = result.stop != BalanceStop::Cancelled;
  return result;
  });
}
