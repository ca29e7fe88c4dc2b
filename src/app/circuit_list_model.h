// The circuit list as the list view shows it: a Qt table model that mirrors
// the program's circuit table through its observer, one change at a time,
// so that tens of thousands of rows stay quick (the view asks only for the
// cells it shows). Cells show their texts as held; numbers align right.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "calc/circuit_table.h"

class CircuitListModel : public QAbstractTableModel, private CircuitTableObserver {
 public:
  explicit CircuitListModel(CircuitTable& table);
  ~CircuitListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // Captions, and the columns' widths in kColumnWidthRole.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // An edited cell's text goes to onEdit; false when it was refused.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // Told when the table's extended style (grid lines, full-row selection) changes.
  std::function<void(uint32_t)> onExtendedStyle;
  // Rows whose phase cell is shown marked (moved by the last 自动平衡).
  std::function<bool(int row)> isPhaseMarked;
  // The marks changed: the phase cells are drawn again.
  void RefreshPhaseMarks();
  // Commits an edited cell's text; false when refused (the cell keeps its text).
  std::function<bool(int row, int column, const CString& text)> onEdit;
  // Cells changed since the list was read or written back: shown marked.
  std::function<bool(int row, int column)> isCellEdited;
  // The edit marks changed: every cell is drawn again.
  void RefreshEditMarks();

 private:
  void OnRowsAboutToBeInserted(int first, int count) override;
  void OnRowsInserted(int first, int count) override;
  void OnRowsAboutToBeRemoved(int first, int count) override;
  void OnRowsRemoved(int first, int count) override;
  void OnColumnsAboutToBeInserted(int first, int count) override;
  void OnColumnsInserted(int first, int count) override;
  void OnColumnsAboutToBeRemoved(int first, int count) override;
  void OnColumnsRemoved(int first, int count) override;
  void OnCellChanged(int row, int column) override;
  void OnAboutToReset() override;
  void OnReset() override;
  void OnExtendedStyleChanged(uint32_t style) override;

  CircuitTable& m_table;
};
