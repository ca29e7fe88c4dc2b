#include "calc/cell_numbers.h"

#include "platform/crt/crt.h"

CString ReadShortCell(const CircuitTable& list, int row, int column) {
  return list.GetItemText(row, column, kNumberCellBytes);
}

float ReadCellNumber(const CircuitTable& list, int row, int column) {
  return static_cast<float>(crt::atof(ReadShortCell(list, row, column).GetString()));
}

int PhaseIndex(const CString& phase) {
  if (phase == "L1") return 0;
  if (phase == "L2") return 1;
  if (phase == "L3") return 2;
  return -1;
}

CString FormatFixed(float value) {
  CString text;
  text.Format("%f", static_cast<double>(value));
  return text;
}
