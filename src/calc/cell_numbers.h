// How numbers travel through the circuit list: a cell is read as at most 9
// bytes and converted like the C runtime's atof (a non-number is 0) into a
// 32-bit float; results are written with "%f" from their 32-bit value.
#pragma once

#include "calc/circuit_table.h"
#include "platform/text/cstring.h"

constexpr int kNumberCellBytes = 9;

// The longest prefix of at most `maxBytes` bytes that ends on a character
// boundary, so no half of a double-byte character is ever handed out.
CString CutToBytes(const CString& text, int maxBytes);

// The cell text as the calculation sees it (phase and number cells).
CString ReadShortCell(const CircuitTable& list, int row, int column);
float ReadCellNumber(const CircuitTable& list, int row, int column);
// A phase cell's text as 0 (L1), 1 (L2) or 2 (L3); -1 when it names none.
int PhaseIndex(const CString& phase);
CString FormatFixed(float value);
