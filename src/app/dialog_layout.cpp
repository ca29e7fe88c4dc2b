#include "app/dialog_layout.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "platform/ui/window_props.h"
#include "res/ui/resource.h"

namespace {

bool IsCommandButton(int id) {
  static constexpr int kIds[] = {IDOK, IDCANCEL, IDC_ABOUT, IDC_CALC, IDC_AUTO_BALANCE, IDC_SAVE};
  return std::find(std::begin(kIds), std::end(kIds), id) != std::end(kIds);
}

// The order a designer works in: the circuits, the two inputs, the
// commands in their order, the switch choice, then 关于 and 退出.
constexpr int kTabOrder[] = {IDC_LIST, IDC_POWER_FACTOR, IDC_DEMAND_COEF, IDOK,      IDC_CALC,
                             IDC_AUTO_BALANCE, IDC_SAVE, IDC_SWITCH,      IDC_ABOUT, IDCANCEL};

constexpr int kButtonSpacing = 4;  // pixels between the buttons and the results beside them

// What a shrink of `grown` (negative) leaves after `slack` pixels of empty room took it.
int Shrunk(int grown, int slack) { return grown >= 0 ? grown : std::min(0, grown + slack); }

}  // namespace

QSize ClientRoomOf(const QRect& available, const QWidget* window) {
  // Before the window is shown its frame is unknown; a title bar of two
  // lines of text and a thin border is a fair guess.
  const int titleBar = QFontMetrics(window->font()).height() * 2;
  return QSize(std::max(0, available.width() - 8), std::max(0, available.height() - titleBar - 8));
}

DialogLayout::DialogLayout(QWidget* dialog) : QObject(dialog), m_dialog(dialog), m_templateSize(dialog->size()) {
  if (QWidget* list = window_props::ChildById(dialog, IDC_LIST)) m_listTemplate = list->geometry();
  for (QWidget* control : window_props::ChildrenInOrder(dialog)) {
    if (!control->property("loadcalc.id").isValid()) continue;
    const int id = window_props::Id(control);
    Anchor anchor = Anchor::Fixed;
    if (id == IDC_LIST) anchor = Anchor::Grow;
    else if (IsCommandButton(id)) anchor = Anchor::DownRight;
    else if (control->geometry().top() >= m_listTemplate.bottom()) anchor = Anchor::Down;
    m_controls.push_back({control, control->geometry(), anchor});
  }
  m_buttonGap = ButtonGap();
  m_slack = RoomLeft();
  // The row-number edit lies inside the list's area and no command reads it.
  if (QWidget* row = window_props::ChildById(dialog, IDC_ROW)) row->hide();
  // The result fields are read, not typed into: the mouse reaches them, Tab passes by.
  for (auto* edit : dialog->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
    if (edit->isReadOnly()) edit->setFocusPolicy(Qt::ClickFocus);
  SetTabOrder();
  dialog->setMinimumSize(MinimumSizeOn(dialog->screen() ? dialog->screen()->availableGeometry() : QRect()));
  dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  dialog->setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  dialog->setWindowFlag(Qt::WindowMinimizeButtonHint, true);
  dialog->installEventFilter(this);
}

QSize DialogLayout::MinimumSizeOn(const QRect& available) const {
  if (!available.isValid()) return m_templateSize;
  return m_templateSize.boundedTo(ClientRoomOf(available, m_dialog));
}

int DialogLayout::ButtonGap() const {
  int buttonsLeft = m_templateSize.width();
  int othersRight = 0;
  for (const Placed& placed : m_controls) {
    if (placed.anchor == Anchor::DownRight) buttonsLeft = std::min(buttonsLeft, placed.templateRect.left());
    else if (placed.anchor == Anchor::Down) othersRight = std::max(othersRight, placed.templateRect.right());
  }
  return std::max(0, buttonsLeft - othersRight - kButtonSpacing);
}

DialogLayout::Slack DialogLayout::RoomLeft() const {
  // The template keeps the list's distance from the left edge on every side.
  const int margin = m_listTemplate.left();
  int buttonsRight = 0, bottom = 0;
  for (const Placed& placed : m_controls) {
    if (placed.anchor == Anchor::Fixed) continue;
    bottom = std::max(bottom, placed.templateRect.bottom() + 1);
    if (placed.anchor == Anchor::DownRight) buttonsRight = std::max(buttonsRight, placed.templateRect.right() + 1);
  }
  return {std::max(0, m_templateSize.width() - margin - (m_listTemplate.right() + 1)),
          std::max(0, m_templateSize.width() - margin - buttonsRight),
          std::max(0, m_templateSize.height() - margin - bottom)};
}

void DialogLayout::SetTabOrder() {
  QWidget* previous = nullptr;
  for (int id : kTabOrder) {
    QWidget* control = window_props::ChildById(m_dialog, id);
    if (!control) continue;
    if (previous) QWidget::setTabOrder(previous, control);
    previous = control;
  }
}

bool DialogLayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_dialog && event->type() == QEvent::Resize) Arrange();
  return QObject::eventFilter(watched, event);
}

void DialogLayout::Arrange() {
  const QSize grown = m_dialog->size() - m_templateSize;
  // Smaller than the template, the empty room at the right and bottom goes
  // first; then the list gives way, down to half its size, and the buttons
  // close up on the results, no further.
  const int listWider = std::max(Shrunk(grown.width(), m_slack.listRight), -m_listTemplate.width() / 2);
  const int listTaller = std::max(Shrunk(grown.height(), m_slack.bottom), -m_listTemplate.height() / 2);
  const int buttonsRight = std::max(Shrunk(grown.width(), m_slack.buttonsRight), -m_buttonGap);
  for (const Placed& placed : m_controls) {
    QRect rect = placed.templateRect;
    switch (placed.anchor) {
      case Anchor::Fixed: break;
      case Anchor::Grow: rect.setSize(rect.size() + QSize(listWider, listTaller)); break;
      case Anchor::Down: rect.translate(0, listTaller); break;
      case Anchor::DownRight: rect.translate(buttonsRight, listTaller); break;
    }
    placed.control->setGeometry(rect);
  }
}
