// Circuit loads as whole numbers, so that the extended balancing adds them
// without rounding. A designer writes powers as decimals (2.35 kW); the float
// read from such a text is turned back into the decimal it came from and
// counted in units of 10^-digits kW, with `digits` the fewest decimals that
// give every load back exactly (at most 9).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct LoadUnits {
  std::vector<int64_t> units;  // per circuit, row order
  int64_t total = 0;
  int digits = 0;              // one unit is 10^-digits kW
  bool exact = true;           // false when some load needed more than 9 decimals and was rounded
};

struct LoadUnitsResult {
  std::optional<LoadUnits> units;
  std::string refusal;  // why the loads cannot be balanced this way
};

// Refuses negative, infinite or NaN loads, and totals beyond 2^60 units.
LoadUnitsResult ToLoadUnits(std::span<const float> loads);
