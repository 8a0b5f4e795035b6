#include "mail/mail_run.h"

#include <QFile>
#include <QFileInfo>

#include "data/data_module.h"
#include "mail/mail_errors.h"
#include "ui/text_convert.h"

namespace zorel {
namespace {

const QString kMailer = QStringLiteral(
    "Служба рассылки программы \"Зорель\". Издательство «Северный Вектор», тел. (0152) 70-11-42");

QByteArray Bytes(const std::string& cp) { return QByteArray::fromStdString(cp); }
QByteArray Cp(const QString& text) { return Bytes(ToCp(text)); }
bool HasLineBreak(const QString& text) { return text.contains(u'\r') || text.contains(u'\n'); }

}  // namespace

JobProblem CheckJob(const MailJob& job) {
  const auto bad = [](const QString& text) { return JobProblem{JobProblem::BadArgument, text}; };
  const auto strict = [](const QString& text) { return To1251(text).has_value(); };
  const struct {
    const QString& text;
    const char* what;
    bool singleLine;
  } fields[] = {{job.from, "Адрес отправителя", true},
                {job.subject, "Тема письма", true},
                {job.testAddress, "Адрес для проверки", true}};
  for (const auto& f : fields) {
    if (!strict(f.text)) {
      return bad(QString::fromUtf8(f.what) +
                 QStringLiteral(" содержит знак, которого нет в кодировке windows-1251"));
    }
    if (f.singleLine && HasLineBreak(f.text)) {
      return bad(QString::fromUtf8(f.what) + QStringLiteral(" содержит перевод строки"));
    }
  }
  for (const QString& line : job.bodyLines) {
    if (!strict(line)) {
      return bad(
          QStringLiteral("Текст письма содержит знак, которого нет в кодировке windows-1251"));
    }
  }
  for (const QString& path : job.attachments) {
    const QString name = QFileInfo(path).fileName();
    if (!strict(name) || HasLineBreak(name) || name.contains(u'"')) {
      return bad(QStringLiteral("Недопустимое имя файла: ") + name);
    }
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
    Report(QStringLiteral("Невозможно соединиться с сервером по указанному адресу : ") + server_,
           true, true);
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

void MailRun::Configure(const MailJob& job) {
  server_ = job.server;
  client_.Host = job.server;
  client_.Port = job.port;
  const qsizetype at = job.from.indexOf(u'@');
  client_.UserID = at < 0 ? QByteArray() : Cp(job.from.left(at));
  client_.ReportLevel = 1;
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

RunResult MailRun::Run(const MailJob& job, const RecordList& recipients) {
  RunResult result;
  sending_ = true;
  loginRefused_ = false;
  Report(QStringLiteral("Установление соединения с сервером: ") + job.server, false, true);
  try {
    Configure(job);
    client_.Connect();
    result.established = client_.Connected();
    if (result.established) {
      TMailMessage& m = client_.PostMessage;
      m.Body.clear();
      for (const QString& line : job.bodyLines) m.Body.append(Cp(line));
      const QByteArray testAddress = NormalizeAddress(Cp(job.testAddress));
      for (std::size_t i = 0; i < recipients.size(); ++i) {
        const std::int32_t record = recipients[i];
        const QString name = FromCp(dm_.GetFirmName(record));
        const QByteArray address =
            job.testMode ? testAddress : NormalizeAddress(Bytes(dm_.GetEMail(record)));
        if (address.isEmpty()) {
          Report(name + QStringLiteral(": нет адреса - пропускается"), false, true);
          continue;
        }
        if (address.contains('\r') || address.contains('\n')) {
          Report(name + QStringLiteral(": недопустимый адрес - пропускается"), false, true);
          result.unsent.push_back(record);
          continue;
        }
        Report(name + u':' + FromCp(address.toStdString()), false, true);
        client_.Charset = job.charset.toLatin1();
        m.FromAddress = Cp(job.from);
        m.LocalProgram = Cp(kMailer);
        m.Subject = Cp(job.subject);
        m.ToAddress = {address};
        m.Attachments = job.attachments;
        client_.SubType = job.html ? MailSubType::mtHtml : MailSubType::mtPlain;
        if (!sending_) {
          for (std::size_t j = i; j < recipients.size(); ++j) {
            if (job.testMode || !NormalizeAddress(Bytes(dm_.GetEMail(recipients[j]))).isEmpty()) {
              result.unsent.push_back(recipients[j]);
            }
          }
          break;
        }
        try {
          client_.SendMail();
          Report(QStringLiteral("OK"), false, true);
        } catch (const EMailError& e) {
          Report(e.Text(), false, true);
          result.unsent.push_back(record);
        }
        if (job.pauseSeconds > 0 && i + 1 < recipients.size() && sending_) {
          client_.Pause(job.pauseSeconds * 1000);
        }
      }
      client_.Disconnect();
    }
    reporter_.Finished();
    result.completed = true;
  } catch (const EMailError& e) {
    if (result.established) {
      Report(e.Text(), false, true);
    } else {
      result.connectError = e.Text();
      if (const auto* sock = dynamic_cast<const ESockError*>(&e); sock && sock->Number() != 0) {
        result.connectError += QStringLiteral(" (") + SocketErrorText(sock->Number()) + u')';
      }
    }
    if (client_.Connected()) {
      try {
        client_.Disconnect();
      } catch (const EMailError& again) {
        Report(again.Text(), false, true);
      }
    }
  }
  Report(QString(), false, true);
  sending_ = false;
  result.loginRefused = loginRefused_;
  return result;
}

}  // namespace zorel
