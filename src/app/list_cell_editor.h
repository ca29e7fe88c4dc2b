// Editing the circuit list in place. F2 or a double-click opens an editor on
// a cell the model marks editable: a choice of phases for 相别, a line edit
// for the other input cells. Enter, a chosen phase or leaving the cell
// commits through the model; Escape cancels. The editor is closed before the
// model hears of the text, so a refusal's message box never meets an open
// editor; after Enter a refused text comes back in a new editor to be
// mended (or given up with Escape). Edited cells carry a mark in a corner.
#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QTableView;

// Data roles of the list's cells beside Qt's own.
constexpr int kCellEditedRole = Qt::UserRole + 2;    // bool: changed since read or written back
constexpr int kCellEditKindRole = Qt::UserRole + 3;  // int: a CellEditKind

class ListCellEditor : public QStyledItemDelegate {
 public:
  // Becomes `view`'s delegate (the view owns it) and opens editors on F2
  // and on a double-click.
  explicit ListCellEditor(QTableView* view);

  // Commits the open editor, if any: a command given by its key runs on
  // the list as the designer sees it.
  void FinishEditing();
  bool IsEditing() const;
  // The open editor, for the tests.
  QWidget* OpenEditor() const;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  // Commits go through Commit, which closes the editor first.
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Commit(QWidget* editor, bool mendRefused);
  void Cancel(QWidget* editor);
  void Close(QWidget* editor);

  QTableView* m_view;
  // The editor open now and its cell (createEditor is const to Qt).
  mutable QPointer<QWidget> m_open;
  mutable QPersistentModelIndex m_openIndex;
  // A refused text the next editor starts with.
  QString m_refusedText;
  bool m_reopeningRefused = false;
};
