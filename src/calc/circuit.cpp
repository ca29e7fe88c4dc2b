#include "calc/circuit.h"

#include <algorithm>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "platform/text/encoding.h"

namespace {

constexpr int kInputRemarkColumn = 5;

// The remark moves right when the result columns come in after it.
int RemarkColumn(const CircuitTable& list) {
  const CString caption = calc_text::Remark();
  for (int column = 0; column < list.GetColumnCount(); ++column)
    if (list.GetColumnCaption(column) == caption) return column;
  return kInputRemarkColumn;
}

int PlainPhase(const CString& text) {
  if (text == "L1") return 0;
  if (text == "L2") return 1;
  if (text == "L3") return 2;
  return -1;
}

bool IsThreePhaseText(const CString& text) { return text == "L1L2L3" || text == FromUtf8("三相"); }

// The text without its trailing fixed mark; empty when it has none.
bool StripFixedMark(CString& text) {
  for (const CString& mark : {FromUtf8("(固定)"), FromUtf8("（固定）"), CString("*")}) {
    const int length = text.GetLength() - mark.GetLength();
    if (length > 0 && text.Mid(length) == mark) {
      text = text.Left(length);
      return true;
    }
  }
  return false;
}

}  // namespace

PhaseMark ReadPhaseMark(const CString& full, const CString& shortText) {
  const int plain = PlainPhase(shortText);
  if (plain >= 0) return {PhaseKind::Single, plain, false};
  CString base = full;
  const bool marked = StripFixedMark(base);
  if (IsThreePhaseText(base)) return {PhaseKind::Three, -1, false};
  const int phase = PlainPhase(base);
  if (marked && phase >= 0) return {PhaseKind::Single, phase, true};
  return {};
}

Circuit ReadCircuit(const CircuitTable& list, int row) {
  Circuit circuit;
  circuit.number = list.GetItemText(row, 0);
  circuit.phaseText = list.GetItemText(row, 1);
  const PhaseMark mark = ReadPhaseMark(circuit.phaseText, ReadShortCell(list, row, 1));
  circuit.kind = mark.kind;
  circuit.phase = mark.phase;
  circuit.fixed = mark.fixed;
  circuit.equipmentPower = ReadCellNumber(list, row, 2);
  circuit.demandCoefficient = ReadCellNumber(list, row, 3);
  circuit.powerFactor = ReadCellNumber(list, row, 4);
  circuit.remark = list.GetItemText(row, RemarkColumn(list));
  return circuit;
}

std::vector<Circuit> ReadCircuits(const CircuitTable& list) {
  std::vector<Circuit> circuits;
  for (int row = 0; row < list.GetItemCount(); ++row) circuits.push_back(ReadCircuit(list, row));
  return circuits;
}

bool HasUnmovableCircuits(const std::vector<Circuit>& circuits) {
  return std::any_of(circuits.begin(), circuits.end(), [](const Circuit& c) { return !c.IsFree(); });
}
