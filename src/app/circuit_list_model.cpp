#include "app/circuit_list_model.h"

#include <QColor>
#include <QFont>

#include "app/list_cell_editor.h"
#include "app/list_cell_kinds.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/qt_text.h"

CircuitListModel::CircuitListModel(CircuitTable& table) : m_table(table) {
  m_table.AddObserver(this);
}

CircuitListModel::~CircuitListModel() { m_table.RemoveObserver(this); }

int CircuitListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_table.GetItemCount();
}

int CircuitListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_table.GetColumnCount();
}

namespace {
constexpr int kPhaseColumn = 1;
// Edited cells stand out from the list's white without hiding the
// orange of the phases 自动平衡 moved.
const QColor kEditedBackground(220, 235, 252);
}  // namespace

QVariant CircuitListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  if (role == Qt::DisplayRole || role == Qt::EditRole)
    return ToQString(m_table.GetItemText(index.row(), index.column()));
  const bool edited = isCellEdited && isCellEdited(index.row(), index.column());
  if (role == kCellEditedRole) return edited;
  if (role == kCellEditKindRole) return static_cast<int>(EditKindOfColumn(m_table, index.column()));
  const bool marked = index.column() == kPhaseColumn && isPhaseMarked && isPhaseMarked(index.row());
  if (marked && role == Qt::BackgroundRole) return QColor(255, 214, 102);
  if (marked && role == Qt::FontRole) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (edited && role == Qt::BackgroundRole) return kEditedBackground;
  if (role == Qt::TextAlignmentRole) {
    // Numbers line up on the right, the texts the cells hold unchanged.
    bool isNumber = false;
    ToQString(m_table.GetItemText(index.row(), index.column())).trimmed().toDouble(&isNumber);
    return QVariant::fromValue(Qt::Alignment(isNumber ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  return QVariant();
}

void CircuitListModel::RefreshPhaseMarks() {
  if (m_table.GetItemCount() == 0 || m_table.GetColumnCount() <= kPhaseColumn) return;
  emit dataChanged(index(0, kPhaseColumn), index(m_table.GetItemCount() - 1, kPhaseColumn),
                   {Qt::BackgroundRole, Qt::FontRole});
}

void CircuitListModel::RefreshEditMarks() {
  if (m_table.GetItemCount() == 0 || m_table.GetColumnCount() == 0) return;
  emit dataChanged(index(0, 0), index(m_table.GetItemCount() - 1, m_table.GetColumnCount() - 1),
                   {Qt::BackgroundRole, kCellEditedRole});
}

QVariant CircuitListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= m_table.GetColumnCount())
    return QVariant();
  if (role == Qt::DisplayRole) return ToQString(m_table.GetColumnCaption(section));
  if (role == kColumnWidthRole) return m_table.GetColumnWidth(section);
  return QVariant();
}

Qt::ItemFlags CircuitListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return EditKindOfColumn(m_table, index.column()) == CellEditKind::None ? flags : flags | Qt::ItemIsEditable;
}

bool CircuitListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !onEdit) return false;
  return onEdit(index.row(), index.column(), FromQString(value.toString()));
}

void CircuitListModel::OnRowsAboutToBeInserted(int first, int count) {
  beginInsertRows(QModelIndex(), first, first + count - 1);
}

void CircuitListModel::OnRowsInserted(int, int) { endInsertRows(); }

void CircuitListModel::OnRowsAboutToBeRemoved(int first, int count) {
  beginRemoveRows(QModelIndex(), first, first + count - 1);
}

void CircuitListModel::OnRowsRemoved(int, int) { endRemoveRows(); }

void CircuitListModel::OnColumnsAboutToBeInserted(int first, int count) {
  beginInsertColumns(QModelIndex(), first, first + count - 1);
}

void CircuitListModel::OnColumnsInserted(int, int) { endInsertColumns(); }

void CircuitListModel::OnColumnsAboutToBeRemoved(int first, int count) {
  beginRemoveColumns(QModelIndex(), first, first + count - 1);
}

void CircuitListModel::OnColumnsRemoved(int, int) { endRemoveColumns(); }

void CircuitListModel::OnCellChanged(int row, int column) {
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void CircuitListModel::OnAboutToReset() { beginResetModel(); }
void CircuitListModel::OnReset() { endResetModel(); }

void CircuitListModel::OnExtendedStyleChanged(uint32_t style) {
  if (onExtendedStyle) onExtendedStyle(style);
}
