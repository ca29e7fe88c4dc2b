// The exhaustive search's answer without visiting every assignment.
//
// When every phase sum is exact in double, the total T is the same for every
// assignment and the unbalance u = (max − min) × 3 / T is a function of the
// spread max − min alone: non-decreasing when T > 0, non-increasing when
// T < 0 (a board with negative loads), and never a number below the start
// value when T = 0 (every u is 0/0 or ±x/0 = +inf: nothing is ever taken).
// The reasoning below holds for any u; only which spreads give the smallest
// u changes with the sign of T. With u* the smallest unbalance and
// F its float rounding, the search keeps:
//  - F ≤ u*: the first assignment in counter order whose u rounds to F (once
//    the stored best is F, nothing at or above u* is smaller);
//  - F > u*: the last assignment with u < F (each one is smaller than the
//    stored F and takes its place again).
// Both are "spread at most some bound K" (T > 0) or "spread at least K"
// (T < 0), answered by meeting in the middle:
// the low digits' partial sums go into a SpreadTree, and the high digits are
// walked in counter order.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "calc/phase_balancing.h"
#include "calc/spread_tree.h"

namespace {

constexpr int64_t kExactLimit = int64_t{1} << 53;

// Loads as whole multiples of their largest common power of two, when every
// load is finite and the sum of their magnitudes stays below 2^53 units, so
// that every partial sum and difference in any order is exact in double.
struct ExactLoads {
  std::vector<int64_t> units;
  int exponent = 0;  // one unit is 2^exponent
  int64_t total = 0;
  int64_t magnitudes = 0;  // sum of |units|: no spread is larger
};

std::optional<ExactLoads> ToExactUnits(std::span<const float> loads) {
  ExactLoads exact;
  exact.exponent = std::numeric_limits<int>::max();
  for (const float load : loads) {
    if (!std::isfinite(load)) return std::nullopt;
    if (load == 0.0f) continue;
    int e = 0;
    const double mantissa = std::frexp(static_cast<double>(load), &e);  // load = mantissa · 2^e
    // 24 significant bits at most: the lowest set bit lies at or above e − 24.
    double scaled = std::ldexp(mantissa, 24);
    int low = e - 24;
    while (std::fmod(scaled, 2.0) == 0.0) {
      scaled /= 2.0;
      ++low;
    }
    exact.exponent = std::min(exact.exponent, low);
  }
  if (exact.exponent == std::numeric_limits<int>::max()) exact.exponent = 0;
  for (const float load : loads) {
    const double units = std::ldexp(static_cast<double>(load), -exact.exponent);
    if (std::fabs(units) >= static_cast<double>(kExactLimit)) return std::nullopt;
    exact.units.push_back(static_cast<int64_t>(units));
    exact.total += exact.units.back();
    exact.magnitudes += exact.units.back() < 0 ? -exact.units.back() : exact.units.back();
    if (exact.magnitudes >= kExactLimit) return std::nullopt;
  }
  return exact;
}

// The unbalance the search computes for a spread of `spread` units.
double UnbalanceOfSpread(int64_t spread, const ExactLoads& exact) {
  const double difference = std::ldexp(static_cast<double>(spread), exact.exponent);
  const double total = std::ldexp(static_cast<double>(exact.total), exact.exponent);
  return difference * 3 / total;
}

// Phase sums of the digits [first, first + count) for counter value `value`,
// as the point (a0 − a1, a0 − a2).
HalfAssignment HalfPoint(const std::vector<int64_t>& units, size_t first, size_t count, uint32_t value) {
  int64_t sums[3] = {0, 0, 0};
  uint32_t rest = value;
  for (size_t i = 0; i < count; ++i) {
    sums[rest % 3] += units[first + i];
    rest /= 3;
  }
  return HalfAssignment{sums[0] - sums[1], sums[0] - sums[2], value};
}

std::vector<HalfAssignment> AllHalfPoints(const std::vector<int64_t>& units, size_t first, size_t count) {
  uint32_t size = 1;
  for (size_t i = 0; i < count; ++i) size *= 3;
  std::vector<HalfAssignment> points;
  points.reserve(size);
  for (uint32_t value = 0; value < size; ++value) points.push_back(HalfPoint(units, first, count, value));
  return points;
}

std::vector<int> DigitsOf(uint64_t value, size_t n) {
  std::vector<int> digits(n);
  for (size_t i = 0; i < n; ++i) {
    digits[i] = static_cast<int>(value % 3);
    value /= 3;
  }
  return digits;
}

class SplitSearch {
 public:
  explicit SplitSearch(const ExactLoads& exact)
      : m_exact(exact),
        m_n(exact.units.size()),
        m_lowCount(m_n / 2),
        m_lowPoints(AllHalfPoints(exact.units, 0, m_lowCount)),
        m_highPoints(AllHalfPoints(exact.units, m_lowCount, m_n - m_lowCount)),
        m_tree(m_lowPoints),
        m_lowSize(static_cast<uint64_t>(m_lowPoints.size())) {}

  std::vector<int> Winner() const { return m_exact.total > 0 ? WinnerBySmallestSpread() : WinnerByLargestSpread(); }

 private:
  std::vector<int> WinnerBySmallestSpread() const {
    const int64_t smallest = SmallestSpread();
    const double bestUnbalance = UnbalanceOfSpread(smallest, m_exact);
    const float stored = static_cast<float>(bestUnbalance);
    if (static_cast<double>(stored) <= bestUnbalance) {
      const int64_t bound = LargestSpread(smallest, [&](int64_t s) {
        return static_cast<float>(UnbalanceOfSpread(s, m_exact)) == stored;
      });
      return DigitsOf(FirstWithin(bound), m_n);
    }
    const int64_t bound = LargestSpread(smallest, [&](int64_t s) {
      return UnbalanceOfSpread(s, m_exact) < static_cast<double>(stored);
    });
    return DigitsOf(LastWithin(bound), m_n);
  }

  // T < 0: the smallest u has the largest spread, and every u at or below
  // a value belongs to the spreads from some K up.
  std::vector<int> WinnerByLargestSpread() const {
    const int64_t largest = LargestSpreadOfAll();
    const double bestUnbalance = UnbalanceOfSpread(largest, m_exact);
    const float stored = static_cast<float>(bestUnbalance);
    if (static_cast<double>(stored) <= bestUnbalance) {
      const int64_t bound = SmallestSpread(largest, [&](int64_t s) {
        return static_cast<float>(UnbalanceOfSpread(s, m_exact)) == stored;
      });
      return DigitsOf(FirstAtLeast(bound), m_n);
    }
    const int64_t bound = SmallestSpread(largest, [&](int64_t s) {
      return UnbalanceOfSpread(s, m_exact) < static_cast<double>(stored);
    });
    return DigitsOf(LastAtLeast(bound), m_n);
  }

  int64_t AllOnL1Spread() const { return m_exact.total < 0 ? -m_exact.total : m_exact.total; }

  // Exchanging phases keeps every spread, and both halves' point sets are
  // closed under it, so the high halves with sums b0 ≥ b1 ≥ b2 meet every
  // spread there is.
  int64_t SmallestSpread() const {
    int64_t best = m_exact.magnitudes + 1;
    for (const HalfAssignment& high : m_highPoints)
      if (high.x >= 0 && high.y >= high.x) best = m_tree.SmallestSpread(high.x, high.y, best);
    return best;
  }

  int64_t LargestSpreadOfAll() const {
    int64_t best = -1;
    for (const HalfAssignment& high : m_highPoints)
      if (high.x >= 0 && high.y >= high.x) best = m_tree.LargestSpread(high.x, high.y, best);
    return best;
  }

  // The smallest spread s ≤ `from` for which `holds` is true; `holds` is
  // true at `from` and stays true down to some point.
  template <class Predicate>
  int64_t SmallestSpread(int64_t from, Predicate holds) const {
    int64_t good = from;
    int64_t bad = -1;
    while (good - bad > 1) {
      const int64_t middle = bad + (good - bad) / 2;
      (holds(middle) ? good : bad) = middle;
    }
    return good;
  }

  // The largest spread s ≥ `from` for which `holds` is true; `holds` is true
  // at `from` and stays true up to some point.
  template <class Predicate>
  int64_t LargestSpread(int64_t from, Predicate holds) const {
    int64_t good = from;
    int64_t bad = m_exact.magnitudes + 1;  // no spread exceeds the loads' magnitudes
    while (bad - good > 1) {
      const int64_t middle = good + (bad - good) / 2;
      (holds(middle) ? good : bad) = middle;
    }
    return good;
  }

  // Counter order runs 1, 2, …, 3^n − 1 and ends with 0 (every circuit on L1,
  // spread = total).
  uint64_t FirstWithin(int64_t bound) const {
    for (const HalfAssignment& high : m_highPoints) {
      const int64_t low = high.index == 0 ? SmallestNonZeroLow(high, [bound](int64_t s) { return s <= bound; })
                                          : m_tree.SmallestIndexWithin(high.x, high.y, bound);
      if (low >= 0) return Combined(high.index, low);
    }
    return 0;
  }

  uint64_t LastWithin(int64_t bound) const {
    if (AllOnL1Spread() <= bound) return 0;
    for (auto high = m_highPoints.rbegin(); high != m_highPoints.rend(); ++high) {
      const int64_t low = m_tree.LargestIndexWithin(high->x, high->y, bound);
      if (low >= 0) return Combined(high->index, low);
    }
    return 0;  // not reached: the smallest spread lies within the bound
  }

  uint64_t FirstAtLeast(int64_t bound) const {
    for (const HalfAssignment& high : m_highPoints) {
      const int64_t low = high.index == 0 ? SmallestNonZeroLow(high, [bound](int64_t s) { return s >= bound; })
                                          : m_tree.SmallestIndexAtLeast(high.x, high.y, bound);
      if (low >= 0) return Combined(high.index, low);
    }
    return 0;
  }

  uint64_t LastAtLeast(int64_t bound) const {
    if (AllOnL1Spread() >= bound) return 0;
    for (auto high = m_highPoints.rbegin(); high != m_highPoints.rend(); ++high) {
      const int64_t low = m_tree.LargestIndexAtLeast(high->x, high->y, bound);
      if (low >= 0) return Combined(high->index, low);
    }
    return 0;  // not reached: the largest spread is at least the bound
  }

  template <class Accepts>
  int64_t SmallestNonZeroLow(const HalfAssignment& high, Accepts accepts) const {
    for (const HalfAssignment& low : m_lowPoints)
      if (low.index != 0 && accepts(JoinedSpread(low.x, low.y, high.x, high.y))) return low.index;
    return -1;
  }

  uint64_t Combined(uint32_t high, int64_t low) const { return static_cast<uint64_t>(high) * m_lowSize + static_cast<uint64_t>(low); }

  const ExactLoads& m_exact;
  size_t m_n;
  size_t m_lowCount;
  std::vector<HalfAssignment> m_lowPoints;  // in counter order
  std::vector<HalfAssignment> m_highPoints;  // in counter order
  SpreadTree m_tree;
  uint64_t m_lowSize;
};

}  // namespace

std::vector<int> BalancePhases(std::span<const float> loads) { return *BalancePhases(loads, BalanceProgress{}); }

std::optional<std::vector<int>> BalancePhases(std::span<const float> loads, const BalanceProgress& progress) {
  if (loads.empty()) return std::vector<int>{};
  const std::optional<ExactLoads> exact = ToExactUnits(loads);
  if (!exact) return BalancePhasesExhaustively(loads, progress);
  // A zero total (all loads zero, or negative ones cancelling the rest):
  // every unbalance is 0/0 or x/0, nothing is ever taken and every circuit
  // stays on L1.
  if (exact->total == 0) return std::vector<int>(loads.size(), 0);
  return SplitSearch(*exact).Winner();
}
