// The circuits' numbers checked before 计算: a power that is not a number or
// is negative, a demand coefficient or power factor that is not a number in
// (0, 1]; under 规范法 also a phase text that is none of L1, L2, L3,
// L1L2L3, 三相 (with or without a fixed mark). Each such cell is named by its
// circuit, its column and the text found, so the designer can find and mend
// it in the workbook.
#pragma once

#include <vector>

#include "calc/circuit_table.h"
#include "platform/text/cstring.h"

struct CircuitProblem {
  int row = 0;
  CString circuit;  // 线路编号 as the list shows it
  CString column;   // the column's caption
  CString text;     // the cell as the calculation reads it
};

enum class PhaseCheck {
  Lenient,  // the original method: an unknown phase is said and left out of the phase sums
  Known,    // 规范法: every circuit needs a phase it can be calculated on
};

// Every problem of every row, in row order and then column order.
std::vector<CircuitProblem> FindCircuitProblems(const CircuitTable& list, PhaseCheck phases = PhaseCheck::Lenient);

// One message naming every problem, one line each.
CString CircuitProblemsMessage(const std::vector<CircuitProblem>& problems);
// The message's first line and one problem's line, for hosts that print
// them separately.
CString CircuitProblemsHeading(int count);
CString CircuitProblemsHeading(const std::vector<CircuitProblem>& problems);
CString CircuitProblemLine(const CircuitProblem& problem);

// Why the calculation would refuse a value typed into one of a circuit's
// input fields (0 线路编号 … 5 备注).
enum class CircuitValueProblem { None, Phase, Power, Coefficient };
CircuitValueProblem CheckCircuitValue(int field, const CString& text);

// The per-circuit power-factor refusal, naming the circuit.
CString CircuitPowerFactorRefusal(const CString& circuit);
// The board's demand coefficient outside (0, 1].
CString BoardDemandCoefficientRange();
bool IsBoardDemandCoefficient(float value);
