#include "mail/sync_socket.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QSslSocket>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <memory>

#include "mail/mail_errors.h"

namespace zorel {
namespace {

constexpr qsizetype kPiece = 65536;
constexpr qsizetype kMaxLine = 65536;
constexpr int kTimedOut = 10060;
constexpr int kInterrupted = 10004;

bool IsNull(const QHostAddress& a) {
  return a.isNull() || a == QHostAddress(QHostAddress::AnyIPv4) ||
         a == QHostAddress(QHostAddress::AnyIPv6);
}

}  // namespace

int SocketErrorNumber(int qtSocketError) {
  switch (static_cast<QAbstractSocket::SocketError>(qtSocketError)) {
    case QAbstractSocket::ConnectionRefusedError:
      return 10061;
    case QAbstractSocket::RemoteHostClosedError:
      return 10054;
    case QAbstractSocket::HostNotFoundError:
      return kSocketHostNotFound;
    case QAbstractSocket::SocketAccessError:
      return 10013;
    case QAbstractSocket::SocketResourceError:
      return 10055;
    case QAbstractSocket::SocketTimeoutError:
      return kTimedOut;
    case QAbstractSocket::DatagramTooLargeError:
      return 10040;
    case QAbstractSocket::NetworkError:
      return 10050;
    case QAbstractSocket::AddressInUseError:
      return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
      return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
      return 10045;
    case QAbstractSocket::OperationError:
      return 10056;
    default:
      return 10053;
  }
}

TSyncSocket::TSyncSocket(QObject* parent) : QObject(parent), socket_(new QSslSocket(this)) {
  connect(socket_, &QSslSocket::readyRead, this, &TSyncSocket::Wake);
  connect(socket_, &QSslSocket::connected, this, &TSyncSocket::Wake);
  connect(socket_, &QSslSocket::disconnected, this, &TSyncSocket::Wake);
  connect(socket_, &QSslSocket::encrypted, this, &TSyncSocket::Wake);
  connect(socket_, &QSslSocket::bytesWritten, this, &TSyncSocket::Wake);
  connect(socket_, &QSslSocket::errorOccurred, this, &TSyncSocket::Wake);
}

TSyncSocket::~TSyncSocket() { socket_->abort(); }

bool TSyncSocket::Connected() const {
  return connected_ && socket_->state() == QAbstractSocket::ConnectedState;
}

bool TSyncSocket::Encrypted() const { return socket_->isEncrypted(); }

void TSyncSocket::Cancel() {
  Status(8, QStringLiteral("Canceling"));
  cancel_ = true;
  Wake();
}

void TSyncSocket::Wake() {
  if (loop_) loop_->quit();
}

QDeadlineTimer TSyncSocket::Limit() const {
  return TimeOut > 0 ? QDeadlineTimer(TimeOut) : QDeadlineTimer(QDeadlineTimer::Forever);
}

TSyncSocket::WaitEnd TSyncSocket::Wait(const std::function<bool()>& done,
                                       const QDeadlineTimer& deadline) {
  QTimer timer;
  bool timedOut = false;
  if (!deadline.isForever()) {
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] {
      Status(8, QStringLiteral("Timer Triggered"));
      timedOut = true;
      Wake();
    });
    timer.start(std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
  }
  for (;;) {
    if (done()) return WaitEnd::Done;
    if (timedOut) return WaitEnd::TimedOut;
    if (cancel_) return WaitEnd::Cancelled;
    QEventLoop loop;
    QEventLoop* outer = loop_;
    loop_ = &loop;
    loop.exec();
    loop_ = outer;
  }
}

bool TSyncSocket::Pause(int ms) {
  QTimer timer;
  bool over = false;
  timer.setSingleShot(true);
  connect(&timer, &QTimer::timeout, this, [&] {
    over = true;
    Wake();
  });
  timer.start(ms);
  return Wait([&] { return over; }, QDeadlineTimer(QDeadlineTimer::Forever)) == WaitEnd::Done;
}

QHostAddress TSyncSocket::Resolve() {
  Status(8, QStringLiteral("Resolve Host"));
  QHostAddress direct;
  if (direct.setAddress(Host)) return direct;
  std::unique_ptr<QHostInfo> answer;
  const int id = QHostInfo::lookupHost(Host, this, [&](const QHostInfo& info) {
    answer = std::make_unique<QHostInfo>(info);
    Wake();
  });
  const WaitEnd end = Wait([&] { return answer != nullptr; }, Limit());
  if (end != WaitEnd::Done) {
    QHostInfo::abortHostLookup(id);
    if (end == WaitEnd::TimedOut) {
      lastError_ = kTimedOut;
      throw ESockError(QStringLiteral("Host Lookup Timed Out"), lastError_);
    }
    cancel_ = false;
    lastError_ = kInterrupted;
    throw EAbortError(QStringLiteral("Host Lookup Canceled"), lastError_);
  }
  if (answer->error() != QHostInfo::NoError || answer->addresses().isEmpty()) {
    lastError_ = kSocketHostNotFound;
    throw ESockError(QStringLiteral("Host Lookup Failed"), lastError_);
  }
  for (const QHostAddress& a : answer->addresses()) {
    if (a.protocol() == QAbstractSocket::IPv4Protocol) return a;
  }
  return answer->addresses().first();
}

void TSyncSocket::TcpConnect(bool encrypted, const QSslConfiguration& tls) {
  cancel_ = false;
  if (Connected()) throw EMailError(QStringLiteral("Already connected"));
  CloseSocket();
  QHostAddress address = Resolve();
  if (IsNull(address)) {
    if (OnInvalidHost && OnInvalidHost()) address = Resolve();
    if (IsNull(address)) throw EMailError(QStringLiteral("Null Remote Address"));
  }
  Status(8, QStringLiteral("Connecting"));
  lastError_ = 0;
  if (encrypted) {
    socket_->setSslConfiguration(tls);
    socket_->setPeerVerifyName(Host);
    socket_->connectToHostEncrypted(address.toString(), Port, Host);
  } else {
    socket_->connectToHost(address, Port);
  }
  bool failed = false;
  const auto onError = connect(socket_, &QSslSocket::errorOccurred, this, [&] { failed = true; });
  const WaitEnd end = Wait(
      [&] {
        return failed || (encrypted ? socket_->isEncrypted()
                                    : socket_->state() == QAbstractSocket::ConnectedState);
      },
      Limit());
  disconnect(onError);
  if (end == WaitEnd::Done && !failed) {
    connected_ = true;
    return;
  }
  QString text = QStringLiteral("Connection Failed");
  bool tcpFailed = true;  // a failed TLS handshake is not a failed TCP connection
  if (end == WaitEnd::TimedOut) {
    lastError_ = kTimedOut;
    text = QStringLiteral("Connection Timed out");
  } else if (end == WaitEnd::Cancelled) {
    cancel_ = false;
    lastError_ = kInterrupted;
    text = QStringLiteral("Connection Canceled");
  } else if (socket_->error() == QAbstractSocket::SslHandshakeFailedError ||
             socket_->error() == QAbstractSocket::SslInternalError ||
             socket_->error() == QAbstractSocket::SslInvalidUserDataError) {
    lastError_ = 10053;
    tcpFailed = false;
    text = QStringLiteral("TLS handshake failed: ") + socket_->errorString();
  } else {
    lastError_ = SocketErrorNumber(socket_->error());
  }
  CloseSocket();
  if (tcpFailed && OnConnectionFailed) OnConnectionFailed();
  if (end == WaitEnd::Cancelled) throw EAbortError(text, lastError_);
  throw ESockError(text, lastError_);
}

void TSyncSocket::StartEncryption(const QSslConfiguration& tls) {
  // Whatever came in clear after the go-ahead is dropped: it could be a planted reply.
  input_.clear();
  socket_->setSslConfiguration(tls);
  socket_->setPeerVerifyName(Host);
  socket_->startClientEncryption();
  const WaitEnd end = Wait(
      [&] {
        return socket_->isEncrypted() || socket_->state() != QAbstractSocket::ConnectedState ||
               socket_->error() == QAbstractSocket::SslHandshakeFailedError;
      },
      Limit());
  if (end == WaitEnd::Done && socket_->isEncrypted()) return;
  if (end != WaitEnd::Done) Abort("TLS handshake aborted", end);
  const QString text = QStringLiteral("TLS handshake failed: ") + socket_->errorString();
  CloseSocket();
  throw ESockError(text, 10053);
}

void TSyncSocket::Abort(const char* text, WaitEnd end) {
  cancel_ = false;
  lastError_ = end == WaitEnd::TimedOut ? kTimedOut : kInterrupted;
  CloseSocket();
  throw EAbortError(QString::fromLatin1(text), lastError_);
}

void TSyncSocket::RaiseSocketError() {
  lastError_ = SocketErrorNumber(socket_->error());
  CloseSocket();
  throw ESockError(SocketErrorText(lastError_), lastError_);
}

QByteArray TSyncSocket::ReadLn(const QDeadlineTimer& deadline) {
  Status(8, QStringLiteral("ReadLn"));
  qsizetype lf = -1;
  auto done = [&] {
    input_ += socket_->readAll();
    lf = input_.indexOf('\n');
    return lf >= 0 || input_.size() > kMaxLine ||
           socket_->state() != QAbstractSocket::ConnectedState;
  };
  const WaitEnd end = Wait(done, deadline);
  if (end != WaitEnd::Done) Abort("Socket readln aborted", end);
  if (lf < 0 || lf > kMaxLine) {
    const bool tooLong = lf > kMaxLine || input_.size() > kMaxLine;
    CloseSocket();
    throw EMailError(tooLong ? QStringLiteral("Reply line too long")
                             : QStringLiteral("Connection closed by server"));
  }
  QByteArray line = input_.left(lf);
  input_.remove(0, lf + 1);
  if (line.endsWith('\r')) line.chop(1);
  return line;
}

void TSyncSocket::Writeln(const QByteArray& text) {
  Status(8, QStringLiteral("Writeln"));
  if (text.contains('\r') || text.contains('\n')) {
    throw EMailError(QStringLiteral("Line break inside a command"));
  }
  SendBuffer(text + "\r\n");
}

void TSyncSocket::SendBuffer(const QByteArray& bytes) {
  Status(4, QStringLiteral("Sending Buffer"));
  if (!Connected()) throw EMailError(QStringLiteral("Not Connected"));
  socket_->write(bytes);
  const WaitEnd end = Wait(
      [&] {
        return socket_->bytesToWrite() <= kPiece ||
               socket_->state() != QAbstractSocket::ConnectedState;
      },
      Limit());
  if (end != WaitEnd::Done) Abort("Socket send aborted", end);
  if (socket_->state() != QAbstractSocket::ConnectedState) RaiseSocketError();
}

void TSyncSocket::SendStream(const QByteArray& bytes) {
  Status(8, QStringLiteral("SendStream"));
  for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
    SendBuffer(bytes.mid(at, kPiece));
  }
}

void TSyncSocket::CloseSocket() {
  Status(4, QStringLiteral("Request Close Socket"));
  connected_ = false;
  input_.clear();
  socket_->abort();
}

void TSyncSocket::Status(int level, const QString& text) {
  if (level <= ReportLevel && OnStatus) OnStatus(text);
}

}  // namespace zorel
