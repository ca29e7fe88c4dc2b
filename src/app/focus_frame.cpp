#include "app/focus_frame.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int kWidth = 2;

}  // namespace

FocusFrame::FocusFrame(QWidget* watched) : QWidget(watched->parentWidget()), m_watched(watched) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  watched->installEventFilter(this);
  Follow();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_watched) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::FocusIn:
      case QEvent::FocusOut:
      case QEvent::Show:
      case QEvent::Hide: Follow(); break;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FocusFrame::Follow() {
  setGeometry(m_watched->geometry());
  setVisible(m_watched->isVisible() && m_watched->hasFocus());
  raise();
}

void FocusFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
  const QRect frame = rect();
  painter.fillRect(QRect(0, 0, frame.width(), kWidth), colour);
  painter.fillRect(QRect(0, frame.height() - kWidth, frame.width(), kWidth), colour);
  painter.fillRect(QRect(0, 0, kWidth, frame.height()), colour);
  painter.fillRect(QRect(frame.width() - kWidth, 0, kWidth, frame.height()), colour);
}
