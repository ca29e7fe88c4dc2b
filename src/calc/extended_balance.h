// Balancing for boards beyond the reach of the exhaustive search (the
// command uses it for 20 to 200 circuits; it works for any number).
//
// The answer, among all 3^n phase assignments:
//  1. the smallest unbalance u = (max − min) × 3 / total of the phase sums;
//  2. among those, the fewest circuits moved away from the phase they were
//     read with (a circuit without a valid phase counts as moved whatever it
//     gets);
//  3. among those, the first in this fixed order: circuits are taken by
//     decreasing power (equal powers in row order), and each tries the phase
//     it was read with first, then L1, L2, L3.
// The loads are added as whole units (see balance_units.h), so the sums are
// exact. The search is complete but bounded in time: when it stops early it
// keeps the best assignment found and says what it has proved.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/balance_progress.h"

struct BalanceLimits {
  double seconds = 2.0;
  BalanceProgress progress;  // share of the time limit used; may be empty
};

enum class BalanceStop {
  Finished,   // the search ran to its end: everything reported is proved
  TimeLimit,  // stopped at the time limit with the best assignment found
  Cancelled,  // stopped by the progress callback: no assignment is given
  Refused,    // the loads cannot be balanced this way (see refusal)
};

struct ExtendedBalance {
  BalanceStop stop = BalanceStop::Refused;
  std::string refusal;
  std::vector<int> phases;       // 0 = L1, 1 = L2, 2 = L3, in row order; empty when none
  bool unbalanceProved = false;  // no assignment has a smaller unbalance
  bool optimal = false;          // and none with that unbalance moves fewer circuits
  double unbalance = 0.0;        // of `phases`, from the exact sums (0 when the total is 0)
  double lowerBound = 0.0;       // proved: no assignment's unbalance is smaller
  int moved = 0;                 // circuits of `phases` off the phase they were read with
  bool reachesBound = false;     // BalanceBelow only: `phases` has u below the bound
};

// `current` holds each circuit's phase as read (0..2) or -1 when it was not
// a valid phase; it has as many entries as `loads`.
ExtendedBalance BalanceExtended(std::span<const float> loads, std::span<const int> current,
                                const BalanceLimits& limits);

// The fewest circuits moved so that u falls below `bound` (the same order
// breaks ties); every other circuit keeps its phase. When no assignment
// reaches the bound, `phases` is empty and `reachesBound` false; `stop`
// says whether that was proved (Finished) or the time ran out.
ExtendedBalance BalanceBelow(std::span<const float> loads, std::span<const int> current, double bound,
                             const BalanceLimits& limits);
