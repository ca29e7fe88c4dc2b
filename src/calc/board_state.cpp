#include "calc/board_state.h"

namespace {
// Cells 0 to 4 hold what the designer gave: number, phase, power and the two
// coefficients. The result columns come after them.
constexpr int kInputColumns = 5;
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

void BoardState::OnCellChanged(int /*row*/, int column) {
  if (column >= kInputColumns || !m_resultsShown) return;
  m_resultsShown = false;
  if (onCircuitChanged) onCircuitChanged();
}

void BoardState::OnAboutToReset() { m_markedRows.clear(); }
