// The circuit list held in memory: behind the dialog's list view, and on its
// own in the command-line tool and the tests.
#pragma once

#include <vector>

#include "calc/circuit_table.h"

class MemoryCircuitTable : public CircuitTable {
 public:
  int GetItemCount() const override;
  CString GetItemText(int row, int column) const override;
  CString GetItemText(int row, int column, int maxBytes) const override;
  bool SetItemText(int row, int column, const CString& text) override;
  int InsertItem(int row, const CString& text) override;
  int InsertColumn(int column, const CString& caption, int width) override;
  bool DeleteItem(int row) override;
  bool DeleteAllItems() override;
  bool DeleteColumn(int column) override;
  void SetExtendedStyle(uint32_t style) override;
  uint32_t GetExtendedStyle() const override;

  int GetColumnCount() const override;
  CString GetColumnCaption(int column) const override;
  int GetColumnWidth(int column) const override;

 private:
  struct Column {
    CString caption;
    int width = 0;
  };
  bool HasCell(int row, int column) const;

  std::vector<Column> m_columns;
  std::vector<std::vector<CString>> m_rows;  // each row holds one cell per column
  uint32_t m_extendedStyle = 0;
};
