#include "app/list_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "platform/ui/list_ctrl.h"

ListColumns::ListColumns(QTableView* view, QMap<QString, int> remembered)
    : QObject(view), m_view(view), m_chosen(std::move(remembered)) {
  QHeaderView* header = view->horizontalHeader();
  header->viewport()->installEventFilter(this);
  connect(header, &QHeaderView::sectionResized, this,
          [this](int column, int, int newWidth) { RememberDragged(column, newWidth); });
  if (QAbstractItemModel* model = view->model()) {
    connect(model, &QAbstractItemModel::modelReset, this, &ListColumns::FitLater);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListColumns::FitLater);
    connect(model, &QAbstractItemModel::columnsInserted, this, &ListColumns::FitLater);
    connect(model, &QAbstractItemModel::dataChanged, this, &ListColumns::FitLater);
  }
  FitLater();
}

bool ListColumns::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
    m_dragging = true;
  else if (event->type() == QEvent::MouseButtonRelease)
    m_dragging = false;
  return QObject::eventFilter(watched, event);
}

void ListColumns::RememberDragged(int column, int newWidth) {
  if (!m_dragging) return;
  const QString caption = Caption(column);
  if (!caption.isEmpty()) m_chosen.insert(caption, newWidth);
}

QString ListColumns::Caption(int column) const {
  QAbstractItemModel* model = m_view->model();
  return model ? model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
}

// Rows arrive one at a time while a workbook is read: one fit afterwards.
void ListColumns::FitLater() {
  if (m_fitQueued) return;
  m_fitQueued = true;
  QTimer::singleShot(0, this, [this] { Fit(); });
}

void ListColumns::Fit() {
  m_fitQueued = false;
  QAbstractItemModel* model = m_view->model();
  if (!model) return;
  QHeaderView* header = m_view->horizontalHeader();
  for (int column = 0; column < model->columnCount(); ++column) {
    const auto chosen = m_chosen.constFind(Caption(column));
    int width = 0;
    if (chosen != m_chosen.constEnd()) {
      width = chosen.value();
    } else {
      const int designed = model->headerData(column, Qt::Horizontal, kColumnWidthRole).toInt();
      const int content = static_cast<QAbstractItemView*>(m_view)->sizeHintForColumn(column);
      width = std::max({designed, header->sectionSizeHint(column), content});
    }
    if (header->sectionSize(column) != width) header->resizeSection(column, width);
  }
}
