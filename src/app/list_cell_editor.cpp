#include "app/list_cell_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "app/list_cell_kinds.h"
#include "app/phase_choices.h"
#include "platform/ui/qt_text.h"

namespace {

const QColor kEditedCornerColour(24, 96, 200);

// The phase choice: its list opens at once, and closing the list without
// a choice gives the edit up.
class PhaseChoiceBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> onListClosed;

  void hidePopup() override {
    QComboBox::hidePopup();
    if (onListClosed) onListClosed();
  }
};

QString EditorText(QWidget* editor) {
  if (auto* box = qobject_cast<QComboBox*>(editor)) return box->currentText();
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) return edit->text();
  return QString();
}

// Focus that leaves for a popup (the phase list), a window of the editor's
// own or another window (a message box, the spreadsheet beside) does not
// end the edit.
bool EndsTheEdit(const QFocusEvent& event, QWidget* editor) {
  if (event.reason() == Qt::PopupFocusReason || event.reason() == Qt::ActiveWindowFocusReason) return false;
  if (QApplication::activePopupWidget()) return false;
  for (QWidget* focus = QApplication::focusWidget(); focus; focus = focus->parentWidget())
    if (focus == editor) return false;
  return true;
}

}  // namespace

ListCellEditor::ListCellEditor(QTableView* view) : QStyledItemDelegate(view), m_view(view) {
  view->setItemDelegate(this);
  view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
}

bool ListCellEditor::IsEditing() const { return m_open && !m_open->isHidden(); }

QWidget* ListCellEditor::OpenEditor() const { return IsEditing() ? m_open.data() : nullptr; }

void ListCellEditor::FinishEditing() {
  if (IsEditing()) Commit(m_open, false);
}

QWidget* ListCellEditor::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* self = const_cast<ListCellEditor*>(this);
  QWidget* editor = nullptr;
  switch (static_cast<CellEditKind>(index.data(kCellEditKindRole).toInt())) {
    case CellEditKind::PhaseChoice: {
      auto* box = new PhaseChoiceBox(parent);
      for (const CString& phase : PhaseChoices()) box->addItem(ToQString(phase));
      QObject::connect(box, &QComboBox::activated, self, [self, box] {
        if (self->m_open == box) self->Commit(box, false);
      });
      // A choice is announced after the list closes: wait for it.
      box->onListClosed = [self, box] {
        QTimer::singleShot(0, box, [self, box] {
          if (self->m_open == box) self->Cancel(box);
        });
      };
      QTimer::singleShot(0, box, [box] {
        if (!box->isHidden()) box->showPopup();
      });
      editor = box;
      break;
    }
    case CellEditKind::Text: {
      auto* edit = new QLineEdit(parent);
      edit->setFrame(false);
      editor = edit;
      break;
    }
    case CellEditKind::None: return nullptr;
  }
  m_open = editor;
  m_openIndex = index;
  return editor;
}

void ListCellEditor::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString text = m_reopeningRefused ? m_refusedText : index.data(Qt::EditRole).toString();
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    // A phase the choices do not hold is shown as it stands, first.
    int at = box->findText(text);
    if (at < 0 && !text.isEmpty()) box->insertItem(at = 0, text);
    box->setCurrentIndex(at);
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    edit->setText(text);
    edit->selectAll();
  }
}

bool ListCellEditor::eventFilter(QObject* watched, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(watched);
  if (!editor || editor != m_open) return QStyledItemDelegate::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: Commit(editor, true); return true;
      case Qt::Key_Escape: Cancel(editor); return true;
      case Qt::Key_Tab:
      case Qt::Key_Backtab: Commit(editor, false); return true;
      default: return false;
    }
  }
  if (event->type() == QEvent::FocusOut) {
    if (EndsTheEdit(*static_cast<QFocusEvent*>(event), editor)) Commit(editor, false);
    return false;
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

void ListCellEditor::Commit(QWidget* editor, bool mendRefused) {
  const QPersistentModelIndex index = m_openIndex;
  const QString text = EditorText(editor);
  Close(editor);
  // Opening and leaving a cell without a change is no edit.
  if (!index.isValid() || text == index.data(Qt::EditRole).toString()) return;
  if (m_view->model()->setData(index, text, Qt::EditRole) || !mendRefused || !index.isValid()) return;
  m_refusedText = text;
  m_reopeningRefused = true;
  m_view->edit(index);
  m_reopeningRefused = false;
}

void ListCellEditor::Cancel(QWidget* editor) { Close(editor); }

void ListCellEditor::Close(QWidget* editor) {
  m_open = nullptr;
  m_openIndex = QPersistentModelIndex();
  emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void ListCellEditor::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  if (!index.data(kCellEditedRole).toBool()) return;
  // A small triangle in the top right corner, as spreadsheets mark a cell.
  const QRect cell = option.rect;
  const int size = std::max(5, cell.height() / 3);
  const int right = cell.x() + cell.width();
  const QPoint corner[] = {{right - size, cell.y()}, {right, cell.y()}, {right, cell.y() + size}};
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(Qt::NoPen);
  painter->setBrush(kEditedCornerColour);
  painter->drawPolygon(corner, 3);
  painter->restore();
}
