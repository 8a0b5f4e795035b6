// TSmtpClient: the mail-sending side of SMTP over one TSyncSocket connection. Connect greets the
// server (HELO with UserID on a plain session; EHLO, STARTTLS or TLS and a login when asked
// for), SendMail sends PostMessage as a MIME message, Disconnect says QUIT. Failures are raised
// as EMailError (ESockError, EAbortError) carrying the text the mail dialog logs.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

#include "mail/mail_message.h"
#include "mail/sync_socket.h"

namespace zorel {

enum class MailSecurity { None, StartTls, Tls };

class TSmtpClient : public TSyncSocket {
  Q_OBJECT

 public:
  explicit TSmtpClient(QObject* parent = nullptr);

  QByteArray UserID;
  TMailMessage PostMessage;
  QList<QByteArray> FinalHeader;
  bool ClearParams = true;
  MailSubType SubType = MailSubType::mtPlain;
  QByteArray Charset = "us-ascii";
  // Beyond the plain session: encryption, the certificates trusted besides the system's
  // (a PEM file, may be empty) and a login, offered only over an encrypted session.
  MailSecurity Security = MailSecurity::None;
  QString CaFile;
  QByteArray LoginUser, LoginPassword;

  std::function<void(const QByteArray& address)> OnRecipientNotFound;
  std::function<void()> OnSuccess, OnFailure;
  std::function<bool()> OnAuthenticationFailed;  // true = handled: say HELO once more

  int ReplyNumber() const { return replyNumber_; }
  const QByteArray& LastReply() const { return lastReply_; }
  bool Busy() const { return busy_; }

  void Connect();
  void SendMail();
  void Disconnect();

 private:
  // Sends the command (none for the greeting) and reads the reply with its continuation lines.
  int Transaction(const QByteArray& command);
  void Hello();
  void ExtendedHello();
  void Login();
  QSslConfiguration TlsConfiguration() const;
  bool Offers(const QByteArray& keyword) const;

  int replyNumber_ = 0;
  QByteArray lastReply_;
  QList<QByteArray> replyLines_;
  QList<QByteArray> extensions_;
  bool busy_ = false;
};

}  // namespace zorel
