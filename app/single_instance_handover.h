// A second start of the program with a file hands the file to the copy that
// runs already, which opens it; the second copy then ends. The hand-over goes
// through a local socket in the user's private folder (privateFolder(): the
// user's own, mode 0700), so only the same user's copy can take it.
//
//   message   one per connection: the path's length as 4 bytes, most
//             significant first, then the path in the system's file-name
//             encoding, 1..kMaxHandOverPathBytes bytes; the sender closes
//             after it. Anything else (longer, shorter, more bytes, a sender
//             that stays silent) is dropped.
//   stale     a socket file nobody answers on is left by a copy that
//             crashed: the next first copy removes it and listens there.
//
// No answer on the socket means no copy of this user runs (or one that is
// not listening, for instance another user's, whose folder is not ours).
#ifndef TINDAVEL_APP_SINGLE_INSTANCE_HANDOVER_H_
#define TINDAVEL_APP_SINGLE_INSTANCE_HANDOVER_H_

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class QLocalServer;
class QLocalSocket;

inline constexpr qsizetype kMaxHandOverPathBytes = 4096;
inline constexpr qsizetype kHandOverLengthBytes = 4;
// How long a sender may take to connect and to send, and a receiver to wait for it.
inline constexpr int kHandOverTimeoutMs = 3000;

// The socket in the user's private folder; empty when there is none.
QString handOverSocketPath();

// The message that hands over `path`; empty when the path is empty or
// longer than the bound.
QByteArray encodeHandOver(const QString& path);
// The path of a whole message; none for anything else.
std::optional<QString> decodeHandOver(const QByteArray& message);

// Sends `path` to the copy listening on `socketPath`. True when one took it.
bool handOverFile(const QString& socketPath, const QString& path, int timeoutMs = kHandOverTimeoutMs);

// The first copy's end: listens on the socket and tells each path handed over.
class HandOverServer : public QObject {
  Q_OBJECT

 public:
  explicit HandOverServer(QObject* parent = nullptr);
  ~HandOverServer() override;

  // Listens on `socketPath`, in place of a stale socket left there. False
  // when a copy answers there already, or the socket cannot be made.
  bool listen(const QString& socketPath);

 signals:
  void fileHandedOver(const QString& path);

 private:
  void takeConnections();
  void receive(QLocalSocket* socket);

  QLocalServer* server_;
};

#endif  // TINDAVEL_APP_SINGLE_INSTANCE_HANDOVER_H_
