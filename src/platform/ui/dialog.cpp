#include "platform/ui/dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTableView>

#include "platform/gdi/dc.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog_owner.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/resources.h"
#include "platform/ui/window_props.h"
#include "platform/ui/window_widgets.h"

namespace {

constexpr WORD BN_CLICKED = 0;
constexpr UINT SC_CLOSE = 0xF060;
constexpr int kEditBorder = 2;  // the sunken client edge of a bordered edit box

ModalDialogHandler& ModalHandler() {
  static ModalDialogHandler handler;
  return handler;
}

PopupMenuHandler& MenuHandler() {
  static PopupMenuHandler handler;
  return handler;
}

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The dialog's window: keys, the close box and the context menu become the
// dialog's commands; painting goes to the dialog object.
class DialogWidget : public QDialog {
 public:
  DialogWidget(CDialog* owner, QWidget* parent) : QDialog(parent), m_owner(owner) {}

  void reject() override {
    m_owner->SendMessage(WM_COMMAND, IDCANCEL, 0);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      m_owner->SendMessage(WM_COMMAND, IDCANCEL, 0);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      // A focused push button takes Enter itself; otherwise the default id.
      m_owner->SendMessage(WM_COMMAND, static_cast<WPARAM>(m_owner->GetDefID()), 0);
    } else {
      QDialog::keyPressEvent(event);
    }
  }

  void contextMenuEvent(QContextMenuEvent* event) override {
    if (m_owner->GetSystemMenu(FALSE)->GetMenuItemCount() == 0) return;
    m_owner->OnContextMenu(POINT{event->globalPos().x(), event->globalPos().y()});
  }

  void paintEvent(QPaintEvent* event) override {
    PaintScope scope(this);
    if (PaintThroughWindow(this)) QDialog::paintEvent(event);
  }

 private:
  CDialog* m_owner;
};

bool HasDefaultButton(const QWidget* dialog) {
  for (const QPushButton* button : dialog->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
    if (button->isDefault()) return true;
  return false;
}

QWidget* CreateButton(const DialogItemTemplate& item, QWidget* parent) {
  const DWORD kind = item.style & BS_TYPEMASK;
  const QString caption = QString::fromUtf8(item.captionUtf8);
  if (kind == BS_GROUPBOX) {
    auto* group = new QGroupBox(caption, parent);
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The frame's top line runs through the middle of the caption, which
    // stands a few pixels in from the left edge and blanks the line behind it.
    group->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; top: 0px; padding: 0px 1px; }"));
    return group;
  }
  if (kind == BS_AUTOCHECKBOX) return new QCheckBox(caption, parent);
  auto* button = new PushButtonWidget(parent);
  button->setText(caption);
  button->setAutoDefault(true);
  // Qt keeps one default button per dialog: the first of the default style,
  // as Enter goes to the dialog's default id.
  if (kind == BS_DEFPUSHBUTTON && !HasDefaultButton(parent)) button->setDefault(true);
  return button;
}

QWidget* CreateEdit(const DialogItemTemplate& item, QWidget* parent) {
  auto* edit = new EditWidget(parent);
  edit->setReadOnly(item.style & ES_READONLY);
  if (item.style & ES_NUMBER)
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  if (item.style & WS_BORDER) window_props::SetBorderWidth(edit, kEditBorder);
  else edit->setFrame(false);
  edit->setTextMargins(0, 0, 0, 0);
  // Read-only and disabled fields show the dialog's background, as static text does.
  QPalette palette = edit->palette();
  const QColor dialogColour = QApplication::palette().color(QPalette::Window);
  palette.setColor(QPalette::Disabled, QPalette::Base, dialogColour);
  if (item.style & ES_READONLY) {
    palette.setColor(QPalette::Active, QPalette::Base, dialogColour);
    palette.setColor(QPalette::Inactive, QPalette::Base, dialogColour);
  }
  edit->setPalette(palette);
  return edit;
}

QWidget* CreateStatic(const DialogItemTemplate& item, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(item.captionUtf8), parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  label->setMargin(0);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QWidget* CreateIcon(const DialogItemTemplate& item, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(QPixmap::fromImage(LoadIconResourceImage(item.iconId, 32)));
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QWidget* CreateListView(const DialogItemTemplate&, QWidget* parent) {
  auto* view = new QTableView(parent);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The list is one tab stop: Tab and Shift+Tab go on to the next control.
  view->setTabKeyNavigation(false);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setShowGrid(false);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->verticalHeader()->hide();
  const int rowHeight = QFontMetrics(parent->font()).height() + 2;
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setMinimumSectionSize(rowHeight);
  view->verticalHeader()->setDefaultSectionSize(rowHeight);
  view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  view->horizontalHeader()->setHighlightSections(false);
  view->horizontalHeader()->setStretchLastSection(false);
  view->horizontalHeader()->setMinimumSectionSize(0);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  return view;
}

QWidget* CreateComboBox(const DialogItemTemplate& item, QWidget* parent, const DialogBaseUnits& units) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(false);
  combo->setInsertPolicy(QComboBox::InsertAtBottom);
  // The template's height is that of the dropped list.
  const int listHeight = MulDiv(item.cy, units.charHeight, 8);
  const int itemHeight = QFontMetrics(parent->font()).height() + 2;
  combo->setMaxVisibleItems(std::max(1, listHeight / itemHeight - 1));
  return combo;
}

QWidget* CreateControl(const DialogItemTemplate& item, QWidget* parent, const DialogBaseUnits& units) {
  switch (item.kind) {
    case ControlKind::Button: return CreateButton(item, parent);
    case ControlKind::Edit: return CreateEdit(item, parent);
    case ControlKind::Static: return CreateStatic(item, parent);
    case ControlKind::Icon: return CreateIcon(item, parent);
    case ControlKind::ListView: return CreateListView(item, parent);
    case ControlKind::ComboBox: return CreateComboBox(item, parent, units);
  }
  return nullptr;
}

QRect ControlGeometry(const DialogItemTemplate& item, const DialogBaseUnits& units, const QFont& font) {
  QRect rect = DialogUnitsToPixels(units, item.x, item.y, item.cx, item.cy);
  if (item.kind == ControlKind::ComboBox) rect.setHeight(QFontMetrics(font).height() + 8);
  if (item.kind == ControlKind::Icon) rect.setSize(QSize(32, 32));
  return rect;
}

Qt::FocusPolicy FocusPolicyOf(const DialogItemTemplate& item) {
  if (item.kind == ControlKind::Static || item.kind == ControlKind::Icon) return Qt::NoFocus;
  if ((item.style & BS_TYPEMASK) == BS_GROUPBOX && item.kind == ControlKind::Button) return Qt::NoFocus;
  return (item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

}  // namespace

void SetModalDialogHandler(ModalDialogHandler handler) { ModalHandler() = std::move(handler); }
void SetPopupMenuHandler(PopupMenuHandler handler) { MenuHandler() = std::move(handler); }

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  if (GetWidget()) DestroyWindow();
}

BOOL CDialog::Create(bool show) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(m_nIDTemplate);
  if (!dialogTemplate || GetWidget()) return FALSE;
  auto* widget = new DialogWidget(this, DialogOwnerWidget(m_pParentWnd, this));
  widget->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
  KeepAboveOwner(widget);
  widget->setModal(true);
  widget->setWindowTitle(QString::fromUtf8(dialogTemplate->captionUtf8));
  widget->setFont(DialogFont(dialogTemplate->fontFaceUtf8, dialogTemplate->pointSize));
  window_props::SetStyle(widget, dialogTemplate->style);
  window_props::SetExStyle(widget, dialogTemplate->exStyle);
  Bind(widget, true);
  BuildControls(*dialogTemplate);
  if (QScreen* screen = widget->screen())
    widget->move(screen->availableGeometry().center() - widget->rect().center());
  m_nModalResult = -1;
  if (OnInitDialog()) {
    // The focus goes to the first tab stop.
    for (QWidget* control : window_props::ChildrenInOrder(widget)) {
      if (!control->isHidden() && control->isEnabled() &&
          (window_props::Style(control) & WS_TABSTOP)) {
        control->setFocus(Qt::TabFocusReason);
        break;
      }
    }
  }
  ApplyListColours();
  if (show) widget->show();
  return TRUE;
}

void CDialog::BuildControls(const DialogTemplate& dialogTemplate) {
  QWidget* dialog = GetWidget();
  const DialogBaseUnits units = BaseUnitsOf(dialog->font());
  const QRect client = DialogUnitsToPixels(units, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
  dialog->setFixedSize(client.size());
  QWidget* previousTabStop = nullptr;
  int order = 0;
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    QWidget* control = CreateControl(item, dialog, units);
    window_props::SetOrder(control, order++);
    window_props::SetId(control, item.id);
    window_props::SetStyle(control, item.style);
    window_props::SetExStyle(control, item.exStyle);
    control->setGeometry(ControlGeometry(item, units, dialog->font()));
    control->setFocusPolicy(FocusPolicyOf(item));
    control->setEnabled(!(item.style & WS_DISABLED));
    control->setVisible(item.style & WS_VISIBLE);
    control->setMouseTracking(true);
    control->lower();  // the first control of the template lies on top
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      const int id = item.id;
      QObject::connect(button, &QAbstractButton::clicked, dialog, [this, id, button] {
        SendMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<WORD>(id)) | (WPARAM{BN_CLICKED} << 16),
                    reinterpret_cast<LPARAM>(CWnd::FromWidget(button)));
      });
    }
    if (control->focusPolicy() != Qt::NoFocus) {
      if (previousTabStop) QWidget::setTabOrder(previousTabStop, control);
      previousTabStop = control;
    }
  }
}

void CDialog::ApplyListColours() {
  for (auto* combo : GetWidget()->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly)) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HBRUSH brush = OnCtlColor(&dc, CWnd::FromWidget(combo), CTLCOLOR_LISTBOX);
    if (!brush) continue;
    QPalette palette = combo->view()->palette();
    palette.setColor(QPalette::Base, ToQColor(brush->color));
    palette.setColor(QPalette::Window, ToQColor(brush->color));
    palette.setColor(QPalette::Text, ToQColor(dc.GetTextColor()));
    combo->view()->setPalette(palette);
  }
}

INT_PTR CDialog::DoModal() {
  if (!Create(false)) return -1;
  INT_PTR result = -1;
  if (ModalHandler()) {
    result = ModalHandler()(*this);
  } else if (auto* dialog = qobject_cast<QDialog*>(GetWidget())) {
    dialog->exec();
    result = m_nModalResult;
  }
  DestroyWindow();
  return result;
}

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  if (auto* dialog = qobject_cast<QDialog*>(GetWidget())) dialog->done(result);
}

BOOL CDialog::DestroyWindow() { return CWnd::DestroyWindow(); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
  if ((nID & 0xFFF0) == SC_CLOSE) SendMessage(WM_COMMAND, IDCANCEL, 0);
}

HBRUSH CDialog::OnCtlColor(CDC*, CWnd*, UINT) { return nullptr; }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  try {
    DoDataExchange(&exchange);
  } catch (const CUserException&) {
    return FALSE;
  }
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
  switch (LOWORD(static_cast<DWORD>(wParam))) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) {
    OnSysCommand(static_cast<UINT>(wParam), lParam);
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

CMenu* CDialog::GetSystemMenu(BOOL /*revert*/) { return &m_systemMenu; }

HICON CDialog::SetIcon(HICON icon, BOOL bigIcon) {
  HICON& slot = bigIcon ? m_hBigIcon : m_hSmallIcon;
  HICON previous = slot;
  slot = icon;
  if (QWidget* widget = GetWidget()) {
    QIcon windowIcon;
    for (HICON each : {m_hBigIcon, m_hSmallIcon})
      if (each) windowIcon.addPixmap(QPixmap::fromImage(each->image));
    widget->setWindowIcon(windowIcon);
  }
  return previous;
}

int CDialog::GetDefID() const { return static_cast<int>(IDOK); }

BOOL CDialog::IsIconic() const { return GetWidget() && GetWidget()->isMinimized(); }

void CDialog::TrackSystemMenu(POINT screenPoint) {
  UINT_PTR chosen = 0;
  if (MenuHandler()) {
    chosen = MenuHandler()(m_systemMenu);
    // A greyed item cannot be chosen.
    for (const CMenu::Item& item : m_systemMenu.Items())
      if (item.id == chosen && (item.flags & MF_GRAYED)) chosen = 0;
  } else {
    QMenu menu(GetWidget());
    for (const CMenu::Item& item : m_systemMenu.Items()) {
      if (item.flags & MF_SEPARATOR) {
        menu.addSeparator();
        continue;
      }
      QAction* action = menu.addAction(ToQString(item.text));
      action->setData(QVariant::fromValue<qulonglong>(item.id));
      action->setCheckable(item.checkable);
      action->setEnabled(!(item.flags & MF_GRAYED));
      action->setChecked(item.flags & MF_CHECKED);
    }
    if (QAction* picked = menu.exec(QPoint(screenPoint.x, screenPoint.y)))
      chosen = static_cast<UINT_PTR>(picked->data().toULongLong());
  }
  if (chosen) SendMessage(WM_SYSCOMMAND, chosen, 0);
}

void CDialog::OnContextMenu(POINT screenPoint) { TrackSystemMenu(screenPoint); }
