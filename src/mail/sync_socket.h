// TSyncSocket: a TCP (optionally TLS) connection with blocking-style calls. Every wait runs a
// local event loop, so the user interface keeps working, and ends when its condition holds, when
// TimeOut milliseconds pass (0 = no limit) or when Cancel is called. After a time-out or a cancel
// inside a read or a send the connection is closed, so a late reply can never be taken as the
// answer to a later command.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <functional>

class QEventLoop;
class QHostAddress;
class QSslSocket;

namespace zorel {

class TSyncSocket : public QObject {
  Q_OBJECT

 public:
  explicit TSyncSocket(QObject* parent = nullptr);
  ~TSyncSocket() override;

  QString Host;
  quint16 Port = 25;
  int TimeOut = 0;      // milliseconds for each wait, a whole reply being one; 0 = no limit
  int ReportLevel = 1;  // 1 server replies, 4 socket steps, 8 internal steps
  std::function<void(const QString& status)> OnStatus;
  std::function<bool()> OnInvalidHost;  // true = handled: resolve once more
  std::function<void()> OnConnectionFailed;

  bool Connected() const;
  int LastSocketError() const { return lastError_; }
  // The wait in progress (or the next one) ends with an error.
  void Cancel();
  // Waits ms milliseconds unless cancelled first; false when cancelled (the flag stays set).
  bool Pause(int ms);

 protected:
  // Host resolution and connect; with encrypted the TLS handshake follows at once.
  void TcpConnect(bool encrypted, const QSslConfiguration& tls);
  // The TLS handshake over the open connection.
  void StartEncryption(const QSslConfiguration& tls);
  // The end of one wait of TimeOut milliseconds from now (never with TimeOut 0).
  QDeadlineTimer Limit() const;
  // One received line without its line end, by the deadline. A connection closed by the server
  // raises "Connection closed by server"; a cancel or time-out EAbortError "Socket readln
  // aborted".
  QByteArray ReadLn(const QDeadlineTimer& deadline);
  // The text and CR LF; a text holding CR or LF is refused (it would smuggle in a command).
  void Writeln(const QByteArray& text);
  // All bytes, bounded by TimeOut; EAbortError "Socket send aborted".
  void SendBuffer(const QByteArray& bytes);
  // The bytes in pieces of 64 KiB, each bounded by TimeOut.
  void SendStream(const QByteArray& bytes);
  void CloseSocket();
  void Status(int level, const QString& text);
  void ClearCancel() { cancel_ = false; }
  bool Encrypted() const;

 private:
  enum class WaitEnd { Done, TimedOut, Cancelled };
  WaitEnd Wait(const std::function<bool()>& done, const QDeadlineTimer& deadline);
  void Wake();
  QHostAddress Resolve();
  void Abort(const char* text, WaitEnd end);
  void RaiseSocketError();

  QSslSocket* socket_;
  QEventLoop* loop_ = nullptr;
  QByteArray input_;
  bool cancel_ = false;
  bool connected_ = false;
  int lastError_ = 0;
};

// The socket error number the log texts use for a Qt socket error.
int SocketErrorNumber(int qtSocketError);

}  // namespace zorel
