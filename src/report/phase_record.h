// The phase of every circuit before and after 自动平衡, for the report. The
// caller takes the first picture before the balancing and the second after
// it; nothing else changes the phases between the two.
#pragma once

#include <string>
#include <vector>

#include "calc/circuit_table.h"

namespace report {

struct PhaseRecord {
  std::vector<std::string> circuits;  // circuit numbers, UTF-8
  std::vector<std::string> before;
  std::vector<std::string> after;
};

// Circuit numbers and phases as the list shows them now.
PhaseRecord RecordPhasesBefore(const CircuitTable& list);
// The phases the list shows now become the record's "after".
void RecordPhasesAfter(PhaseRecord& record, const CircuitTable& list);

}  // namespace report
