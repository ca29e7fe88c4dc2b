// Which cells of the circuit list the designer edits in place, and how: the
// phase from a choice; the circuit's number, its power, the two
// coefficients and the remark as text. The result columns belong to the
// calculation and are never edited. Columns are known by their captions, so
// the remark is found wherever the result columns put it.
#pragma once

#include "calc/circuit_table.h"

enum class CellEditKind { None, PhaseChoice, Text };

CellEditKind EditKindOfColumn(const CircuitTable& table, int column);
