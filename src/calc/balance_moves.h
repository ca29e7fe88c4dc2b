// What 自动平衡 did, said circuit by circuit: which rows moved to which
// phase, for the message after a balance, the command line and the marks in
// the list.
#pragma once

#include <vector>

#include "calc/balance_outcome.h"
#include "calc/circuit_table.h"
#include "platform/text/cstring.h"

struct PhaseMove {
  int row = 0;
  CString circuit;  // 线路编号
  CString before;   // the phase cell as read
  CString after;    // the phase written
};

// Rows whose phase cell the balance changed, in row order; none when
// nothing was applied.
std::vector<PhaseMove> PhaseMoves(const CircuitTable& list, const BalanceOutcome& outcome);
std::vector<int> MovedRows(const std::vector<PhaseMove>& moves);

// "WL1: L1 → L2".
CString PhaseMoveLine(const PhaseMove& move);
// The message after a balance: the unbalance reached and every moved
// circuit, or that no circuit had to move.
CString BalanceMovesMessage(const std::vector<PhaseMove>& moves, float unbalance);
