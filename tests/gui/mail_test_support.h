// What the mail dialog tests share: the scripted server's side of an SMTP session and a dialog
// pointed at that server.
#pragma once

#include <QLineEdit>
#include <QStringList>

#include "mail/scripted_server.h"

namespace zorel::test_support {

// The greeting, one message from me@x to `to`, and the goodbye of a session.
inline QStringList SmtpGreeting() { return {"S:220 ready", "C:HELO me", "S:250 hi"}; }
inline QStringList SmtpMessage(const QString& to) {
  return {"C:RSET",   "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<" + to + ">",
          "S:250 ok", "C:DATA",   "S:354 go",           "C:<data>", "S:250 ok"};
}
inline QStringList SmtpQuit() { return {"C:QUIT", "S:221 bye"}; }

// Fills the mail dialog's server, port and sender in for the scripted server.
inline void PointAt(QWidget& form, const ScriptedServer& server) {
  form.findChild<QLineEdit*>("SMTPServer")->setText("127.0.0.1");
  form.findChild<QLineEdit*>("SMTPPort")->setText(QString::number(server.Port()));
  form.findChild<QLineEdit*>("MailFrom")->setText("me@x");
}

}  // namespace zorel::test_support
