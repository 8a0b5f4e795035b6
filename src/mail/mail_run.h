// The mail run: one message, sent separately to every record of a list over one connection, with
// every step told through a MailReporter (the dialog's log, box and status bar; the command-line
// tool's standard output). Shared by the mail dialog and `zorel-cli mail`.
#pragma once

#include <QString>
#include <QStringList>

#include "data/record_list.h"
#include "mail/mail_charset.h"
#include "mail/smtp_client.h"

namespace zorel {

class Tdm;

// The longest time-out and pause a job may set: the client waits in milliseconds, an int.
inline constexpr int kMaxTimeOutSeconds = 2'000'000;
inline constexpr int kMaxPauseSeconds = 86'400;

struct MailJob {
  QString server;
  quint16 port = 25;
  int timeOutSeconds = 60;  // for each wait, up to kMaxTimeOutSeconds; 0 = no limit
  QString from, subject;
  QStringList bodyLines;
  bool html = false;
  QString charset = QStringLiteral("windows-1251");  // a name of kCharSets, or "koir-8"
  QStringList attachments;                           // full file names
  bool testMode = false;
  QString testAddress;  // every message goes here in test mode
  MailSecurity security = MailSecurity::None;
  QString caFile;
  QString user, password;  // a login, over an encrypted session only
  int pauseSeconds = 0;    // between messages, up to kMaxPauseSeconds
};

class MailReporter {
 public:
  virtual ~MailReporter() = default;
  // The dialog's one way of telling the user something: to the log when log is set, to a box
  // when box is set, otherwise to the status bar.
  virtual void Report(const QString& text, bool box, bool log) = 0;
  // The run reached its end: "Рассылка закончена".
  virtual void Finished() {}
};

struct JobProblem {
  enum Kind { None, BadArgument, UnreadableFile } kind = None;
  QString text;
};

// What the run must refuse before connecting: an unknown character set, a typed subject or text
// that the set cannot hold, an address without a Windows-1251 form, a line break in the sender,
// subject, test address or a file name, a sender that is no address, a login without
// encryption or without a password, a file that cannot be read.
JobProblem CheckJob(const MailJob& job);

struct RunResult {
  bool completed = false;  // reached its end, whatever single recipients failed
  bool established = false;
  bool loginRefused = false;  // the server refused the greeting or the login
  QString connectError;       // why connecting (or reconnecting) failed, when it did
  RecordList unsent;          // every recipient with an address that was not sent
};

class MailRun {
 public:
  MailRun(const Tdm& dm, MailReporter& reporter);
  RunResult Run(const MailJob& job, const RecordList& recipients);
  // Ends the wait in progress and sends no further message.
  void Cancel();
  bool Sending() const { return sending_; }
  TSmtpClient& Client() { return client_; }

 private:
  void Configure(const MailJob& job);
  // Connects; when that fails, tells why in the log and in a box unless a box told already.
  bool Connect(RunResult& result);
  void ReportInvalidHost();
  CheckedAddress AddressOf(const MailJob& job, std::int32_t record) const;
  void Report(const QString& text, bool box, bool log) {
    boxShown_ = boxShown_ || box;
    reporter_.Report(text, box, log);
  }

  const Tdm& dm_;
  MailReporter& reporter_;
  TSmtpClient client_;
  QString server_;
  bool sending_ = false;
  bool loginRefused_ = false;
  bool boxShown_ = false;  // since the last connect began
};

}  // namespace zorel
