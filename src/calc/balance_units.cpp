#include "calc/balance_units.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMostDigits = 9;
constexpr double kLargestUnits = 1152921504606846976.0;  // 2^60: sums and 3·sums stay in int64

double PowerOfTen(int digits) {
  double power = 1.0;
  for (int i = 0; i < digits; ++i) power *= 10.0;
  return power;
}

// The fewest decimals that give the float back, or kMostDigits + 1.
int DecimalsOf(float load) {
  for (int digits = 0; digits <= kMostDigits; ++digits) {
    const double scale = PowerOfTen(digits);
    const double scaled = std::round(static_cast<double>(load) * scale);
    if (static_cast<float>(scaled / scale) == load) return digits;
  }
  return kMostDigits + 1;
}

}  // namespace

LoadUnitsResult ToLoadUnits(std::span<const float> loads) {
  LoadUnits result;
  for (const float load : loads) {
    if (!std::isfinite(load)) return {std::nullopt, "a circuit's power is not a finite number"};
    if (load < 0.0f) return {std::nullopt, "a circuit's power is negative"};
    const int digits = DecimalsOf(load);
    if (digits > kMostDigits) result.exact = false;
    result.digits = std::max(result.digits, std::min(digits, kMostDigits));
  }
  const double scale = PowerOfTen(result.digits);
  double total = 0.0;
  for (const float load : loads) {
    const double units = std::round(static_cast<double>(load) * scale);
    total += units;
    if (total >= kLargestUnits) return {std::nullopt, "the circuits' powers are too large to be added exactly"};
    result.units.push_back(static_cast<int64_t>(units));
    result.total += result.units.back();
  }
  return {std::move(result), {}};
}
