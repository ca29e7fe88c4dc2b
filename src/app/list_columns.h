// The circuit list's column widths: once the list is filled each column
// takes the room its caption and texts need (never less than the template
// gives it); a width the designer drags is kept for the rest of the run
// and remembered between starts, by the column's caption.
#pragma once

#include <QMap>
#include <QObject>
#include <QString>

class QTableView;

class ListColumns : public QObject {
 public:
  // `view`, with its model set, owns it; `remembered` are widths from an earlier run.
  ListColumns(QTableView* view, QMap<QString, int> remembered);

  // The widths the designer chose, by caption.
  const QMap<QString, int>& ChosenWidths() const { return m_chosen; }
  // Fits now rather than once the current event is handled.
  void Fit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitLater();
  void RememberDragged(int column, int newWidth);
  QString Caption(int column) const;

  QTableView* m_view;
  QMap<QString, int> m_chosen;
  bool m_fitQueued = false;
  bool m_dragging = false;  // the mouse is down on the header
};
