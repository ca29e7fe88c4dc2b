// Balancing a board some of whose load cannot move: fixed single-phase
// circuits stay on their phase and three-phase circuits load each phase with
// a third of their power. Only the free circuits get phases.
//
// The answer, among all 3^n assignments of the n free circuits:
//  1. the smallest unbalance u = (max − min) × 3 / total of the whole
//     board's phase sums;
//  2. with `fewestMoves`, among those the fewest free circuits moved from the
//     phase they were read with (one without a valid phase always counts);
//  3. among those, the first in counter order: free circuit 0 is the least
//     significant base-3 digit (0 = L1, 1 = L2, 2 = L3), counting from 0.
// Loads are added as whole units (balance_units.h), so the sums are exact.
// Two searches: the smallest spread (largest circuits first, lightest phase
// first, stopping at the root bound), then at that spread the rules 2 and 3
// (rule 3 only up to 19 free circuits; beyond, without `fewestMoves`, the
// first smallest spread found is kept, and with it the first assignment met
// within the smallest budget of moves). Bounds count what the moves left
// can still level and the step all free loads share. Both stop at the time
// limit with the best found.
#pragma once

#include <span>

#include "calc/extended_balance.h"

struct UnmovableLoads {
  std::span<const float> threePhase;   // each three-phase circuit's load, a third on every phase
  std::span<const float> fixedSingle;  // each fixed single-phase circuit's load
  std::span<const int> fixedPhases;    // and its phase (0..2)
};

// `current` holds each free circuit's phase as read (0..2) or -1.
ExtendedBalance BalanceAroundUnmovable(std::span<const float> freeLoads, std::span<const int> current,
                                       const UnmovableLoads& unmovable, bool fewestMoves,
                                       const BalanceLimits& limits);
