// The send loop over a base: the log lines, skipped recipients, addresses that would inject a
// command or a parameter, a time-out inside a message followed by a reconnection, and how
// failures to connect are told.
#include "mail/mail_run.h"

#include <gtest/gtest.h>

#include "scripted_server.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

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
  const QStringList greeting = {"S:220 ready", "C:HELO me", "S:250 hi"};
  test_support::ScriptedServer server(
      greeting +
      QStringList{"C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<x@y>",
                  "S:250 ok", "C:DATA", "S:354 go", "C:<data>", "S:250 ok", "C:RSET", "S:250 ok",
                  "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<z@w>", "S:<silent>"} +
      greeting +
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
