// Automatic phase balancing: which phase each circuit goes to so that the
// board's unbalance (max − min) × 3 / total is smallest. Phases are digits:
// 0 = L1, 1 = L2, 2 = L3.
//
// The answer is defined by the exhaustive search: every assignment in counter
// order (circuit 0 the least significant base-3 digit; 1, 2, …, 3^n − 1, then
// 0), each unbalance computed in double and compared with the best so far as
// stored in a float (starting at 2000); a strictly smaller one replaces it.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "calc/balance_progress.h"

// Both take at most 19 circuits (the command refuses more).

// The exhaustive search exactly as described above: 3^n × n steps.
std::vector<int> BalancePhasesExhaustively(std::span<const float> loads);

// The same answer for every input, found without visiting every assignment
// when the phase sums are exact in double (see balance_search.cpp); otherwise
// it runs the exhaustive search.
std::vector<int> BalancePhases(std::span<const float> loads);

// The same, reporting the share of assignments tried while the exhaustive
// search runs; empty when `progress` cancelled it.
std::optional<std::vector<int>> BalancePhases(std::span<const float> loads, const BalanceProgress& progress);
std::optional<std::vector<int>> BalancePhasesExhaustively(std::span<const float> loads,
                                                          const BalanceProgress& progress);
