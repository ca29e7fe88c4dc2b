// What the window must know about the circuit list beyond its cells: whether
// it holds work the workbook does not (results or balanced phases not yet
// saved), which phase cells the last 自动平衡 changed, and when a circuit's
// values change, so that results no longer belonging to them are cleared.
#pragma once

#include <functional>
#include <set>
#include <vector>

#include "calc/circuit_table.h"

class BoardState : private CircuitTableObserver {
 public:
  // Watches `list` until destroyed; `list` must outlive it.
  explicit BoardState(CircuitTable& list);
  ~BoardState() override;
  BoardState(const BoardState&) = delete;
  BoardState& operator=(const BoardState&) = delete;

  // Told when a circuit's input cell (number, phase, power, coefficients)
  // changes while results are shown.
  std::function<void()> onCircuitChanged;

  // The list was (re)read: it is the workbook's again; nothing is marked.
  void ListRead();
  // 计算 or 自动平衡 showed results for the circuits as they are now.
  void Calculated();
  // 自动平衡 moved these rows to other phases; they stay marked until the
  // next read or save, or until their phase is changed otherwise. The marks
  // follow rows added and deleted above them.
  void PhasesMoved(const std::vector<int>& rows);
  // The results and phases are in a saved workbook now.
  void Saved();
  // The results were emptied: nothing of them is left to lose.
  void ResultsCleared();
  // The list's phases are in the input workbook now (写回工作簿).
  void WrittenBack();

  bool HasUnsavedWork() const { return m_resultsUnsaved || m_phasesUnsaved; }
  bool IsPhaseMarked(int row) const { return m_markedRows.count(row) != 0; }
  const std::set<int>& MarkedRows() const { return m_markedRows; }

 private:
  void OnCellChanged(int row, int column) override;
  void OnRowsInserted(int first, int count) override;
  void OnRowsRemoved(int first, int count) override;
  void OnAboutToReset() override;

  CircuitTable& m_list;
  bool m_resultsShown = false;
  bool m_resultsUnsaved = false;
  bool m_phasesUnsaved = false;
  std::set<int> m_markedRows;
};
