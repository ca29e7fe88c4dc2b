#include "calc/memory_circuit_table.h"

#include <algorithm>
#include <string_view>

#include "calc/cell_numbers.h"


int MemoryCircuitTable::GetItemCount() const { return static_cast<int>(m_rows.size()); }

bool MemoryCircuitTable::HasCell(int row, int column) const {
  return row >= 0 && row < GetItemCount() && column >= 0 && column < GetColumnCount();
}

CString MemoryCircuitTable::GetItemText(int row, int column) const {
  if (!HasCell(row, column)) return CString();
  return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

CString MemoryCircuitTable::GetItemText(int row, int column, int maxBytes) const {
  if (!HasCell(row, column)) return CString();
  return CutToBytes(m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)], maxBytes);
}

bool MemoryCircuitTable::SetItemText(int row, int column, const CString& text) {
  if (!HasCell(row, column)) return false;
  m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
  Notify([&](CircuitTableObserver& o) { o.OnCellChanged(row, column); });
  return true;
}

int MemoryCircuitTable::InsertItem(int row, const CString& text) {
  if (m_columns.empty()) return -1;
  const int at = std::clamp(row, 0, GetItemCount());
  Notify([&](CircuitTableObserver& o) { o.OnRowsAboutToBeInserted(at, 1); });
  std::vector<CString> cells(m_columns.size());
  cells[0] = text;
  m_rows.insert(m_rows.begin() + at, std::move(cells));
  Notify([&](CircuitTableObserver& o) { o.OnRowsInserted(at, 1); });
  return at;
}

bool MemoryCircuitTable::DeleteItem(int row) {
  if (row < 0 || row >= GetItemCount()) return false;
  Notify([&](CircuitTableObserver& o) { o.OnRowsAboutToBeRemoved(row, 1); });
  m_rows.erase(m_rows.begin() + row);
  Notify([&](CircuitTableObserver& o) { o.OnRowsRemoved(row, 1); });
  return true;
}

int MemoryCircuitTable::InsertColumn(int column, const CString& caption, int width) {
  const int at = std::clamp(column, 0, GetColumnCount());
  Notify([&](CircuitTableObserver& o) { o.OnColumnsAboutToBeInserted(at, 1); });
  m_columns.insert(m_columns.begin() + at, Column{caption, width});
  for (auto& cells : m_rows) cells.insert(cells.begin() + at, CString());
  Notify([&](CircuitTableObserver& o) { o.OnColumnsInserted(at, 1); });
  return at;
}

bool MemoryCircuitTable::DeleteAllItems() {
  Notify([](CircuitTableObserver& o) { o.OnAboutToReset(); });
  m_rows.clear();
  Notify([](CircuitTableObserver& o) { o.OnReset(); });
  return true;
}

bool MemoryCircuitTable::DeleteColumn(int column) {
  if (column < 0 || column >= GetColumnCount()) return false;
  Notify([&](CircuitTableObserver& o) { o.OnColumnsAboutToBeRemoved(column, 1); });
  m_columns.erase(m_columns.begin() + column);
  for (auto& cells : m_rows) cells.erase(cells.begin() + column);
  Notify([&](CircuitTableObserver& o) { o.OnColumnsRemoved(column, 1); });
  return true;
}

void MemoryCircuitTable::SetExtendedStyle(uint32_t style) {
  m_extendedStyle = style;
  Notify([&](CircuitTableObserver& o) { o.OnExtendedStyleChanged(style); });
}

uint32_t MemoryCircuitTable::GetExtendedStyle() const { return m_extendedStyle; }

int MemoryCircuitTable::GetColumnCount() const { return static_cast<int>(m_columns.size()); }

CString MemoryCircuitTable::GetColumnCaption(int column) const {
  if (column < 0 || column >= GetColumnCount()) return CString();
  return m_columns[static_cast<size_t>(column)].caption;
}

int MemoryCircuitTable::GetColumnWidth(int column) const {
  if (column < 0 || column >= GetColumnCount()) return 0;
  return m_columns[static_cast<size_t>(column)].width;
}
