#include "calc/cell_numbers.h"

#include <string_view>

#include "platform/crt/crt.h"
#include "platform/text/mbcs.h"

CString CutToBytes(const CString& text, int maxBytes) {
  if (maxBytes <= 0) return CString();
  const std::string_view bytes(text.str());
  const size_t limit = static_cast<size_t>(maxBytes);
  if (bytes.size() <= limit) return text;
  size_t end = 0;
  while (end < bytes.size()) {
    const size_t next = end + mbcs::CharacterLength(bytes, end);
    if (next > limit) break;
    end = next;
  }
  return CString(bytes.substr(0, end));
}

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
