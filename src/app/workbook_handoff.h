// A second start of the program with a workbook hands the workbook to the
// copy that runs, over a local socket beside the single-instance lock: the
// running window opens it (asking first if it holds unsaved work) and comes
// to the front.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>

// The socket's name for the lock of `appName` (a path in the user's runtime
// folder), or empty when there is no such folder.
QString WorkbookSocketName(const QString& lockPath);

// In the second copy: true once the running copy has taken `workbook`.
bool HandWorkbookToRunningCopy(const QString& socketName, const QString& workbook);

// In the running copy: calls `open` with each workbook handed over, after
// the sender has been answered.
class WorkbookReceiver : public QObject {
 public:
  WorkbookReceiver(const QString& socketName, std::function<void(const QString&)> open);
  bool IsListening() const { return m_server.isListening(); }

 private:
  void Accept();
  QLocalServer m_server;
  std::function<void(const QString&)> m_open;
};
