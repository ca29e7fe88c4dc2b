#include "app/workbook_handoff.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

namespace {
constexpr int kWaitMilliseconds = 3000;
constexpr char kTaken[] = "ok\n";
}  // namespace

QString WorkbookSocketName(const QString& lockPath) {
  if (lockPath.isEmpty()) return QString();
  const QFileInfo lock(lockPath);
  return lock.absolutePath() + '/' + lock.completeBaseName() + QStringLiteral(".workbooks");
}

bool HandWorkbookToRunningCopy(const QString& socketName, const QString& workbook) {
  if (socketName.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(socketName);
  if (!socket.waitForConnected(kWaitMilliseconds)) return false;
  socket.write(workbook.toUtf8() + '\n');
  if (!socket.waitForBytesWritten(kWaitMilliseconds)) return false;
  while (!socket.canReadLine())
    if (!socket.waitForReadyRead(kWaitMilliseconds)) return false;
  return socket.readLine() == kTaken;
}

WorkbookReceiver::WorkbookReceiver(const QString& socketName, std::function<void(const QString&)> open)
    : m_open(std::move(open)) {
  if (socketName.isEmpty()) return;
  // Only the copy holding the lock gets here: a socket left by one that
  // ended without closing it is stale.
  QLocalServer::removeServer(socketName);
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  m_server.listen(socketName);
  connect(&m_server, &QLocalServer::newConnection, this, &WorkbookReceiver::Accept);
}

void WorkbookReceiver::Accept() {
  while (QLocalSocket* socket = m_server.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      const QString workbook = QString::fromUtf8(socket->readLine()).chopped(1);
      socket->write(kTaken);
      socket->flush();
      socket->disconnectFromServer();
      // Opened from the event loop, not inside the socket's signal: the
      // question about unsaved work may open its own loop.
      QTimer::singleShot(0, this, [this, workbook] { m_open(workbook); });
    });
  }
}
