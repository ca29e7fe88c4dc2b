#include "platform/ui/event_bridge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>

#include "platform/ui/window_props.h"
#include "platform/ui/wnd.h"

namespace {

constexpr UINT kDefaultHoverTime = 400;

struct Tracking {
  bool hover = false;
  bool leave = false;
  std::unique_ptr<QTimer> hoverTimer;
};

class WindowEventBridge : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
  BOOL Track(const TRACKMOUSEEVENT& request);

 private:
  bool OnMouse(QWidget* widget, QMouseEvent* event);
  bool OnKey(QWidget* widget, QKeyEvent* event);
  static bool PreTranslate(QWidget* widget, MSG& msg);
  bool IsCursorInside(const QWidget* widget) const;
  void SendLeave(QWidget* widget);
  void SendLeavesOutside();
  void OnHoverTime(QWidget* widget);

  std::map<QWidget*, Tracking> m_tracking;
  std::map<QWidget*, QPointer<QWidget>> m_guards;
  QPoint m_lastMouse{-100000, -100000};
  // Qt offers one mouse event to each parent in turn; it is one message.
  struct MouseKey {
    int type = 0;
    quint64 time = 0;
    QPoint global;
    bool operator==(const MouseKey&) const = default;
  } m_lastKey;
};

WindowEventBridge* g_bridge = nullptr;

UINT MouseMessage(const QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  auto pick = [button](UINT left, UINT right, UINT middle) {
    return button == Qt::RightButton ? right : button == Qt::MiddleButton ? middle : left;
  };
  switch (event->type()) {
    case QEvent::MouseButtonPress: return pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    case QEvent::MouseButtonRelease: return pick(WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
    case QEvent::MouseButtonDblClick:
      return pick(WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK);
    default: return WM_MOUSEMOVE;
  }
}

WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM state = 0;
  if (buttons & Qt::LeftButton) state |= MK_LBUTTON;
  if (buttons & Qt::RightButton) state |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) state |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) state |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) state |= MK_CONTROL;
  return state;
}

UINT VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Space: return 0x20;
    default: return (key >= 0x20 && key < 0x80) ? static_cast<UINT>(key) : static_cast<UINT>(key & 0xFF);
  }
}

LPARAM ClientPoint(const QWidget* widget, const QPoint& local) {
  const int border = window_props::BorderWidth(widget);
  return MAKELPARAM(local.x() - border, local.y() - border);
}

bool WindowEventBridge::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return OnMouse(widget, static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
      return OnKey(widget, static_cast<QKeyEvent*>(event));
    case QEvent::Leave: {
      auto found = m_tracking.find(widget);
      if (found != m_tracking.end() && found->second.leave) SendLeave(widget);
      return false;
    }
    case QEvent::FocusOut:
      if (CWnd* wnd = window_props::BoundWindow(widget)) {
        CWnd* next = CWnd::FromWidget(QApplication::focusWidget());
        wnd->DeliverMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0, nullptr);
      }
      return false;
    default:
      return false;
  }
}

bool WindowEventBridge::OnMouse(QWidget* widget, QMouseEvent* event) {
  const MouseKey key{event->type(), event->timestamp(), event->globalPosition().toPoint()};
  if (key == m_lastKey) return false;
  m_lastKey = key;
  MSG msg;
  msg.hwnd = CWnd::FromWidget(widget);
  msg.message = MouseMessage(event);
  msg.wParam = KeyState(event->buttons(), event->modifiers());
  msg.lParam = ClientPoint(widget, event->position().toPoint());
  msg.time = static_cast<DWORD>(event->timestamp());
  msg.pt = POINT{key.global.x(), key.global.y()};
  QPointer<QWidget> guard = widget;
  if (PreTranslate(widget, msg)) return true;
  m_lastMouse = key.global;
  SendLeavesOutside();
  if (guard) {
    if (CWnd* target = window_props::BoundWindow(widget))
      target->DeliverMessage(msg.message, msg.wParam, msg.lParam, nullptr);
  }
  return false;
}

bool WindowEventBridge::OnKey(QWidget* widget, QKeyEvent* event) {
  MSG msg;
  msg.hwnd = CWnd::FromWidget(widget);
  msg.message = (event->modifiers() & Qt::AltModifier) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  msg.wParam = VirtualKey(event->key());
  msg.time = static_cast<DWORD>(event->timestamp());
  msg.pt = POINT{m_lastMouse.x(), m_lastMouse.y()};
  return PreTranslate(widget, msg);
}

bool WindowEventBridge::PreTranslate(QWidget* widget, MSG& msg) {
  QPointer<QWidget> current = widget;
  while (current) {
    QWidget* next = current->isWindow() ? nullptr : current->parentWidget();
    if (CWnd* wnd = window_props::BoundWindow(current); wnd && wnd->PreTranslateMessage(&msg))
      return true;
    current = next;
  }
  return false;
}

bool WindowEventBridge::IsCursorInside(const QWidget* widget) const {
  return widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(m_lastMouse));
}

void WindowEventBridge::SendLeave(QWidget* widget) {
  m_tracking.erase(widget);
  m_guards.erase(widget);
  if (CWnd* wnd = window_props::BoundWindow(widget))
    wnd->DeliverMessage(WM_MOUSELEAVE, 0, 0, nullptr);
}

void WindowEventBridge::SendLeavesOutside() {
  std::vector<QWidget*> left;
  for (auto& [widget, tracking] : m_tracking) {
    if (!m_guards[widget]) left.push_back(widget);
    else if (tracking.leave && !IsCursorInside(widget)) left.push_back(widget);
  }
  for (QWidget* widget : left) {
    if (m_guards[widget]) SendLeave(widget);
    else { m_tracking.erase(widget); m_guards.erase(widget); }
  }
}

void WindowEventBridge::OnHoverTime(QWidget* widget) {
  auto found = m_tracking.find(widget);
  if (found == m_tracking.end() || !found->second.hover || !m_guards[widget]) return;
  found->second.hover = false;
  if (!IsCursorInside(widget)) return;
  if (CWnd* wnd = window_props::BoundWindow(widget)) {
    const QPoint local = widget->mapFromGlobal(m_lastMouse);
    wnd->DeliverMessage(WM_MOUSEHOVER, KeyState(QApplication::mouseButtons(), QApplication::keyboardModifiers()),
                        ClientPoint(widget, local), nullptr);
  }
}

BOOL WindowEventBridge::Track(const TRACKMOUSEEVENT& request) {
  QWidget* widget = request.hwndTrack ? request.hwndTrack->GetWidget() : nullptr;
  if (!widget || request.cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  if (request.dwFlags & TME_CANCEL) {
    m_tracking.erase(widget);
    m_guards.erase(widget);
    return TRUE;
  }
  if ((request.dwFlags & TME_LEAVE) && !IsCursorInside(widget)) {
    // The mouse is already elsewhere: the leave notification comes at once.
    request.hwndTrack->PostMessage(WM_MOUSELEAVE);
    return TRUE;
  }
  Tracking& tracking = m_tracking[widget];
  m_guards[widget] = widget;
  if (request.dwFlags & TME_LEAVE) tracking.leave = true;
  if (request.dwFlags & TME_HOVER) {
    tracking.hover = true;
    if (!tracking.hoverTimer) {
      tracking.hoverTimer = std::make_unique<QTimer>();
      tracking.hoverTimer->setSingleShot(true);
      QObject::connect(tracking.hoverTimer.get(), &QTimer::timeout, widget,
                       [this, widget] { OnHoverTime(widget); });
    }
    const UINT time = request.dwHoverTime == HOVER_DEFAULT ? kDefaultHoverTime : request.dwHoverTime;
    tracking.hoverTimer->start(static_cast<int>(time));
  }
  return TRUE;
}

}  // namespace

void InstallWindowEventBridge() {
  if (g_bridge || !qApp) return;
  g_bridge = new WindowEventBridge();
  g_bridge->setParent(qApp);
  QObject::connect(g_bridge, &QObject::destroyed, [] { g_bridge = nullptr; });
  qApp->installEventFilter(g_bridge);
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
  InstallWindowEventBridge();
  if (!g_bridge || !track) return FALSE;
  return g_bridge->Track(*track);
}
