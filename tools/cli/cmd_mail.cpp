// zorel-cli mail: the mail dialog's send loop without a window. Standard output gets every line
// the dialog's log would get; the reason a connection failed goes to standard error.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdlib>
#include <stdexcept>

#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/list_file.h"
#include "mail/mail_fields.h"
#include "mail/mail_run.h"

namespace zorel::cli {
namespace {

// The log's lines on standard output, UTF-8, one per line; boxes and the status bar are not
// printed.
class StdoutReporter : public MailReporter {
 public:
  void Report(const QString& text, bool, bool log) override {
    if (log) Emit((text.toUtf8() + '\n').toStdString());
  }
};

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8); }

std::string Required(const ParsedArgs& args, const std::string& name) {
  auto value = args.Single(name);
  if (!value) throw args.Misuse("не задан параметр " + name + "\n");
  return *value;
}

int NonNegative(const ParsedArgs& args, const std::string& name, int fallback, int most) {
  const auto text = args.Single(name);
  if (!text) return fallback;
  const auto n = ParseInteger(*text);
  if (!n || *n < 0 || *n > most) throw UsageError("неверное значение " + name + ": " + *text);
  return static_cast<int>(*n);
}

// CR LF, LF and CR each end a line; a final line break adds no line.
QStringList BodyLines(const QString& text) {
  QString body = text;
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  if (body.isEmpty()) return {};
  if (body.endsWith(u'\n')) body.chop(1);
  return body.split(u'\n');
}

QString ReadBodyFile(const std::string& path) {
  QFile file(Text(path));
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error("Не могу прочитать файл " + path + ": " +
                             file.errorString().toStdString());
  }
  const QByteArray bytes = file.readAll();
  const QString text = QString::fromUtf8(bytes);
  if (text.toUtf8() != bytes) throw UsageError("файл " + path + " не в кодировке UTF-8");
  return text;
}

MailSecurity ParseSecurity(const std::string& text) {
  if (text == "none") return MailSecurity::None;
  if (text == "starttls") return MailSecurity::StartTls;
  if (text == "tls") return MailSecurity::Tls;
  throw UsageError("неверное значение --security: " + text);
}

// A preview needs no server and no sender.
MailJob JobFrom(const ParsedArgs& args, bool preview) {
  const auto needed = [&](const std::string& name) {
    return preview ? args.Single(name).value_or("") : Required(args, name);
  };
  MailJob job;
  job.server = Text(needed("--server"));
  job.port = static_cast<quint16>(NonNegative(args, "--port", job.port, 65535));
  job.timeOutSeconds = NonNegative(args, "--timeout", job.timeOutSeconds, kMaxTimeOutSeconds);
  job.pauseSeconds = NonNegative(args, "--pause", 0, kMaxPauseSeconds);
  job.from = Text(needed("--from"));
  job.subject = Text(Required(args, "--subject"));
  job.html = args.Flag("--html");
  const std::string charset = args.Single("--charset").value_or("windows-1251");
  if (CharsetLabel(Text(charset)).isEmpty()) {
    throw UsageError("неверное значение --charset: " + charset);
  }
  job.charset = Text(charset);
  for (const std::string& a : args.All("--attach")) job.attachments.append(Text(a));
  if (const auto test = args.Single("--test-address")) {
    job.testMode = true;
    job.testAddress = Text(*test);
  }
  job.security = ParseSecurity(args.Single("--security").value_or("none"));
  job.caFile = Text(args.Single("--ca-file").value_or(""));
  if (const auto user = args.Single("--user")) {
    job.user = Text(*user);
    if (job.security == MailSecurity::None) {
      throw UsageError(
          "--user требует --security starttls или tls: пароль не идёт открытым текстом");
    }
    const char* password = std::getenv("ZOREL_SMTP_PASSWORD");
    if (!password || !*password) throw UsageError("пустой пароль: задайте ZOREL_SMTP_PASSWORD");
    job.password = Text(password);
  }
  return job;
}

}  // namespace

void RunMail(const Invocation& inv) {
  ParsedArgs args(
      inv, {{"--server", "--port", "--timeout", "--from", "--subject", "--body", "--body-file",
             "--charset", "--attach", "--test-address", "--in", "--record", "--security",
             "--ca-file", "--user", "--pause", "--failed-list", "--preview"},
            {"--html", "--all"}});
  args.ExpectOperands(0);
  const auto preview = args.Single("--preview");
  MailJob job = JobFrom(args, preview.has_value());
  const auto body = args.Single("--body");
  const auto bodyFile = args.Single("--body-file");
  if (body.has_value() == bodyFile.has_value()) {
    throw args.Misuse("нужен ровно один из --body и --body-file\n");
  }
  const auto in = args.Single("--in");
  const auto record = args.Single("--record");
  if (!preview && (in ? 1 : 0) + (record ? 1 : 0) + (args.Flag("--all") ? 1 : 0) != 1) {
    throw args.Misuse("нужен ровно один из --in, --record и --all\n");
  }
  const std::int64_t recordNumber = record ? ParseRecordNumber(*record) : 0;
  job.bodyLines = BodyLines(body ? Text(*body) : ReadBodyFile(*bodyFile));
  const JobProblem problem = CheckJob(job);
  if (problem.kind == JobProblem::BadArgument) throw UsageError(problem.text.toStdString());
  if (problem.kind == JobProblem::UnreadableFile)
    throw std::runtime_error(problem.text.toStdString());
  if (!job.caFile.isEmpty() && !QFile(job.caFile).open(QIODevice::ReadOnly)) {
    throw std::runtime_error("Не могу прочитать файл " + job.caFile.toStdString());
  }

  Tdm dm(inv.dbDir);
  if (preview) {
    const std::int32_t shown = ExistingRecord(dm, ParseRecordNumber(*preview));
    Emit(MailPreview(dm, MailTexts(job.subject, job.bodyLines), shown).toUtf8().toStdString());
    return;
  }
  RecordList recipients;
  if (in) {
    recipients = LoadList(dm, *in);
  } else if (record) {
    recipients = {ExistingRecord(dm, recordNumber)};
  } else {
    recipients = WholeBaseList(dm.RecordCount());
  }

  int argc = 1;
  char name[] = "zorel-cli";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  StdoutReporter reporter;
  MailRun run(dm, reporter);
  const RunResult result = run.Run(job, recipients);
  if (const auto failed = args.Single("--failed-list")) {
    SaveListFile(*failed, ListFileHeader{}, result.unsent);
  }
  if (!result.completed) {
    FinishOutput();
    throw std::runtime_error(result.connectError.isEmpty()
                                 ? "Рассылка не завершена: сервер не принял QUIT"
                                 : "Нет соединения с сервером: " +
                                       result.connectError.toStdString());
  }
}

}  // namespace zorel::cli
