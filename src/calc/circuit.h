// A circuit of the board as the calculation sees it, read from one row of
// the circuit list: the list holds texts, the calculation works on these.
#pragma once

#include <vector>

#include "calc/circuit_table.h"
#include "platform/text/cstring.h"

enum class PhaseKind {
  Single,   // on L1, L2 or L3
  Three,    // "L1L2L3" or "三相": on all three phases
  Invalid,  // any other phase text
};

struct Circuit {
  CString number;     // cell 0 as written
  CString phaseText;  // cell 1 as written, marks included
  PhaseKind kind = PhaseKind::Invalid;
  int phase = -1;     // 0 = L1, 1 = L2, 2 = L3 for a single-phase circuit, else -1
  bool fixed = false; // a single-phase circuit balancing never moves ("L2(固定)", "L2*")
  float equipmentPower = 0.0f;     // Pe, kW
  float demandCoefficient = 0.0f;  // Kx
  float powerFactor = 0.0f;        // cos φ
  CString remark;

  // Balancing may move it to another phase.
  bool IsFree() const { return kind != PhaseKind::Three && !fixed; }
};

struct PhaseMark {
  PhaseKind kind = PhaseKind::Invalid;
  int phase = -1;
  bool fixed = false;
};

// `full` is the whole phase text; `shortText` the same cut to the bytes the
// number cells are read with. A plain "L1".."L3" is recognised on the short
// text, as the calculation always did; the marks on the whole text, since
// "L2（固定）" is longer than the cut.
PhaseMark ReadPhaseMark(const CString& full, const CString& shortText);

// The row's cells by the list's number rules (see cell_numbers.h).
Circuit ReadCircuit(const CircuitTable& list, int row);
std::vector<Circuit> ReadCircuits(const CircuitTable& list);

// Whether any circuit is three-phase or fixed, so balancing has loads it
// cannot move.
bool HasUnmovableCircuits(const std::vector<Circuit>& circuits);
