#include "platform/ui/list_ctrl.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

static_assert(kColumnWidthRole == Qt::UserRole + 1);

CListCtrl::CListCtrl() = default;
CListCtrl::~CListCtrl() = default;

QTableView* CListCtrl::View() const { return qobject_cast<QTableView*>(GetWidget()); }

void CListCtrl::SetModel(QAbstractItemModel* model) {
  QTableView* view = View();
  if (!view) return;
  m_pConnections = std::make_unique<QObject>();
  view->setModel(model);
  if (!model) return;
  QObject* context = m_pConnections.get();
  auto widths = [this] { ApplyColumnWidths(); };
  QObject::connect(model, &QAbstractItemModel::columnsInserted, context, widths);
  QObject::connect(model, &QAbstractItemModel::columnsRemoved, context, widths);
  QObject::connect(model, &QAbstractItemModel::modelReset, context, widths);
  QObject::connect(model, &QAbstractItemModel::headerDataChanged, context, widths);
  ApplyColumnWidths();
}

void CListCtrl::ApplyColumnWidths() {
  QTableView* view = View();
  if (!view || !view->model()) return;
  QAbstractItemModel* model = view->model();
  for (int column = 0; column < model->columnCount(); ++column) {
    const QVariant width = model->headerData(column, Qt::Horizontal, kColumnWidthRole);
    if (width.isValid()) view->horizontalHeader()->resizeSection(column, width.toInt());
  }
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  const DWORD previous = m_dwExtendedStyle;
  m_dwExtendedStyle = style;
  if (QTableView* view = View()) {
    view->setShowGrid(style & LVS_EX_GRIDLINES_STYLE);
    view->setSelectionBehavior((style & LVS_EX_FULLROWSELECT_STYLE) ? QAbstractItemView::SelectRows
                                                                  : QAbstractItemView::SelectItems);
  }
  return previous;
}

int CListCtrl::GetItemCount() const {
  QTableView* view = View();
  return view && view->model() ? view->model()->rowCount() : 0;
}

int CListCtrl::GetColumnWidth(int column) const {
  QTableView* view = View();
  return view ? view->horizontalHeader()->sectionSize(column) : 0;
}
