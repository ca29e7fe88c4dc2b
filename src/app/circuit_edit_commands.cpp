// The circuit list as the designer edits it: cells in place, circuits added
// and deleted, changes undone and written back into the workbook they came
// from. The core makes and checks every change; the window marks the changed
// cells, says in its title that changes are not written back, and offers
// each command only where it applies.
#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

#include "app/list_cell_editor.h"
#include "app/load_calc_dlg.h"
#include "app/shortcuts.h"
#include "platform/ui/qt_text.h"

namespace {

CString ItemText(const char* utf8, UINT command) {
  return Cp936(utf8) + "\t" + FromQString(shortcuts::KeyOfMenuCommand(command));
}

UINT EnabledIf(bool applies) { return applies ? MF_ENABLED : MF_GRAYED; }

}  // namespace

void CLoadCalcDlg::SetUpCellEditing() {
  m_listModel.onEdit = [this](int row, int column, const CString& text) { return EditCell(row, column, text); };
  m_listModel.isCellEdited = [this](int row, int column) { return IsCellEdited(row, column); };
  if (auto* view = qobject_cast<QTableView*>(m_listView.GetWidget())) m_cellEditor = new ListCellEditor(view);
}

void CLoadCalcDlg::AppendEditMenuItems(CMenu& menu) {
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, shortcuts::kAddCircuitCommand, ItemText("添加回路", shortcuts::kAddCircuitCommand));
  menu.AppendMenu(MF_STRING, shortcuts::kDeleteCircuitCommand, ItemText("删除回路", shortcuts::kDeleteCircuitCommand));
  menu.AppendMenu(MF_STRING, shortcuts::kUndoEditCommand, ItemText("撤销", shortcuts::kUndoEditCommand));
  menu.AppendMenu(MF_STRING, shortcuts::kWriteBackCommand, ItemText("写回工作簿", shortcuts::kWriteBackCommand));
}

void CLoadCalcDlg::OnContextMenu(POINT screenPoint) {
  if (m_cellEditor) m_cellEditor->FinishEditing();
  m_nMenuRow = -1;
  if (auto* view = qobject_cast<QTableView*>(m_listView.GetWidget())) {
    const QPoint point = view->viewport()->mapFromGlobal(QPoint(screenPoint.x, screenPoint.y));
    if (view->viewport()->rect().contains(point)) m_nMenuRow = view->indexAt(point).row();
  }
  CMenu& menu = *GetSystemMenu(FALSE);
  menu.EnableMenuItem(shortcuts::kAddCircuitCommand, EnabledIf(m_bListFromWorkbook));
  menu.EnableMenuItem(shortcuts::kDeleteCircuitCommand, EnabledIf(!RowsToDelete().empty()));
  menu.EnableMenuItem(shortcuts::kUndoEditCommand, EnabledIf(CanUndo()));
  menu.EnableMenuItem(shortcuts::kWriteBackCommand, EnabledIf(HasUnwrittenEdits()));
  CDialog::OnContextMenu(screenPoint);
  m_nMenuRow = -1;
}

bool CLoadCalcDlg::RunEditCommand(UINT nID) {
  switch (nID & 0xFFF0) {
    case shortcuts::kAddCircuitCommand: OnAddCircuit(); return true;
    case shortcuts::kDeleteCircuitCommand: OnDeleteCircuit(); return true;
    case shortcuts::kUndoEditCommand: OnUndoEdit(); return true;
    case shortcuts::kWriteBackCommand: OnWriteBack(); return true;
    default: return false;
  }
}

bool CLoadCalcDlg::EditCell(int row, int column, const CString& text) {
  const bool edited = EditCircuitCell(row, column, text);
  ForgetBalancingIfChanged();
  AfterListEdited();
  return edited;
}

// The row of the context menu when it is not among the selected rows (a
// right-click selects the row it lands on); otherwise the selection.
std::vector<int> CLoadCalcDlg::RowsToDelete() const {
  std::vector<int> rows;
  auto* view = qobject_cast<QTableView*>(m_listView.GetWidget());
  if (!view || !view->selectionModel()) return rows;
  for (const QModelIndex& index : view->selectionModel()->selectedIndexes()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (m_nMenuRow >= 0 && !std::binary_search(rows.begin(), rows.end(), m_nMenuRow)) rows = {m_nMenuRow};
  return rows;
}

void CLoadCalcDlg::OnAddCircuit() {
  auto* view = qobject_cast<QTableView*>(m_listView.GetWidget());
  if (!m_bListFromWorkbook || !view) return;
  const int after = m_nMenuRow >= 0 ? m_nMenuRow : view->currentIndex().row();
  const int row = AddCircuit(after);
  ForgetBalancingIfChanged();
  AfterListEdited();
  if (row < 0) return;
  // The new circuit's number is asked for at once.
  const QModelIndex number = view->model()->index(row, 0);
  view->setCurrentIndex(number);
  view->scrollTo(number);
  view->edit(number);
}

void CLoadCalcDlg::OnDeleteCircuit() {
  const std::vector<int> rows = RowsToDelete();
  if (rows.empty()) return;
  // From the last, so the rows still to go keep their places.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) DeleteCircuit(*row);
  ForgetBalancingIfChanged();
  AfterListEdited();
  auto* view = qobject_cast<QTableView*>(m_listView.GetWidget());
  const int left = view ? view->model()->rowCount() : 0;
  if (left > 0) view->setCurrentIndex(view->model()->index(std::min(rows.front(), left - 1), 0));
}

void CLoadCalcDlg::OnUndoEdit() {
  if (!UndoEdit()) return;
  ForgetBalancingIfChanged();
  AfterListEdited();
}

void CLoadCalcDlg::OnWriteBack() {
  if (!HasUnwrittenEdits()) return;
  const bool written = WriteBack();
  if (written) m_boardState.WrittenBack();
  AfterListEdited();
}

void CLoadCalcDlg::ForgetBalancingIfChanged() {
  if (!m_balancedPhases) return;
  const report::PhaseRecord& balanced = *m_balancedPhases;
  bool same = static_cast<int>(balanced.circuits.size()) == m_list.GetItemCount() &&
              balanced.after.size() == balanced.circuits.size();
  for (int row = 0; same && row < m_list.GetItemCount(); ++row) {
    const auto at = static_cast<size_t>(row);
    same = ToUtf8(m_list.GetItemText(row, 0)) == balanced.circuits[at] &&
           ToUtf8(m_list.GetItemText(row, 1)) == balanced.after[at];
  }
  if (!same) m_balancedPhases.reset();
}

void CLoadCalcDlg::AfterListEdited() {
  m_listModel.RefreshEditMarks();
  UpdateTitle();
}
