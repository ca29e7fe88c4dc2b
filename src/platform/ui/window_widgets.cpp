#include "platform/ui/window_widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>

#include "platform/ui/window_dc.h"
#include "platform/ui/window_props.h"
#include "platform/ui/wnd.h"

namespace {

QWidget* g_widgetInPaint = nullptr;

// Sends WM_ERASEBKGND when the invalidation asked for it.
void EraseIfPending(CWnd* wnd) {
  if (!wnd->TakePendingErase()) return;
  CClientDC dc(wnd);
  wnd->DeliverMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<CDC*>(&dc)), 0, nullptr);
}

}  // namespace

PaintScope::PaintScope(QWidget* widget) : m_previous(g_widgetInPaint) { g_widgetInPaint = widget; }
PaintScope::~PaintScope() { g_widgetInPaint = m_previous; }

bool PaintThroughWindow(QWidget* widget) {
  CWnd* wnd = window_props::BoundWindow(widget);
  if (!wnd) return true;
  EraseIfPending(wnd);
  bool wantsDefault = false;
  wnd->DeliverMessage(WM_PAINT, 0, 0, &wantsDefault);
  return wantsDefault;
}

QWidget* WidgetInPaint() { return g_widgetInPaint; }

WindowWidget::WindowWidget(QWidget* parent) : QWidget(parent) {}

void WindowWidget::paintEvent(QPaintEvent* event) {
  PaintScope scope(this);
  if (PaintThroughWindow(this)) QWidget::paintEvent(event);
}

PushButtonWidget::PushButtonWidget(QWidget* parent) : QPushButton(parent) {}

void PushButtonWidget::paintEvent(QPaintEvent* event) {
  PaintScope scope(this);
  CWnd* wnd = window_props::BoundWindow(this);
  if (wnd && (window_props::Style(this) & BS_TYPEMASK) == BS_OWNERDRAW) {
    EraseIfPending(wnd);
    DrawOwnerDrawn(wnd);
    return;
  }
  if (PaintThroughWindow(this)) QPushButton::paintEvent(event);
}

void PushButtonWidget::DrawOwnerDrawn(CWnd* wnd) {
  CPaintDC dc(wnd);
  DRAWITEMSTRUCT item;
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(window_props::Id(this));
  item.itemAction = ODA_DRAWENTIRE;
  if (isDown()) item.itemState |= ODS_SELECTED;
  if (hasFocus()) item.itemState |= ODS_FOCUS;
  if (!isEnabled()) item.itemState |= ODS_DISABLED;
  item.hwndItem = wnd->m_hWnd;
  item.hDC = &dc;
  item.rcItem = RECT{0, 0, width(), height()};
  wnd->DrawItem(&item);
}

EditWidget::EditWidget(QWidget* parent) : QLineEdit(parent) {}

void EditWidget::paintEvent(QPaintEvent* event) {
  PaintScope scope(this);
  if (PaintThroughWindow(this)) QLineEdit::paintEvent(event);
  CWnd* wnd = window_props::BoundWindow(this);
  if (wnd && window_props::BorderWidth(this) > 0) wnd->DeliverMessage(WM_NCPAINT, 1, 0, nullptr);
}

// A drop-down list shows a text by selecting its entry; a text that is no
// entry shows while nothing is selected.
static void SetComboText(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  if (index >= 0 && !combo->isEditable()) {
    combo->setCurrentIndex(index);
    return;
  }
  combo->setCurrentIndex(-1);
  combo->setPlaceholderText(text);
}

QString WidgetText(const QWidget* widget) {
  if (!widget) return QString();
  if (widget->isWindow()) return widget->windowTitle();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
  if (auto* combo = qobject_cast<const QComboBox*>(widget))
    return combo->currentIndex() < 0 ? combo->placeholderText() : combo->currentText();
  return widget->windowTitle();
}

void SetWidgetText(QWidget* widget, const QString& text) {
  if (!widget) return;
  if (widget->isWindow()) widget->setWindowTitle(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
  else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    // A new text shows from its start, as an edit box shows it; a long one
    // scrolls only when the user moves the caret.
    edit->setText(text);
    edit->setCursorPosition(0);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
  else if (auto* group = qobject_cast<QGroupBox*>(widget)) group->setTitle(text);
  else if (auto* combo = qobject_cast<QComboBox*>(widget)) SetComboText(combo, text);
  else widget->setWindowTitle(text);
}

bool IsButtonWidget(const QWidget* widget) {
  return qobject_cast<const QAbstractButton*>(widget) != nullptr;
}
