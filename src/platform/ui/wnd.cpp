#include "platform/ui/wnd.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/gdi/rgn.h"
#include "platform/ui/event_bridge.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/window_props.h"
#include "platform/ui/window_widgets.h"

const CWnd CWnd::wndTopMost;

namespace {

// Keeps the wrapper of a widget that no program object is bound to; it goes
// with the widget.
class WrapperHolder : public QObject {
 public:
  static constexpr const char* kName = "loadcalc.wrapper";
  explicit WrapperHolder(QWidget* widget) : QObject(widget) { setObjectName(kName); }
  std::unique_ptr<CWnd> wrapper;
};

QPoint ToQPoint(const POINT& p) { return {p.x, p.y}; }
POINT ToPoint(const QPoint& p) { return POINT{p.x(), p.y()}; }

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (!m_pWidget || m_bWrapper) return;
  QWidget* widget = m_pWidget;
  const bool owned = m_bOwnsWidget;
  Unbind();
  if (owned) delete widget;
}

CWnd* CWnd::FromWidget(QWidget* widget) {
  if (!widget) return nullptr;
  if (CWnd* bound = window_props::BoundWindow(widget)) return bound;
  // Found by name: the holder is no meta-object class of its own.
  auto* holder = static_cast<WrapperHolder*>(
      widget->findChild<QObject*>(WrapperHolder::kName, Qt::FindDirectChildrenOnly));
  if (!holder) {
    holder = new WrapperHolder(widget);
    holder->wrapper = std::make_unique<CWnd>();
    CWnd* wrapper = holder->wrapper.get();
    wrapper->m_pWidget = widget;
    wrapper->m_hWnd = wrapper;
    wrapper->m_bWrapper = true;
    wrapper->m_pContext = std::make_unique<QObject>();
  }
  return holder->wrapper.get();
}

void CWnd::Bind(QWidget* widget, bool owned) {
  InstallWindowEventBridge();
  m_pWidget = widget;
  m_bOwnsWidget = owned;
  m_hWnd = this;
  widget->setMouseTracking(true);
  window_props::SetBoundWindow(widget, this);
  m_pContext = std::make_unique<QObject>();
  QObject::connect(widget, &QObject::destroyed, m_pContext.get(), [this] {
    m_timers.clear();
    m_pWidget = nullptr;
    m_hWnd = nullptr;
    m_bOwnsWidget = false;
  });
}

void CWnd::Unbind() {
  m_timers.clear();
  m_pContext.reset();
  if (m_pWidget && window_props::BoundWindow(m_pWidget) == this)
    window_props::SetBoundWindow(m_pWidget, nullptr);
  m_pWidget = nullptr;
  m_hWnd = nullptr;
  m_bOwnsWidget = false;
}

BOOL CWnd::SubclassWindow(QWidget* widget) {
  if (!widget || m_pWidget || window_props::BoundWindow(widget)) return FALSE;
  m_pWidget = widget;  // lets PreSubclassWindow read and change the styles
  PreSubclassWindow();
  Bind(widget, false);
  widget->update();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent || !parent->m_pWidget) return FALSE;
  return SubclassWindow(window_props::ChildById(parent->m_pWidget, static_cast<int>(id)));
}

QWidget* CWnd::UnsubclassWindow() {
  QWidget* widget = m_pWidget;
  Unbind();
  return widget;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR /*className*/, LPCTSTR windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU /*menu*/) {
  if (m_pWidget) return FALSE;
  QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
  auto* widget = new WindowWidget(parentWidget);
  Qt::WindowFlags flags = Qt::Window;
  if (style & WS_POPUP) flags = Qt::Tool | Qt::FramelessWindowHint;
  if (exStyle & WS_EX_TOOLWINDOW) {
    flags |= Qt::Tool | Qt::WindowDoesNotAcceptFocus;
    widget->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  widget->setWindowFlags(flags);
  if (windowName) widget->setWindowTitle(ToQString(windowName));
  window_props::SetStyle(widget, style);
  window_props::SetExStyle(widget, exStyle);
  widget->setGeometry(x, y, width, height);
  Bind(widget, true);
  if (style & WS_VISIBLE) widget->show();
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_pWidget) return FALSE;
  SendMessage(WM_DESTROY);
  QWidget* widget = m_pWidget;
  const bool owned = m_bOwnsWidget;
  Unbind();
  if (owned) delete widget;
  return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG* /*pMsg*/) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT flags = static_cast<UINT>(wParam);
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_NCPAINT: OnNcPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    case WM_MOUSEMOVE: OnMouseMove(flags, point); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, point); return 0;
    case WM_LBUTTONUP: OnLButtonUp(flags, point); return 0;
    case WM_MOUSEHOVER: return OnMouseHover(wParam, lParam);
    case WM_MOUSELEAVE: return OnMouseLeave(wParam, lParam);
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wParam)); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<CWnd*>(wParam)); return 0;
    case WM_DRAWITEM: DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); return TRUE;
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
      LRESULT result = 0;
      OnNotify(wParam, lParam, &result);
      return result;
    }
    default: return Default();
  }
}

LRESULT CWnd::DeliverMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* wantsDefault) {
  const bool outer = m_bDefaultRequested;
  m_bDefaultRequested = false;
  const LRESULT result = WindowProc(message, wParam, lParam);
  if (wantsDefault) *wantsDefault = m_bDefaultRequested;
  m_bDefaultRequested = outer;
  return result;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DeliverMessage(message, wParam, lParam, nullptr);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_pWidget) return FALSE;
  QPointer<QWidget> widget = m_pWidget;
  QTimer::singleShot(0, m_pContext.get(), [this, widget, message, wParam, lParam] {
    if (widget && m_pWidget == widget) SendMessage(message, wParam, lParam);
  });
  return TRUE;
}

LRESULT CWnd::Default() {
  m_bDefaultRequested = true;
  return 0;
}

void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC* /*pDC*/) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
LRESULT CWnd::OnMouseHover(WPARAM, LPARAM) { return Default(); }
LRESULT CWnd::OnMouseLeave(WPARAM, LPARAM) { return Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
void CWnd::DrawItem(LPDRAWITEMSTRUCT) {}

// Geometry ------------------------------------------------------------------

void CWnd::GetClientRect(LPRECT rect) const {
  if (!m_pWidget) { *rect = RECT{}; return; }
  const int border = window_props::BorderWidth(m_pWidget);
  *rect = RECT{0, 0, std::max(0, m_pWidget->width() - 2 * border),
               std::max(0, m_pWidget->height() - 2 * border)};
}

void CWnd::GetWindowRect(LPRECT rect) const {
  if (!m_pWidget) { *rect = RECT{}; return; }
  if (m_pWidget->isWindow()) {
    const QRect frame = m_pWidget->geometry();
    *rect = RECT{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    return;
  }
  const QPoint topLeft = m_pWidget->mapToGlobal(QPoint(0, 0));
  *rect = RECT{topLeft.x(), topLeft.y(), topLeft.x() + m_pWidget->width(),
               topLeft.y() + m_pWidget->height()};
}

void CWnd::ScreenToClient(LPPOINT point) const {
  if (!m_pWidget) return;
  const int border = window_props::BorderWidth(m_pWidget);
  const QPoint local = m_pWidget->mapFromGlobal(ToQPoint(*point));
  *point = POINT{local.x() - border, local.y() - border};
}

void CWnd::ScreenToClient(LPRECT rect) const {
  POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
  ScreenToClient(&a);
  ScreenToClient(&b);
  *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ClientToScreen(LPPOINT point) const {
  if (!m_pWidget) return;
  const int border = window_props::BorderWidth(m_pWidget);
  *point = ToPoint(m_pWidget->mapToGlobal(QPoint(point->x + border, point->y + border)));
}

void CWnd::ClientToScreen(LPRECT rect) const {
  POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
  ClientToScreen(&a);
  ClientToScreen(&b);
  *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  if (!m_pWidget) return;
  m_pWidget->setGeometry(x, y, width, height);
  if (repaint) m_pWidget->update();
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!m_pWidget) return FALSE;
  if (!(flags & SWP_NOZORDER) && insertAfter == &wndTopMost && m_pWidget->isWindow() &&
      !(m_pWidget->windowFlags() & Qt::WindowStaysOnTopHint)) {
    const bool wasVisible = m_pWidget->isVisible();
    m_pWidget->setWindowFlag(Qt::WindowStaysOnTopHint, true);  // hides a shown window
    window_props::SetExStyle(m_pWidget, GetExStyle() | WS_EX_TOPMOST);
    if (wasVisible) m_pWidget->show();
  }
  if (!(flags & SWP_NOMOVE)) m_pWidget->move(x, y);
  if (!(flags & SWP_NOSIZE)) m_pWidget->resize(std::max(0, cx), std::max(0, cy));
  if (flags & SWP_HIDEWINDOW) m_pWidget->hide();
  if (flags & SWP_SHOWWINDOW) {
    if (flags & SWP_NOACTIVATE) m_pWidget->setAttribute(Qt::WA_ShowWithoutActivating);
    m_pWidget->show();
  }
  if (!(flags & SWP_NOREDRAW)) m_pWidget->update();
  return TRUE;
}

int CWnd::SetWindowRgn(HRGN hRgn, BOOL redraw) {
  if (!m_pWidget) return 0;
  if (hRgn) m_pWidget->setMask(hRgn->region);
  else m_pWidget->clearMask();
  if (redraw) m_pWidget->update();
  return 1;
}

// Relations ------------------------------------------------------------------

CWnd* CWnd::GetParent() const {
  if (!m_pWidget) return nullptr;
  return FromWidget(m_pWidget->parentWidget());
}

CWnd* CWnd::GetDlgItem(int id) const {
  return FromWidget(window_props::ChildById(m_pWidget, id));
}

int CWnd::GetDlgCtrlID() const { return window_props::Id(m_pWidget); }

CWnd* CWnd::GetTopLevelParent() const {
  return m_pWidget ? FromWidget(m_pWidget->window()) : nullptr;
}

// State ------------------------------------------------------------------------

BOOL CWnd::ShowWindow(int command) {
  if (!m_pWidget) return FALSE;
  const BOOL wasVisible = m_pWidget->isVisible();
  if (command == SW_HIDE) {
    m_pWidget->hide();
  } else {
    if (command == SW_SHOWNA || command == SW_SHOWNOACTIVATE)
      m_pWidget->setAttribute(Qt::WA_ShowWithoutActivating);
    m_pWidget->show();
  }
  return wasVisible;
}

BOOL CWnd::IsWindowVisible() const { return m_pWidget && m_pWidget->isVisible(); }

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!m_pWidget) return FALSE;
  const BOOL wasDisabled = !m_pWidget->isEnabled();
  m_pWidget->setEnabled(enable);
  return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_pWidget && m_pWidget->isEnabled(); }

CWnd* CWnd::SetFocus() {
  CWnd* previous = GetFocus();
  if (m_pWidget) m_pWidget->setFocus(Qt::OtherFocusReason);
  return previous;
}

CWnd* CWnd::GetFocus() { return FromWidget(QApplication::focusWidget()); }

void CWnd::GetWindowText(CString& text) const { text = GetWindowText(); }

CString CWnd::GetWindowText() const {
  if (!m_pWidget) return CString();
  return FromQString(WidgetText(m_pWidget));
}

void CWnd::SetWindowText(LPCTSTR text) {
  if (m_pWidget) SetWidgetText(m_pWidget, ToQString(text ? text : ""));
}

DWORD CWnd::GetStyle() const {
  if (!m_pWidget) return 0;
  DWORD style = window_props::Style(m_pWidget) & ~(WS_VISIBLE | WS_DISABLED);
  if (m_pWidget->isVisible() || (!m_pWidget->isWindow() && !m_pWidget->isHidden()))
    style |= WS_VISIBLE;
  if (!m_pWidget->isEnabled()) style |= WS_DISABLED;
  return style;
}

DWORD CWnd::GetExStyle() const { return window_props::ExStyle(m_pWidget); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT /*flags*/) {
  if (!m_pWidget) return FALSE;
  const DWORD before = window_props::Style(m_pWidget);
  DWORD after = (before & ~remove) | add;
  // A button's kind lives in the low bits: setting one kind replaces the other.
  if ((add & BS_TYPEMASK) != 0 && IsButtonWidget(m_pWidget))
    after = (after & ~BS_TYPEMASK) | (add & BS_TYPEMASK);
  window_props::SetStyle(m_pWidget, after);
  m_pWidget->update();
  return before != after;
}

void CWnd::SetFont(const QWidget* like) {
  if (m_pWidget && like) m_pWidget->setFont(like->font());
}

// Painting ---------------------------------------------------------------------

void CWnd::Invalidate(BOOL erase) { InvalidateRect(nullptr, erase); }

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
  if (!m_pWidget) return;
  m_bPendingErase = m_bPendingErase || erase;
  if (rect) {
    const int border = window_props::BorderWidth(m_pWidget);
    m_pWidget->update(rect->left + border, rect->top + border, rect->right - rect->left,
                      rect->bottom - rect->top);
  } else {
    m_pWidget->update();
  }
}

BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN /*region*/, UINT flags) {
  if (!m_pWidget) return FALSE;
  if (flags & (RDW_INVALIDATE | RDW_FRAME)) {
    m_bPendingErase = m_bPendingErase || (flags & RDW_ERASE);
    if (rect && !(flags & RDW_FRAME)) InvalidateRect(rect, flags & RDW_ERASE);
    else m_pWidget->update();
  }
  return TRUE;
}

bool CWnd::TakePendingErase() {
  const bool erase = m_bPendingErase;
  m_bPendingErase = false;
  return erase;
}

// Timers -------------------------------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT elapse, void* /*callback*/) {
  if (!m_pWidget) return 0;
  auto& timer = m_timers[nIDEvent];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, m_pContext.get(),
                     [this, nIDEvent] { SendMessage(WM_TIMER, nIDEvent, 0); });
  }
  timer->start(static_cast<int>(elapse));
  return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
  // Erased later: the timer may be the one whose handler is running.
  auto found = m_timers.find(nIDEvent);
  if (found == m_timers.end() || !found->second->isActive()) return FALSE;
  found->second->stop();
  return TRUE;
}

// Window lookup ------------------------------------------------------------------

HWND WindowFromPoint(POINT screenPoint) {
  QWidget* widget = QApplication::widgetAt(ToQPoint(screenPoint));
  // Disabled windows do not take the mouse: the point belongs to the parent.
  while (widget && !widget->isWindow() && !widget->isEnabled()) widget = widget->parentWidget();
  return CWnd::FromWidget(widget);
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
  if (!parent || !parent->GetWidget()) return nullptr;
  QWidget* parentWidget = parent->GetWidget();
  const int border = window_props::BorderWidth(parentWidget);
  const QPoint local(clientPoint.x + border, clientPoint.y + border);
  if (!parentWidget->rect().contains(local)) return nullptr;
  // The first child in the window order (template order) that holds the point.
  for (QWidget* child : window_props::ChildrenInOrder(parentWidget)) {
    if (!child->geometry().contains(local)) continue;
    if ((flags & CWP_SKIPINVISIBLE) && child->isHidden()) continue;
    if ((flags & CWP_SKIPDISABLED) && !child->isEnabled()) continue;
    return CWnd::FromWidget(child);
  }
  return parent;
}

BOOL GetCursorPos(LPPOINT point) {
  *point = ToPoint(QCursor::pos());
  return TRUE;
}

BOOL IsWindow(HWND hWnd) { return hWnd && hWnd->GetWidget() != nullptr; }
BOOL IsWindowVisible(HWND hWnd) { return hWnd && hWnd->IsWindowVisible(); }

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return hWnd ? hWnd->SendMessage(message, wParam, lParam) : 0;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT point) {
  if (!IsWindow(hWnd)) return FALSE;
  hWnd->ScreenToClient(point);
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT point) {
  if (!IsWindow(hWnd)) return FALSE;
  hWnd->ClientToScreen(point);
  return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect) {
  if (!IsWindow(hWnd)) return FALSE;
  hWnd->GetWindowRect(rect);
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT rect) {
  if (!IsWindow(hWnd)) return FALSE;
  hWnd->GetClientRect(rect);
  return TRUE;
}

int GetDlgCtrlID(HWND hWnd) { return hWnd ? hWnd->GetDlgCtrlID() : 0; }
