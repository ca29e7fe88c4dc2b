// The phase of every circuit before and after 自动平衡, for the report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/balance_outcome.h"
#include "calc/circuit_table.h"

namespace report {

struct PhaseRecord {
  std::vector<std::string> circuits;  // circuit numbers, UTF-8
  std::vector<std::string> before;
  std::vector<std::string> after;
};

// The phases a balancing wrote, beside the circuit numbers of `list`;
// nothing when it wrote none (refused, declined or cancelled).
std::optional<PhaseRecord> BalancedPhases(const CircuitTable& list, const BalanceOutcome& outcome);

}  // namespace report
