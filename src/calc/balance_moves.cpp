#include "calc/balance_moves.h"

#include "platform/text/encoding.h"

std::vector<PhaseMove> PhaseMoves(const CircuitTable& list, const BalanceOutcome& outcome) {
  std::vector<PhaseMove> moves;
  if (!outcome.applied) return moves;
  const size_t rows = std::min(outcome.phasesBefore.size(), outcome.phasesAfter.size());
  for (size_t row = 0; row < rows; ++row) {
    if (outcome.phasesBefore[row] == outcome.phasesAfter[row]) continue;
    const int index = static_cast<int>(row);
    moves.push_back({index, list.GetItemText(index, 0), outcome.phasesBefore[row], outcome.phasesAfter[row]});
  }
  return moves;
}

std::vector<int> MovedRows(const std::vector<PhaseMove>& moves) {
  std::vector<int> rows;
  for (const PhaseMove& move : moves) rows.push_back(move.row);
  return rows;
}

CString PhaseMoveLine(const PhaseMove& move) {
  CString place;
  place.Format("%d", move.row + 1);
  const CString circuit = move.circuit.IsEmpty() ? FromUtf8("列表第") + place + FromUtf8("行") : move.circuit;
  const CString before = move.before.IsEmpty() ? FromUtf8("(空)") : move.before;
  return circuit + ": " + before + FromUtf8(" → ") + move.after;
}

CString BalanceMovesMessage(const std::vector<PhaseMove>& moves, float unbalance) {
  CString text;
  text.Format("%f", static_cast<double>(unbalance));
  text = FromUtf8("自动平衡完成,不平衡度") + text + FromUtf8("。");
  if (moves.empty()) return text + FromUtf8("\n各回路的相别没有改变。");
  CString count;
  count.Format("%d", static_cast<int>(moves.size()));
  text += FromUtf8("\n移动了") + count + FromUtf8("个回路(列表中已标出,保存或重新读取后取消标记):");
  for (const PhaseMove& move : moves) text += "\n" + PhaseMoveLine(move);
  return text;
}
