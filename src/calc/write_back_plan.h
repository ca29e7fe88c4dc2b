// Which cells of the circuit sheet a write-back changes: from the circuits
// as the sheet holds them and the list as it is now, the rows to delete and
// insert and the cells whose text changed.
#pragma once

#include <vector>

#include "calc/circuit_edit_state.h"
#include "workbook/sheet_update.h"

struct WriteBackPlan {
  xls::SheetUpdate update;
  std::vector<long> finalRows;  // per list row, its sheet row (from 1) once written
};

// `now.origins` index `circuits`. A new row goes directly below the list row
// before it (above the first circuit when it leads, below the header when
// no circuit is left).
WriteBackPlan PlanWriteBack(const std::vector<SheetCircuit>& circuits, const ListInputs& now);
