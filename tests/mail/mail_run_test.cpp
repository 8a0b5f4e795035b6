// The send loop over a base: the log lines, skipped recipients, an address that would inject a
// command, and a time-out that closes the connection for the recipients after it.
#include "mail/mail_run.h"

#include <gtest/gtest.h>

#include "scripted_server.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "ui/text_convert.h"

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

TEST(MailRun, LogsEachRecipientAndSkipsBadAddresses) {
  test_support::OpenBase base(test_support::BaseWithAddresses(
      {"x@y", "", "a@b\r\nDATA", test_support::W("Имя <z@w>"), "q@r"}));
  test_support::ScriptedServer server(
      {"S:220 ready", "C:HELO me", "S:250 hi", "C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>",
       "S:250 ok", "C:RCPT TO:<x@y>", "S:250 ok", "C:DATA", "S:354 go", "C:<data>", "S:250 ok",
       "C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<z@w>", "S:<silent>"});
  LogReporter reporter;
  MailRun run(base.dm(), reporter);
  const RunResult result = run.Run(JobFor(server.Port()), {0, 1, 2, 3, 4});
  EXPECT_EQ(
      reporter.log,
      (QStringList{"Установление соединения с сервером: 127.0.0.1", "Firm 0:x@y", "OK",
                   "Firm 1: нет адреса - пропускается", "Firm 2: недопустимый адрес - пропускается",
                   "Firm 3:z@w", "Socket readln aborted", "Firm 4:q@r", "Not Connected", ""}));
  EXPECT_TRUE(reporter.boxes.isEmpty());
  EXPECT_TRUE(reporter.finished);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.unsent, (RecordList{2, 3, 4}));
  EXPECT_TRUE(server.Mismatch().isEmpty()) << server.Mismatch().toStdString();
  ASSERT_EQ(server.Messages().size(), 1);
  EXPECT_TRUE(server.Messages()[0].contains("Subject: " + QByteArray::fromStdString(ToCp("Тема"))));
}

TEST(MailRun, ConnectionRefusedEndsTheRunWithoutTheFinalBox) {
  test_support::OpenBase base(test_support::BaseWithAddresses({"x@y"}));
  quint16 closedPort;
  {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    closedPort = probe.serverPort();
  }
  LogReporter reporter;
  MailRun run(base.dm(), reporter);
  const RunResult result = run.Run(JobFor(closedPort), {0});
  EXPECT_EQ(reporter.log, (QStringList{"Установление соединения с сервером: 127.0.0.1",
                                       "Ошибка установки соединения : 10061", ""}));
  EXPECT_FALSE(reporter.finished);
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(result.connectError, u"Connection Failed (10061:Connection refused)");
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
