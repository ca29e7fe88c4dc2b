// The circuit list: rows of text cells under captioned columns. It is the
// program's only store of circuits; the calculation, the balancing and the
// results workbook read and write its cells. A view mirrors it through the
// observer below.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/text/cstring.h"

// Extended styles of the list (the list-view values).
constexpr uint32_t LVS_EX_GRIDLINES = 0x00000001;
constexpr uint32_t LVS_EX_FULLROWSELECT = 0x00000020;

// Told about every change. The "AboutTo" calls come before the table changes,
// the others after it, so a Qt model can wrap each change in its
// begin.../end... pair. Every call has an empty default.
class CircuitTableObserver {
 public:
  virtual ~CircuitTableObserver() = default;
  virtual void OnRowsAboutToBeInserted(int /*first*/, int /*count*/) {}
  virtual void OnRowsInserted(int /*first*/, int /*count*/) {}
  virtual void OnRowsAboutToBeRemoved(int /*first*/, int /*count*/) {}
  virtual void OnRowsRemoved(int /*first*/, int /*count*/) {}
  virtual void OnColumnsAboutToBeInserted(int /*first*/, int /*count*/) {}
  virtual void OnColumnsInserted(int /*first*/, int /*count*/) {}
  virtual void OnColumnsAboutToBeRemoved(int /*first*/, int /*count*/) {}
  virtual void OnColumnsRemoved(int /*first*/, int /*count*/) {}
  virtual void OnCellChanged(int /*row*/, int /*column*/) {}
  // All rows deleted (columns stay).
  virtual void OnAboutToReset() {}
  virtual void OnReset() {}
  virtual void OnExtendedStyleChanged(uint32_t /*style*/) {}
};

class CircuitTable {
 public:
  virtual ~CircuitTable() = default;

  virtual int GetItemCount() const = 0;
  // The whole text of a cell; empty for a cell that does not exist.
  virtual CString GetItemText(int row, int column) const = 0;
  // The text cut to at most `maxBytes` bytes of code page 936; a double-byte
  // character that does not fit whole is left out.
  virtual CString GetItemText(int row, int column, int maxBytes) const = 0;
  // False when the row or the column does not exist.
  virtual bool SetItemText(int row, int column, const CString& text) = 0;
  // Inserts a row at `row` (clamped to 0..count) with cell 0 = `text` and
  // empty other cells; returns its index, or -1 when there is no column.
  virtual int InsertItem(int row, const CString& text) = 0;
  // Inserts a left-aligned column at `column` (clamped to 0..count); the
  // cells at and after it move one to the right. Returns its index.
  virtual int InsertColumn(int column, const CString& caption, int width) = 0;
  // Removes one row; the rows below move up. False when it does not exist.
  virtual bool DeleteItem(int row) = 0;
  virtual bool DeleteAllItems() = 0;
  // False when the column does not exist (so also when none is left).
  virtual bool DeleteColumn(int column) = 0;
  virtual void SetExtendedStyle(uint32_t style) = 0;
  virtual uint32_t GetExtendedStyle() const = 0;

  // What a view needs besides the cells.
  virtual int GetColumnCount() const = 0;
  virtual CString GetColumnCaption(int column) const = 0;
  virtual int GetColumnWidth(int column) const = 0;

  void AddObserver(CircuitTableObserver* observer);
  void RemoveObserver(CircuitTableObserver* observer);

 protected:
  template <class Call>
  void Notify(Call call) const {
    for (CircuitTableObserver* observer : m_observers) call(*observer);
  }

 private:
  std::vector<CircuitTableObserver*> m_observers;
};
