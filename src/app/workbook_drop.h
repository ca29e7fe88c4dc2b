// Dropping a workbook file onto a window: the window accepts a drag that
// carries one local file, and hands its path over when it is dropped.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

class WorkbookDrop : public QObject {
 public:
  // `onDrop` gets the dropped file's local path.
  WorkbookDrop(QWidget* target, std::function<void(const QString&)> onDrop);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> m_onDrop;
};
