#include <algorithm>
#include <cmath>

#include "calc/phase_balancing.h"

namespace {

// One base-3 step; all 2s wrap round to all 0s.
void AdvanceCounter(std::vector<int>& counter) {
  for (int& digit : counter) {
    if (digit < 2) {
      ++digit;
      return;
    }
    digit = 0;
  }
}

double Unbalance(std::span<const float> loads, const std::vector<int>& counter) {
  double sums[3] = {0.0, 0.0, 0.0};
  for (size_t i = 0; i < loads.size(); ++i) sums[counter[i]] += loads[i];
  const double max = std::max({sums[0], sums[1], sums[2]});
  const double min = std::min({sums[0], sums[1], sums[2]});
  const double total = sums[0] + sums[1] + sums[2];
  return (max - min) * 3 / total;
}

}  // namespace

std::vector<int> BalancePhasesExhaustively(std::span<const float> loads) {
  return *BalancePhasesExhaustively(loads, BalanceProgress{});
}

std::optional<std::vector<int>> BalancePhasesExhaustively(std::span<const float> loads,
                                                          const BalanceProgress& progress) {
  // About a tenth of a second of work between two reports.
  constexpr int32_t kAssignmentsBetweenReports = int32_t{1} << 21;
  const size_t n = loads.size();
  std::vector<int> counter(n, 0);
  std::vector<int> best(n, 0);
  float bestUnbalance = 2000.0f;
  const auto assignments = static_cast<int32_t>(std::pow(3.0, static_cast<double>(n)));
  for (int32_t k = 0; k < assignments; ++k) {
    if (progress && k % kAssignmentsBetweenReports == kAssignmentsBetweenReports - 1 &&
        !progress(static_cast<double>(k) / assignments))
      return std::nullopt;
    AdvanceCounter(counter);
    const double u = Unbalance(loads, counter);
    if (u < bestUnbalance) {
      best = counter;
      bestUnbalance = static_cast<float>(u);
    }
  }
  return best;
}
