#include "mail/mail_run.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <utility>

#include "data/data_module.h"
#include "mail/mail_charset.h"
#include "mail/mail_errors.h"
#include "mail/mail_fields.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

const QString kMailer = QStringLiteral(
    "Служба рассылки программы \"Зорель\". Издательство «Северный Вектор», тел. (0152) 70-11-42");

QByteArray Bytes(const std::string& cp) { return QByteArray::fromStdString(cp); }
QByteArray Cp(const QString& text) { return Bytes(ToCp(text)); }
bool HasLineBreak(const QString& text) { return text.contains(u'\r') || text.contains(u'\n'); }

// A message's subject and text lines in its character set, or why they cannot be.
struct EncodedText {
  QString subject;
  QList<QByteArray> body;
  QString problem;
};

EncodedText Encode(const MailText& text, const QByteArray& charset) {
  const QString missing =
      QStringLiteral(" содержит знак, которого нет в кодировке ") + QString::fromLatin1(charset);
  EncodedText out{text.subject, {}, {}};
  if (!EncodeText(text.subject, charset)) {
    out.problem = QStringLiteral("Тема письма") + missing;
    return out;
  }
  for (const QString& line : text.bodyLines) {
    auto bytes = EncodeText(line, charset);
    if (!bytes) {
      out.problem = QStringLiteral("Текст письма") + missing;
      return out;
    }
    out.body.append(std::move(*bytes));
  }
  return out;
}

}  // namespace

JobProblem CheckJob(const MailJob& job) {
  const auto bad = [](const QString& text) { return JobProblem{JobProblem::BadArgument, text}; };
  const QByteArray charset = CharsetLabel(job.charset);
  if (charset.isEmpty()) return bad(QStringLiteral("Неизвестная кодировка: ") + job.charset);
  const struct {
    const QString& text;
    const char* what;
    bool address;  // sent as Windows-1251 bytes, whatever the character set
  } fields[] = {{job.from, "Адрес отправителя", true},
                {job.subject, "Тема письма", false},
                {job.testAddress, "Адрес для проверки", true}};
  for (const auto& f : fields) {
    if (f.address && !To1251(f.text)) {
      return bad(QString::fromUtf8(f.what) +
                 QStringLiteral(" содержит знак, которого нет в кодировке windows-1251"));
    }
    if (HasLineBreak(f.text)) {
      return bad(QString::fromUtf8(f.what) + QStringLiteral(" содержит перевод строки"));
    }
  }
  if (CheckAddress(Cp(job.from)).kind == CheckedAddress::Invalid) {
    return bad(QStringLiteral("Недопустимый адрес отправителя: ") + job.from);
  }
  // The typed texts; the fields' texts are checked for each recipient.
  const EncodedText common = Encode(MailTexts(job.subject, job.bodyLines).Common(), charset);
  if (!common.problem.isEmpty()) return bad(common.problem);
  for (const QString& path : job.attachments) {
    const QString name = QFileInfo(path).fileName();
    if (HasLineBreak(name)) return bad(QStringLiteral("Недопустимое имя файла: ") + name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(path).isDir()) {
      return {JobProblem::UnreadableFile, QStringLiteral("Не могу прочитать файл ") + path};
    }
  }
  if (!job.user.isEmpty()) {
    if (job.security == MailSecurity::None) {
      return bad(QStringLiteral("Вход на сервер возможен только по зашифрованному соединению"));
    }
    if (job.password.isEmpty()) return bad(QStringLiteral("Не задан пароль для входа на сервер"));
  }
  return {};
}

MailRun::MailRun(const Tdm& dm, MailReporter& reporter) : dm_(dm), reporter_(reporter) {
  client_.OnStatus = [this](const QString& line) { Report(line, false, false); };
  client_.OnSuccess = [this] {
    Report(QStringLiteral("Операция закончилась успешно"), false, false);
  };
  client_.OnFailure = [this] { Report(QStringLiteral("Сбой отправки"), true, true); };
  client_.OnInvalidHost = [this] {
    ReportInvalidHost();
    return false;
  };
  client_.OnConnectionFailed = [this] {
    Report(QStringLiteral("Ошибка установки соединения : ") +
               QString::number(client_.LastSocketError()),
           false, true);
  };
  client_.OnRecipientNotFound = [this](const QByteArray& address) {
    Report(QStringLiteral("  Адресат ") + FromCp(address.toStdString()) +
               QStringLiteral(" не найден "),
           false, true);
  };
  client_.OnAuthenticationFailed = [this] {
    loginRefused_ = true;
    Report(QStringLiteral("Неудается идентифицировать почтовый ящик"), true, true);
    return false;
  };
}

void MailRun::ReportInvalidHost() {
  Report(QStringLiteral("Невозможно соединиться с сервером по указанному адресу : ") + server_,
         true, true);
}

void MailRun::Configure(const MailJob& job) {
  server_ = job.server;
  client_.Host = job.server;
  client_.Port = job.port;
  const qsizetype at = job.from.indexOf(u'@');
  client_.UserID = at < 0 ? QByteArray() : Cp(job.from.left(at));
  client_.ReportLevel = 1;
  client_.Charset = CharsetLabel(job.charset);
  static_assert(kMaxTimeOutSeconds <= std::numeric_limits<int>::max() / 1000);
  client_.TimeOut = job.timeOutSeconds * 1000;
  client_.Security = job.security;
  client_.CaFile = job.caFile;
  client_.LoginUser = job.user.toUtf8();
  client_.LoginPassword = job.password.toUtf8();
}

void MailRun::Cancel() {
  client_.Cancel();
  sending_ = false;
  Report(QStringLiteral("Операция прервана пользователем"), false, true);
}

bool MailRun::Connect(RunResult& result) {
  Report(QStringLiteral("Установление соединения с сервером: ") + server_, false, true);
  boxShown_ = false;
  try {
    client_.Connect();
    return true;
  } catch (const EMailError& e) {
    result.connectError = e.Text();
    const auto* sock = dynamic_cast<const ESockError*>(&e);
    if (sock && sock->Number() != 0) {
      result.connectError += QStringLiteral(" (") + SocketErrorText(sock->Number()) + u')';
    }
    if (!sending_) {
      Report(result.connectError, false, true);  // cancelled: the user knows why
    } else if (!boxShown_ && sock && sock->Number() == kSocketHostNotFound) {
      ReportInvalidHost();
    } else if (!boxShown_) {
      Report(QStringLiteral("Нет соединения с сервером: ") + result.connectError, true, true);
    }
    return false;
  }
}

CheckedAddress MailRun::AddressOf(const MailJob& job, std::int32_t record) const {
  return CheckAddress(job.testMode ? Cp(job.testAddress) : Bytes(dm_.GetEMail(record)));
}

RunResult MailRun::Run(const MailJob& job, const RecordList& recipients) {
  RunResult result;
  sending_ = true;
  loginRefused_ = false;
  Configure(job);
  std::vector<bool> sent(recipients.size(), false);
  if (Connect(result)) {
    result.established = true;
    try {
      TMailMessage& m = client_.PostMessage;
      const MailTexts texts(job.subject, job.bodyLines);
      // Without fields every message has the same text, encoded once.
      const EncodedText common = Encode(texts.Common(), client_.Charset);
      bool reachedEnd = true;
      for (std::size_t i = 0; i < recipients.size(); ++i) {
        const std::int32_t record = recipients[i];
        const QString name = FromCp(dm_.GetFirmName(record));
        const CheckedAddress to = AddressOf(job, record);
        if (to.kind == CheckedAddress::Empty) {
          Report(name + QStringLiteral(": нет адреса - пропускается"), false, true);
          continue;
        }
        if (to.kind == CheckedAddress::Invalid) {
          Report(name + QStringLiteral(": недопустимый адрес - пропускается"), false, true);
          continue;
        }
        Report(name + u':' + FromCp(to.address.toStdString()), false, true);
        const EncodedText own =
            texts.HasFields() ? Encode(texts.For(dm_, record), client_.Charset) : EncodedText{};
        const EncodedText& text = texts.HasFields() ? own : common;
        if (!text.problem.isEmpty()) {
          Report(text.problem, false, true);
          continue;
        }
        m.FromAddress = NormalizeAddress(Cp(job.from));
        m.LocalProgram = kMailer;
        m.Subject = text.subject;
        m.Body = text.body;
        m.ToAddress = {to.address};
        m.Attachments = job.attachments;
        client_.SubType = job.html ? MailSubType::mtHtml : MailSubType::mtPlain;
        if (!sending_) break;
        // A time-out or a lost connection inside the last message closed the connection.
        if (!client_.Connected() && !Connect(result)) {
          reachedEnd = false;
          break;
        }
        try {
          client_.SendMail();
          sent[i] = true;
          Report(QStringLiteral("OK"), false, true);
        } catch (const EMailError& e) {
          Report(e.Text(), false, true);
        }
        if (job.pauseSeconds > 0 && i + 1 < recipients.size() && sending_) {
          static_assert(kMaxPauseSeconds <= std::numeric_limits<int>::max() / 1000);
          client_.Pause(job.pauseSeconds * 1000);
        }
      }
      if (client_.Connected()) client_.Disconnect();
      if (reachedEnd) {
        reporter_.Finished();
        result.completed = true;
      }
    } catch (const EMailError& e) {
      Report(e.Text(), false, true);
      if (client_.Connected()) {
        try {
          client_.Disconnect();
        } catch (const EMailError& again) {
          Report(again.Text(), false, true);
        }
      }
    }
  }
  // Whatever stopped the run, every recipient with an address that was not sent can be retried.
  for (std::size_t i = 0; i < recipients.size(); ++i) {
    if (!sent[i] && AddressOf(job, recipients[i]).kind != CheckedAddress::Empty) {
      result.unsent.push_back(recipients[i]);
    }
  }
  Report(QString(), false, true);
  sending_ = false;
  result.loginRefused = loginRefused_;
  return result;
}

}  // namespace zorel
