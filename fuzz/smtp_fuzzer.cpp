// Fuzz target: the SMTP client's reply reader. A server on loopback sends the input (after its
// first byte) as all it ever says and closes the connection; the client greets it (HELO, or
// EHLO with STARTTLS when the first byte is odd), sends one message and says QUIT. Whatever the
// bytes, the client ends with a reply or an EMailError, within its time-out, and keeps no more
// of them than one line of 64 KiB.
#include <QByteArray>
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>

#include "fuzz_check.h"
#include "mail/mail_errors.h"
#include "mail/smtp_client.h"

namespace {

QByteArray replies;

// Listens once for the whole run; each connection is told the current input.
QTcpServer& Server() {
  static QTcpServer* server = [] {
    auto* s = new QTcpServer;
    FUZZ_CHECK(s->listen(QHostAddress::LocalHost));
    QObject::connect(s, &QTcpServer::newConnection, s, [s] {
      while (QTcpSocket* peer = s->nextPendingConnection()) {
        QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
        peer->write(replies);
        peer->disconnectFromHost();
      }
    });
    return s;
  }();
  return *server;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  static int argc = 1;
  static char name[] = "zorel-fuzz-smtp";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  if (size == 0) return 0;
  replies = QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  TSmtpClient client;
  client.Host = QStringLiteral("127.0.0.1");
  client.Port = Server().serverPort();
  client.TimeOut = 2000;
  client.UserID = "fuzz";
  client.Security = (data[0] & 1) != 0 ? MailSecurity::StartTls : MailSecurity::None;
  client.PostMessage.FromAddress = "a@b";
  client.PostMessage.ToAddress = {"x@y"};
  client.PostMessage.Body = {"text"};
  try {
    client.Connect();
    client.SendMail();
    client.Disconnect();
  } catch (const EMailError&) {
    // A refusal or a broken reply: the sound end for most inputs.
  }
  FUZZ_CHECK(client.LastReply().size() <= 65536);
  return 0;
}
