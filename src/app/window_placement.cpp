#include "app/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "app/dialog_layout.h"
#include "app/list_columns.h"
#include "platform/ui/window_props.h"

namespace window_placement {

namespace {

// The screen under the middle of the window's title bar, if any.
QScreen* ScreenShowing(const QRect& frame) {
  return QGuiApplication::screenAt(QPoint(frame.left() + frame.width() / 2, frame.top() + 8));
}

QPoint KeptInside(QPoint topLeft, const QSize& size, const QRect& available) {
  topLeft.setX(std::clamp(topLeft.x(), available.left(), std::max(available.left(), available.right() - size.width())));
  topLeft.setY(std::clamp(topLeft.y(), available.top(), std::max(available.top(), available.bottom() - size.height())));
  return topLeft;
}

}  // namespace

void Restore(QWidget* window, const DialogLayout& layout, const std::optional<window_settings::Placement>& saved) {
  QScreen* screen = saved ? ScreenShowing(saved->frame) : nullptr;
  const bool placedBefore = screen != nullptr;
  if (!screen) screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  const QSize room = ClientRoomOf(available, window);
  const QSize minimum = layout.MinimumSizeOn(available);
  window->setMinimumSize(minimum);
  const QSize wanted = placedBefore ? saved->frame.size() : layout.TemplateSize();
  const QSize size = wanted.boundedTo(room).expandedTo(minimum);
  window->resize(size);
  const QPoint centred = available.center() - QPoint(size.width() / 2, size.height() / 2);
  window->move(KeptInside(placedBefore ? saved->frame.topLeft() : centred, size, available));
  if (placedBefore && saved->maximised) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

window_settings::Placement Current(const QWidget* window) {
  const QPoint frameOffset = window->geometry().topLeft() - window->pos();
  if (window->isMaximized()) {
    const QRect normal = window->normalGeometry();
    return {QRect(normal.topLeft() - frameOffset, normal.size()), true};
  }
  return {QRect(window->pos(), window->size()), false};
}

void SetAlwaysOnTop(QWidget* window, bool onTop) {
  if (bool(window->windowFlags() & Qt::WindowStaysOnTopHint) == onTop) return;
  const Qt::WindowFlags flags = onTop ? window->windowFlags() | Qt::WindowStaysOnTopHint
                                      : window->windowFlags() & ~Qt::WindowStaysOnTopHint;
  // Shown, the window must not be hidden for the change: a modal dialog
  // ends when hidden. Its native window takes the new hint in place.
  if (window->isVisible() && window->windowHandle()) {
    window->overrideWindowFlags(flags);
    window->windowHandle()->setFlags(flags);
  } else {
    window->setWindowFlags(flags);
  }
  const DWORD exStyle = window_props::ExStyle(window);
  window_props::SetExStyle(window, onTop ? exStyle | WS_EX_TOPMOST : exStyle & ~WS_EX_TOPMOST);
}

}  // namespace window_placement

PlacementKeeper::PlacementKeeper(QWidget* window, const ListColumns* columns)
    : QObject(window), m_window(window), m_columns(columns) {
  window->installEventFilter(this);
}

void PlacementKeeper::SaveNow() const {
  window_settings::SavePlacement(window_placement::Current(m_window));
  if (m_columns) window_settings::SaveColumnWidths(m_columns->ChosenWidths());
}

bool PlacementKeeper::eventFilter(QObject* watched, QEvent* event) {
  // A minimised window is hidden too; its place is kept at the close.
  if (watched == m_window && event->type() == QEvent::Hide && !m_window->isMinimized()) SaveNow();
  return QObject::eventFilter(watched, event);
}
