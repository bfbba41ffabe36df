#include "app/single_instance_handover.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <memory>
#include <string>

#include "settings/private_folder.h"

namespace {

constexpr qsizetype kMaxMessageBytes = kHandOverLengthBytes + kMaxHandOverPathBytes;

}  // namespace

QString handOverSocketPath() {
  const std::string folder = privateFolder();
  if (folder.empty()) return {};
  return QFile::decodeName(QByteArray::fromStdString(folder)) + QStringLiteral("/handover");
}

QByteArray encodeHandOver(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.isEmpty() || bytes.size() > kMaxHandOverPathBytes) return {};
  QByteArray message(kHandOverLengthBytes, '\0');
  qToBigEndian(static_cast<quint32>(bytes.size()), message.data());
  return message + bytes;
}

std::optional<QString> decodeHandOver(const QByteArray& message) {
  if (message.size() <= kHandOverLengthBytes || message.size() > kMaxMessageBytes) return std::nullopt;
  const quint32 length = qFromBigEndian<quint32>(message.constData());
  if (length != static_cast<quint32>(message.size() - kHandOverLengthBytes)) return std::nullopt;
  const QByteArray bytes = message.mid(kHandOverLengthBytes);
  if (bytes.contains('\0')) return std::nullopt;  // no file name holds one
  return QFile::decodeName(bytes);
}

bool handOverFile(const QString& socketPath, const QString& path, int timeoutMs) {
  const QByteArray message = encodeHandOver(path);
  if (socketPath.isEmpty() || message.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
  return true;
}

HandOverServer::HandOverServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &HandOverServer::takeConnections);
}

HandOverServer::~HandOverServer() = default;

bool HandOverServer::listen(const QString& socketPath) {
  if (socketPath.isEmpty()) return false;
  {
    // A copy that answers keeps its socket. (Listening would not fail on
    // its own: a socket made for the user alone replaces the file.)
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    if (probe.waitForConnected(kHandOverTimeoutMs)) return false;
  }
  // Nobody answers: a socket file left there is a copy's that ended
  // without removing it.
  QLocalServer::removeServer(socketPath);
  return server_->listen(socketPath);
}

void HandOverServer::takeConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) receive(socket);
}

void HandOverServer::receive(QLocalSocket* socket) {
  struct Received {
    QByteArray bytes;
    bool dropped = false;  // more than a message: nothing of it counts
  };
  auto received = std::make_shared<Received>();
  auto read = [socket, received] {
    if (received->dropped) return;
    received->bytes.append(socket->read(kMaxMessageBytes + 1 - received->bytes.size()));
    if (received->bytes.size() > kMaxMessageBytes) {
      received->dropped = true;
      socket->abort();
    }
  };
  connect(socket, &QLocalSocket::readyRead, socket, read);
  connect(socket, &QLocalSocket::disconnected, this, [this, socket, received, read] {
    read();
    socket->deleteLater();
    if (received->dropped) return;
    if (const std::optional<QString> path = decodeHandOver(received->bytes)) emit fileHandedOver(*path);
  });
  // A sender that says nothing, or too slowly, is not waited for.
  QTimer::singleShot(kHandOverTimeoutMs, socket, [socket, received] {
    received->dropped = true;
    socket->abort();
  });
  read();
}
