// What 自动平衡 was asked to do and what it did, for the command line, the
// dialog and reports that list the phases before and after balancing.
#pragma once

#include <optional>
#include <vector>

#include "platform/text/cstring.h"

struct BalanceSettings {
  // Boards of 20 to 200 circuits: balance them with the extended method
  // without asking (the command line); the dialog asks first.
  bool extendedWithoutAsking = false;
  double timeLimitSeconds = 2.0;  // for the extended method
  // When set: move the fewest circuits so that the unbalance falls below
  // this bound, whatever the number of circuits (3 to 200).
  std::optional<double> below;
  // Among the assignments with the smallest unbalance, the one that moves
  // the fewest circuits, whatever the number of circuits.
  bool fewestMoves = false;
};

enum class BalanceMethod {
  None,        // refused, declined or not run
  Exhaustive,  // up to 19 circuits: every assignment in counter order
  Extended,    // 20 to 200 circuits: smallest unbalance, fewest moved
  Below,       // fewest moved to bring the unbalance below a bound
};

struct BalanceOutcome {
  BalanceMethod method = BalanceMethod::None;
  bool applied = false;    // the phase cells were rewritten
  bool cancelled = false;  // stopped by the user: nothing was changed
  bool optimal = false;    // the answer is proved (always, for the exhaustive search)
  bool reachesBound = true;  // Below: an assignment under the bound was found
  double unbalance = 0.0;  // of the new phases, from exact sums (extended methods)
  double lowerBound = 0.0; // proved: no assignment has a smaller unbalance (extended method)
  int moved = 0;           // circuits whose phase cell changed meaning
  std::vector<CString> phasesBefore;  // cell 1 of every row as it was read
  std::vector<CString> phasesAfter;   // cell 1 as written; empty when not applied
};
