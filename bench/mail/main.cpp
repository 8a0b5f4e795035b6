// zorel-bench-mail: the mail client's speed. Sends COUNT messages with a SIZE MB attachment each
// over one connection to a local SMTP server (tests/mail/mail_sink.py, discarding what it gets)
// and then lets Python's smtplib send the same to the same server, in the same run; also times
// the Base64 encoder alone, and the mail run over 200 records of a synthetic base with a 100 KB
// attachment, with fields of the records in the subject and text against the same text without.
//
//   zorel-bench-mail [--messages N] [--size-mb M]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

#include "common/synthetic_base.h"
#include "data/data_module.h"
#include "mail/mail_errors.h"
#include "mail/mail_message.h"
#include "mail/mail_run.h"
#include "mail/smtp_client.h"

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr double kBase64Target = 500.0;  // MB/s

double Base64MegabytesPerSecond() {
  QByteArray input(64 << 20, Qt::Uninitialized);
  QRandomGenerator rng(7);
  rng.fillRange(reinterpret_cast<quint32*>(input.data()), input.size() / 4);
  std::vector<double> rates;
  // The output buffer is made once, so the runs time the encoding, not fresh pages.
  QByteArray out;
  out.reserve(input.size() / 45 * 62 + 64);
  for (int run = 0; run < 5; ++run) {
    out.resize(0);
    QElapsedTimer t;
    t.start();
    zorel::AppendBase64Lines(out, input.constData(), input.size());
    rates.push_back(input.size() / 1e6 / (t.nsecsElapsed() / 1e9));
  }
  std::sort(rates.begin(), rates.end());
  return rates[rates.size() / 2];
}

double SendWithClient(quint16 port, int count, const QString& file) {
  zorel::TSmtpClient client;
  client.Host = QStringLiteral("127.0.0.1");
  client.Port = port;
  client.UserID = "bench";
  QElapsedTimer t;
  t.start();
  client.Connect();
  for (int i = 0; i < count; ++i) {
    client.PostMessage.FromAddress = "bench@here.test";
    client.PostMessage.Subject = "bench";
    client.PostMessage.ToAddress = {"client@there.test"};
    client.PostMessage.Body = {"text"};
    client.PostMessage.Attachments = {file};
    client.Charset = "windows-1251";
    client.SendMail();
  }
  client.Disconnect();
  return t.nsecsElapsed() / 1e9;
}

class Silent : public zorel::MailReporter {
 public:
  void Report(const QString&, bool, bool) override {}
};

constexpr int kRunRecipients = 200;
constexpr double kFieldsTarget = 5.0;  // per cent slower at most

// Seconds for one mail run over the records; throws when it does not reach its end.
double TimeRun(const zorel::Tdm& dm, quint16 port, const QString& file, bool fields) {
  zorel::MailJob job;
  job.server = QStringLiteral("127.0.0.1");
  job.port = port;
  job.from = QStringLiteral("bench@here.test");
  job.testMode = true;  // every record's message to one address the server takes
  job.testAddress = QStringLiteral("client@there.test");
  job.attachments = {file};
  job.subject = fields ? QStringLiteral("Предложение для {Наименование предприятия}")
                       : QStringLiteral("Предложение для предприятия");
  job.bodyLines = {fields ? QStringLiteral("Уважаемый {Руководитель}!")
                          : QStringLiteral("Уважаемый руководитель!"),
                   fields ? QStringLiteral("Ваш адрес: {Адрес}, {Регион}.")
                          : QStringLiteral("Наше предложение для вашего предприятия."),
                   QStringLiteral("С уважением, отдел сбыта")};
  Silent silent;
  zorel::MailRun run(dm, silent);
  zorel::RecordList records;
  for (int i = 0; i < kRunRecipients && i < static_cast<int>(dm.RecordCount()); ++i) {
    records.push_back(i);
  }
  QElapsedTimer t;
  t.start();
  const zorel::RunResult result = run.Run(job, records);
  if (!result.completed || !result.unsent.empty()) throw std::runtime_error("the mail run failed");
  return t.nsecsElapsed() / 1e9;
}

// The median of five runs each, the two kinds taking turns.
std::pair<double, double> TimeFields(const QString& dataDir, quint16 port) {
  zorel::bench::EnsureSyntheticBase(dataDir.toStdString(), kRunRecipients, 5, "");
  const zorel::Tdm dm(zorel::bench::DbDirOf(dataDir.toStdString()));
  const QString file = dataDir + QStringLiteral("/offer.bin");
  {
    QByteArray bytes(100 << 10, Qt::Uninitialized);
    QRandomGenerator rng(13);
    rng.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
      throw std::runtime_error("cannot write the attachment");
    }
  }
  std::vector<double> plain, fields;
  for (int run = 0; run < 5; ++run) {
    plain.push_back(TimeRun(dm, port, file, false));
    fields.push_back(TimeRun(dm, port, file, true));
  }
  std::sort(plain.begin(), plain.end());
  std::sort(fields.begin(), fields.end());
  return {plain[2], fields[2]};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int count = 1000, sizeMb = 1;
  const QStringList args = app.arguments();
  for (int i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == u"--messages") count = args[i + 1].toInt();
    if (args[i] == u"--size-mb") sizeMb = args[i + 1].toInt();
  }
  if (count <= 0 || sizeMb <= 0) {
    std::fprintf(stderr, "zorel-bench-mail [--messages N] [--size-mb M]\n");
    return 2;
  }
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("data.bin"));
  {
    QByteArray bytes(sizeMb << 20, Qt::Uninitialized);
    QRandomGenerator rng(11);
    rng.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return 1;
  }
  QProcess sink;
  sink.start(QString::fromLatin1(kPython),
             {QStringLiteral(ZOREL_MAIL_SINK), QStringLiteral("serve"), dir.path(),
              QStringLiteral("--discard")});
  if (!sink.waitForReadyRead(30000)) {
    std::fprintf(stderr, "the local SMTP server did not start (is python3-aiosmtpd installed?)\n");
    return 1;
  }
  while (!sink.canReadLine() && sink.waitForReadyRead(30000)) {
  }
  const QByteArray line = sink.readLine().trimmed();
  const quint16 port = static_cast<quint16>(line.split(' ').value(1).toInt());

  const double base64 = Base64MegabytesPerSecond();
  double ours = 0;
  try {
    ours = SendWithClient(port, count, file);
  } catch (const zorel::EMailError& e) {
    std::fprintf(stderr, "sending failed: %s\n", e.what());
    return 1;
  }
  std::pair<double, double> run{};
  try {
    run = TimeFields(dir.filePath(QStringLiteral("base")), port);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "the mail run with fields failed: %s\n", e.what());
    return 1;
  }
  QProcess peer;
  peer.start(QString::fromLatin1(kPython), {QStringLiteral(ZOREL_SMTPLIB_PEER),
                                            QString::number(port), QString::number(count), file});
  peer.waitForFinished(-1);
  const double theirs = peer.readAllStandardOutput().trimmed().toDouble();
  sink.closeWriteChannel();
  sink.waitForFinished(10000);

  const double mb = double(count) * sizeMb;
  std::printf("%-40s %12s %12s\n", "", "messages/s", "MB/s");
  std::printf("%-40s %12.1f %12.1f\n", "zorel TSmtpClient", count / ours, mb / ours);
  if (theirs > 0) {
    std::printf("%-40s %12.1f %12.1f\n", "Python smtplib (peer)", count / theirs, mb / theirs);
  } else {
    std::printf("%-40s %12s\n", "Python smtplib (peer)", "failed");
  }
  std::printf("%-40s %25.1f MB/s (target >= %.0f: %s)\n", "Base64 encoder", base64, kBase64Target,
              base64 >= kBase64Target ? "met" : "NOT met");
  std::printf("%d messages with a %d MB attachment each over one connection\n", count, sizeMb);
  const double slower = (run.second / run.first - 1) * 100;
  std::printf("\nmail run, %d records, 100 KB attachment     %12s %12s\n", kRunRecipients, "s",
              "messages/s");
  std::printf("%-40s %12.3f %12.1f\n", "same text for everyone", run.first,
              kRunRecipients / run.first);
  std::printf("%-40s %12.3f %12.1f\n", "fields of each record", run.second,
              kRunRecipients / run.second);
  std::printf("fields cost %+.1f %% (target <= %.0f %%: %s)\n", slower, kFieldsTarget,
              slower <= kFieldsTarget ? "met" : "NOT met");
  return 0;
}
