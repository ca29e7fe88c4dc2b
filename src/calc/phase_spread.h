// The spread of three phase sums in whole load units, and the least spread
// any completion of partial sums can reach; shared by the balancing searches.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

using PhaseSums = std::array<int64_t, 3>;

inline int64_t PhaseSpread(const PhaseSums& sums) {
  return *std::max_element(sums.begin(), sums.end()) - *std::min_element(sums.begin(), sums.end());
}

// No assignment that extends partial sums `sums` with `remaining` more power
// spreads less than this.
inline int64_t SpreadLowerBound(const PhaseSums& sums, int64_t remaining) {
  PhaseSums sorted = sums;
  std::sort(sorted.begin(), sorted.end());
  const int64_t total = sorted[0] + sorted[1] + sorted[2] + remaining;
  // The largest phase ends at least at its sum now and at a third of the
  // total; the smallest at most at its sum plus all the rest, and at a third.
  const int64_t byThirds = std::max(sorted[2], (total + 2) / 3) - std::min(sorted[0] + remaining, total / 3);
  // Even if the rest all goes to the other two, their smaller one stays at
  // or below their mean.
  const int64_t byLargest = sorted[2] - (sorted[0] + sorted[1] + remaining) / 2;
  return std::max({int64_t{0}, byThirds, byLargest});
}
