#include "app/workbook_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

// The one local file a drag carries, or "" when it carries anything else.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

WorkbookDrop::WorkbookDrop(QWidget* target, std::function<void(const QString&)> onDrop)
    : QObject(target), m_onDrop(std::move(onDrop)) {
  target->setAcceptDrops(true);
  target->installEventFilter(this);
}

bool WorkbookDrop::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (DroppedFile(drag->mimeData()).isEmpty()) return QObject::eventFilter(watched, event);
    drag->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString file = DroppedFile(drop->mimeData());
    if (file.isEmpty()) return QObject::eventFilter(watched, event);
    drop->acceptProposedAction();
    m_onDrop(file);
    return true;
  }
  return QObject::eventFilter(watched, event);
}
