#include "calc/board_state.h"

namespace {
// Cells 0 to 4 hold what the designer gave: number, phase, power and the two
// coefficients. The result columns come after them.
constexpr int kInputColumns = 5;
constexpr int kPhaseColumn = 1;

// The marked rows with those from `first` on moved by `shift`.
std::set<int> Shifted(const std::set<int>& rows, int first, int shift) {
  std::set<int> moved;
  for (const int row : rows) moved.insert(row >= first ? row + shift : row);
  return moved;
}
}  // namespace

BoardState::BoardState(CircuitTable& list) : m_list(list) { m_list.AddObserver(this); }

BoardState::~BoardState() { m_list.RemoveObserver(this); }

void BoardState::ListRead() {
  m_resultsShown = m_resultsUnsaved = m_phasesUnsaved = false;
  m_markedRows.clear();
}

void BoardState::Calculated() { m_resultsShown = m_resultsUnsaved = true; }

void BoardState::PhasesMoved(const std::vector<int>& rows) {
  if (rows.empty()) return;
  m_phasesUnsaved = true;
  m_markedRows.insert(rows.begin(), rows.end());
}

void BoardState::Saved() {
  m_resultsUnsaved = m_phasesUnsaved = false;
  m_markedRows.clear();
}

void BoardState::ResultsCleared() { m_resultsShown = m_resultsUnsaved = false; }

void BoardState::WrittenBack() { m_phasesUnsaved = false; }

void BoardState::OnCellChanged(int row, int column) {
  // A phase changed otherwise than by the balance (which marks afterwards)
  // is no longer the one it chose: an edit, or the balance undone.
  if (column == kPhaseColumn) m_markedRows.erase(row);
  if (column >= kInputColumns || !m_resultsShown) return;
  m_resultsShown = false;
  if (onCircuitChanged) onCircuitChanged();
}

void BoardState::OnRowsInserted(int first, int count) { m_markedRows = Shifted(m_markedRows, first, count); }

void BoardState::OnRowsRemoved(int first, int count) {
  for (int row = first; row < first + count; ++row) m_markedRows.erase(row);
  m_markedRows = Shifted(m_markedRows, first + count, -count);
}

void BoardState::OnAboutToReset() { m_markedRows.clear(); }
