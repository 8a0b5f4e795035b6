// The SMTP client against a scripted server: the dialogue line by line, replies and refusals
// at every step, and the faults a real server rarely produces on demand; then the send loop over
// a base on the same server.
#include "mail/smtp_client.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QHostInfo>
#include <functional>

#include "mail/mail_errors.h"
#include "mail/mail_run.h"
#include "scripted_server.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

using test_support::ScriptedServer;

const QStringList kGreeting = {"S:220 ready", "C:HELO me", "S:250 hello"};
const QStringList kMessage = {
    "C:RSET",   "S:250 ok", "C:MAIL FROM:<a@b>", "S:250 sender ok", "C:RCPT TO:<x@y>",
    "S:250 ok", "C:DATA",   "S:354 go",          "C:<data>",        "S:250 queued"};
const QStringList kQuit = {"C:QUIT", "S:221 bye"};

// The greeting and the first n lines of a message's dialogue, followed by the server's lines.
QStringList Cut(int n, const QStringList& then) { return kGreeting + kMessage.mid(0, n) + then; }

// A client of the scripted server, on loopback.
struct Client : TSmtpClient {
  explicit Client(const ScriptedServer& server) {
    Host = QStringLiteral("127.0.0.1");
    Port = server.Port();
    TimeOut = 500;
    UserID = "me";
  }
};

// One dialogue: the server's script, the messages sent, and the events and error texts in
// order ("<error>" matches any error text).
struct Dialogue {
  const char* name;
  QStringList script;
  int messages;
  QStringList expected;
  std::function<void(TSmtpClient&, QStringList&, ScriptedServer&)> setup = nullptr;
};
void PrintTo(const Dialogue& d, std::ostream* os) { *os << d.name; }

QStringList Converse(const Dialogue& d, ScriptedServer& server) {
  Client client(server);
  QStringList out;
  client.OnRecipientNotFound = [&](const QByteArray& a) { out << "not found " + QString(a); };
  client.OnFailure = [&] { out << "failure"; };
  client.OnSuccess = [&] { out << "success"; };
  client.OnAuthenticationFailed = [&] {
    out << "auth failed";
    return false;
  };
  if (d.setup) d.setup(client, out, server);
  // Runs a step; a mail error goes to the events with the prefix.
  const auto step = [&out](const QString& prefix, const std::function<void()>& run) {
    try {
      run();
      return true;
    } catch (const EMailError& e) {
      out << prefix + e.Text();
      return false;
    }
  };
  if (!step("", [&] { client.Connect(); })) return out;
  for (int i = 0; i < d.messages; ++i) {
    client.PostMessage.FromAddress = "a@b";
    client.PostMessage.ToAddress = {"x@y"};
    client.PostMessage.Body = {"text"};
    step("", [&] { client.SendMail(); });
  }
  step("quit: ", [&] { client.Disconnect(); });
  return out;
}

// An attachment larger than any socket buffer.
QString BigFile() {
  static const test_support::TempDir dir;
  const QString big = QString::fromStdString(dir / "big.bin");
  QFile f(big);
  if (!f.exists() && f.open(QIODevice::WriteOnly)) f.write(QByteArray(8 << 20, 'z'));
  return big;
}

std::vector<Dialogue> Dialogues() {
  return {
      {"MultiLineRepliesToEveryCommand",
       {"S:220-one", "S:220 two",       "C:HELO me", "S:250-a",           "S:250 b",
        "C:RSET",    "S:250-x",         "S:250 y",   "C:MAIL FROM:<a@b>", "S:250-s",
        "S:250 s",   "C:RCPT TO:<x@y>", "S:250-r",   "S:250 r",           "C:DATA",
        "S:354-d",   "S:354 d",         "C:<data>",  "S:250-q",           "S:250 q",
        "C:QUIT",    "S:221-b",         "S:221 b"},
       1,
       {"success"}},
      {"ReplyLineLongerThanTheReceiveBuffer",
       {"S:" + QString(70000, u'2')},
       0,
       {"Reply line too long"}},
      {"ReplyThatNeverEnds", QStringList(1001, "S:220-more"), 0, {"Reply too long"}},
      {"BusyGreeting", {"S:421 busy", "C:QUIT", "S:221 bye"}, 0, {"421 busy"}},
      {"HeloRefused",
       {"S:220 ready", "C:HELO me", "S:550 who", "C:QUIT", "S:221 bye"},
       0,
       {"auth failed", "Authentication failed"}},
      {"RecipientRefusedThenData",
       Cut(5, {"S:550 unknown", "C:DATA", "S:503 no recipients"}) + kQuit,
       1,
       {"not found x@y", "503 no recipients"}},
      {"DataRefused", Cut(7, {"S:451 later"}) + kQuit, 1, {"451 later"}},
      {"MessageRefusedAfterItsData",
       Cut(9, {"S:554 rejected"}) + kQuit,
       1,
       {"failure", "554 rejected"}},
      // The time-out closes the connection; later messages are not sent.
      {"SilentServer", Cut(1, {"S:<silent>"}), 2, {"Socket readln aborted", "Not Connected"}},
      {"ConnectionDroppedMidMessage", Cut(8, {"S:<close>"}), 2, {"<error>", "Not Connected"}},
      {"ServerStopsReadingTheBody",
       Cut(8, {"S:<stop-reading>"}),
       1,
       {"Socket send aborted"},
       [](TSmtpClient& c, QStringList&, ScriptedServer&) {
         c.PostMessage.Attachments = {BigFile()};
       }},
      {"CancelDuringAWaitWithoutTimeLimit",
       Cut(5, {"S:<call>", "S:<silent>"}),
       1,
       {"Socket readln aborted"},
       [](TSmtpClient& c, QStringList&, ScriptedServer& s) {
         c.TimeOut = 0;
         s.OnCall = [&c] { c.Cancel(); };
       }},
      {"ASecondSendWhileTheFirstWaitsDoesNothing",
       Cut(5, {"S:<call>", "S:<silent>"}),
       1,
       {"second returned", "Socket readln aborted"},
       [](TSmtpClient& c, QStringList& out, ScriptedServer& s) {
         s.OnCall = [&c, &out] {
           c.SendMail();
           out << "second returned";
           c.Cancel();
         };
       }},
      {"StartTlsNotOffered",
       QStringList{"S:220 ready", "C:EHLO " + QHostInfo::localHostName(), "S:250-hi",
                   "S:250 SIZE 1000"} +
           kQuit,
       0,
       {"Server does not offer STARTTLS"},
       [](TSmtpClient& c, QStringList&, ScriptedServer&) { c.Security = MailSecurity::StartTls; }},
      {"QuitRefused", Cut(10, {"C:QUIT", "S:500 what"}), 1, {"success", "quit: 500 what"}},
  };
}

class SmtpDialogue : public ::testing::TestWithParam<Dialogue> {};

TEST_P(SmtpDialogue, GoesByTheScript) {
  const Dialogue& d = GetParam();
  ScriptedServer server(d.script);
  const QStringList out = Converse(d, server);
  ASSERT_EQ(out.size(), d.expected.size()) << out.join(" | ").toStdString();
  for (qsizetype i = 0; i < out.size(); ++i) {
    if (d.expected[i] == u"<error>") {
      EXPECT_NE(out[i], u"success");
    } else {
      EXPECT_EQ(out[i], d.expected[i]);
    }
  }
  EXPECT_TRUE(server.Mismatch().isEmpty()) << server.Mismatch().toStdString();
  EXPECT_TRUE(server.Finished());
}

INSTANTIATE_TEST_SUITE_P(SmtpClient, SmtpDialogue, ::testing::ValuesIn(Dialogues()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SmtpClient, TimeOutBoundsAWholeReply) {
  QStringList script;
  for (int i = 0; i < 10; ++i)
    script << "S:220-line"
           << "S:<pause 150>";
  ScriptedServer server(script << "S:220 end");
  Client client(server);
  QElapsedTimer clock;
  clock.start();
  try {
    client.Connect();
    ADD_FAILURE() << "connected";
  } catch (const EAbortError& e) {
    EXPECT_EQ(e.Text(), u"Socket readln aborted");
  }
  EXPECT_LT(clock.elapsed(), 1200);
}

TEST(SmtpClient, SendsHeaderAndBodyAsBuilt) {
  ScriptedServer server(kGreeting + kMessage + kQuit);
  Client client(server);
  client.Connect();
  client.PostMessage.FromAddress = "a@b";
  client.PostMessage.Subject = QStringLiteral("Plain \"ASCII\" =?");  // written unchanged
  client.PostMessage.ToAddress = {"Name <x@y>"};
  client.PostMessage.Body = {"one", ".", ".two", ""};
  client.Charset = "windows-1251";
  client.SendMail();
  client.Disconnect();
  ASSERT_EQ(server.Messages().size(), 1);
  EXPECT_EQ(server.Messages()[0],
            "From: <a@b>\r\nTo: Name <x@y>\r\nSubject: Plain \"ASCII\" =?\r\n"
            "Mime-Version: 1.0\r\nContent-Type: text/plain; charset=windows-1251\r\n\r\n\r\n"
            "one\r\n..\r\n..two\r\n\r\n");
  EXPECT_TRUE(server.Mismatch().isEmpty()) << server.Mismatch().toStdString();
  EXPECT_TRUE(client.PostMessage.ToAddress.isEmpty());  // ClearParams
}

TEST(SmtpClient, ConnectFailures) {
  TSmtpClient client;
  QStringList out;
  client.OnInvalidHost = [&] {
    out << "invalid host";
    return false;
  };
  client.OnConnectionFailed = [&] { out << "failed " + QString::number(client.LastSocketError()); };
  const auto attempt = [&](const QString& host, quint16 port) {
    client.Host = host;
    client.Port = port;
    try {
      client.Connect();
      out << "connected";
    } catch (const EMailError& e) {
      out << e.Text();
    }
  };
  attempt(QStringLiteral("0.0.0.0"), 25);
  attempt(QStringLiteral("127.0.0.1"), test_support::ClosedPort());
  EXPECT_EQ(out, (QStringList{"invalid host", "Null Remote Address", "failed 10061",
                              "Connection Failed"}));
  EXPECT_EQ(SocketErrorText(10061), u"10061:Connection refused");
}

// The send loop over a base: the log lines, skipped recipients, addresses that would inject a
// command or a parameter, a time-out inside a message followed by a reconnection, and how
// failures to connect are told.
struct LogReporter : MailReporter {
  QStringList log, boxes;
  bool finished = false;
  void Report(const QString& text, bool box, bool toLog) override {
    if (toLog) log << text;
    if (box) boxes << text;
  }
  void Finished() override { finished = true; }
};

MailJob JobFor(quint16 port) {
  MailJob job;
  job.server = QStringLiteral("127.0.0.1");
  job.port = port;
  job.timeOutSeconds = 1;
  job.from = QStringLiteral("me@x");
  job.subject = QStringLiteral("Тема");
  job.bodyLines = {QStringLiteral("Текст")};
  return job;
}

TEST(MailRun, LogsEachRecipientSkipsBadAddressesAndReconnectsAfterATimeOut) {
  test_support::OpenBase base(test_support::BaseWithAddresses(
      {"x@y", "", "evil@x.test\r\nRCPT TO:<other@x.test>", test_support::W("Имя <z@w>"), "q@r",
       "ok@x.test> NOTIFY=SUCCESS"}));
  test_support::ScriptedServer server(
      kGreeting +
      QStringList{"C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<x@y>",
                  "S:250 ok", "C:DATA", "S:354 go", "C:<data>", "S:250 ok", "C:RSET", "S:250 ok",
                  "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<z@w>", "S:<silent>"} +
      kGreeting +
      QStringList{"C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<q@r>",
                  "S:250 ok", "C:DATA", "S:354 go", "C:<data>", "S:250 ok", "C:QUIT", "S:221 bye"});
  LogReporter reporter;
  MailRun run(base.dm(), reporter);
  const RunResult result = run.Run(JobFor(server.Port()), {0, 1, 2, 3, 4, 5});
  const QString connecting = QStringLiteral("Установление соединения с сервером: 127.0.0.1");
  EXPECT_EQ(reporter.log,
            (QStringList{connecting, "Firm 0:x@y", "OK", "Firm 1: нет адреса - пропускается",
                         "Firm 2: недопустимый адрес - пропускается", "Firm 3:z@w",
                         "Socket readln aborted", "Firm 4:q@r", connecting, "OK",
                         "Firm 5: недопустимый адрес - пропускается", ""}));
  EXPECT_TRUE(reporter.boxes.isEmpty());
  EXPECT_TRUE(reporter.finished);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.unsent, (RecordList{2, 3, 5}));
  EXPECT_TRUE(server.Mismatch().isEmpty()) << server.Mismatch().toStdString();
  EXPECT_TRUE(server.Finished());
  ASSERT_EQ(server.Messages().size(), 2);
  EXPECT_TRUE(server.Messages()[0].contains(
      "Subject: =?windows-1251?B?" + QByteArray::fromStdString(ToCp("Тема")).toBase64() + "?="));
}

// However connecting fails, the reason is in the log and in one box, and every recipient with
// an address is left unsent.
TEST(MailRun, ConnectFailuresAreToldAndLeaveEveryoneUnsent) {
  const quint16 closedPort = test_support::ClosedPort();
  const QString noHost =
      QStringLiteral("Невозможно соединиться с сервером по указанному адресу : ");
  const struct {
    const char* name;
    QString server;
    QStringList script;  // for the scripted server; none for a closed port
    QString box;
    int timeOut = 5;
  } cases[] = {
      {"refused",
       "127.0.0.1",
       {},
       "Нет соединения с сервером: Connection Failed (10061:Connection refused)"},
      {"unknown host", "nosuch.invalid", {}, noHost + "nosuch.invalid"},
      {"no server named", "", {}, noHost},
      {"silent after the greeting",
       "127.0.0.1",
       {"S:220 ready", "C:HELO me", "S:<silent>"},
       "Нет соединения с сервером: Socket readln aborted (10060:Connection timed out)",
       1},
      {"greeting refused",
       "127.0.0.1",
       {"S:421 busy", "C:QUIT", "S:221 bye"},
       "Нет соединения с сервером: 421 busy"},
  };
  test_support::OpenBase base(test_support::BaseWithAddresses({"x@y", "", "q@r"}));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::ScriptedServer server(c.script);
    MailJob job = JobFor(c.script.isEmpty() ? closedPort : server.Port());
    job.server = c.server;
    job.timeOutSeconds = c.timeOut;
    LogReporter reporter;
    MailRun run(base.dm(), reporter);
    const RunResult result = run.Run(job, {0, 1, 2});
    EXPECT_EQ(reporter.boxes, QStringList{c.box});
    EXPECT_TRUE(reporter.log.contains(c.box)) << reporter.log.join(" | ").toStdString();
    EXPECT_FALSE(reporter.finished);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.unsent, (RecordList{0, 2}));
  }
}

TEST(MailRun, RefusesBeforeConnecting) {
  const auto problem = [](auto change) {
    MailJob job = JobFor(25);
    change(job);
    return CheckJob(job).kind;
  };
  EXPECT_EQ(problem([](MailJob&) {}), JobProblem::None);
  EXPECT_EQ(problem([](MailJob& j) { j.subject = QStringLiteral("a\r\nBcc: x@y"); }),
            JobProblem::BadArgument);
  EXPECT_EQ(problem([](MailJob& j) { j.from = QStringLiteral("a@b\n"); }), JobProblem::BadArgument);
  EXPECT_EQ(problem([](MailJob& j) { j.from = QStringLiteral("a@b.c> SIZE=1"); }),
            JobProblem::BadArgument);
  EXPECT_EQ(problem([](MailJob& j) { j.bodyLines = {QStringLiteral("€ \u4e00")}; }),
            JobProblem::BadArgument);
  EXPECT_EQ(problem([](MailJob& j) { j.attachments = {QStringLiteral("/no/such/file")}; }),
            JobProblem::UnreadableFile);
  EXPECT_EQ(problem([](MailJob& j) {
              j.user = QStringLiteral("u");
              j.password = "p";
            }),
            JobProblem::BadArgument);
}

}  // namespace
}  // namespace zorel
