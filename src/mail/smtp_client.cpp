#include "mail/smtp_client.h"

#include <QHostInfo>
#include <QSslCertificate>

#include "mail/mail_errors.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

constexpr qsizetype kMaxReplyLines = 1000;

// The number formed by the leading digits (at most ten looked at), 0 when there are none;
// held in 16 bits as the reply code, a larger number counting as the largest.
int ReplyCode(const QByteArray& line) {
  qint64 n = 0;
  for (qsizetype i = 0; i < line.size() && i < 10 && line[i] >= '0' && line[i] <= '9'; ++i) {
    n = n * 10 + (line[i] - '0');
  }
  return static_cast<int>(std::min<qint64>(n, 65535));
}

// Reply lines may carry Windows-1251 text.
QString ReplyText(const QByteArray& line) {
  return FromCp({line.constData(), static_cast<size_t>(line.size())});
}

bool IsContinuation(const QByteArray& line) {
  return line.startsWith(' ') || (line.size() > 3 && line[3] == '-');
}

class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy), owner_(!busy) { busy_ = true; }
  ~BusyScope() {
    if (owner_) busy_ = false;
  }

 private:
  bool& busy_;
  bool owner_;
};

}  // namespace

TSmtpClient::TSmtpClient(QObject* parent) : TSyncSocket(parent) {}

int TSmtpClient::Transaction(const QByteArray& command) {
  replyNumber_ = 0;
  if (!command.isNull()) {
    Status(8, QStringLiteral("Transaction"));
    Writeln(command);
  }
  replyLines_.clear();
  // The time-out bounds the whole reply: a server trickling continuation lines cannot hold the
  // client for a thousand time-outs.
  const QDeadlineTimer deadline = Limit();
  do {
    // A server that never ends its reply must not fill the memory.
    if (replyLines_.size() == kMaxReplyLines) {
      CloseSocket();
      throw EMailError(QStringLiteral("Reply too long"));
    }
    lastReply_ = ReadLn(deadline);
    replyLines_.append(lastReply_);
    Status(1, ReplyText(lastReply_));
  } while (IsContinuation(lastReply_));
  replyNumber_ = ReplyCode(lastReply_);
  return replyNumber_;
}

void TSmtpClient::Hello() {
  if (Transaction("HELO " + UserID) <= 299) return;
  if (OnAuthenticationFailed && OnAuthenticationFailed() && Transaction("HELO " + UserID) <= 299) {
    return;
  }
  throw EMailError(QStringLiteral("Authentication failed"));
}

void TSmtpClient::ExtendedHello() {
  QByteArray name = QHostInfo::localHostName().toLatin1();
  if (name.isEmpty()) name = "localhost";
  bool ok = Transaction("EHLO " + name) <= 299;
  if (!ok && OnAuthenticationFailed && OnAuthenticationFailed()) {
    ok = Transaction("EHLO " + name) <= 299;
  }
  if (!ok) throw EMailError(QStringLiteral("Authentication failed"));
  extensions_.clear();
  for (qsizetype i = 1; i < replyLines_.size(); ++i) {
    extensions_.append(replyLines_[i].mid(4).toUpper());
  }
}

bool TSmtpClient::Offers(const QByteArray& keyword) const {
  for (const QByteArray& e : extensions_) {
    const QList<QByteArray> words = e.simplified().replace('=', ' ').split(' ');
    if (words.value(0) == keyword) return true;
    if (words.value(0) == "AUTH" && words.contains(keyword)) return true;
  }
  return false;
}

QSslConfiguration TSmtpClient::TlsConfiguration() const {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
  if (!CaFile.isEmpty()) {
    const QList<QSslCertificate> extra = QSslCertificate::fromPath(CaFile);
    if (extra.isEmpty()) throw EMailError(QStringLiteral("No certificate in ") + CaFile);
    tls.setCaCertificates(tls.caCertificates() + extra);
  }
  return tls;
}

void TSmtpClient::Login() {
  bool ok = false;
  if (Offers("PLAIN")) {
    const QByteArray token = QByteArray(1, '\0') + LoginUser + QByteArray(1, '\0') + LoginPassword;
    ok = Transaction("AUTH PLAIN " + token.toBase64()) == 235;
  } else if (Offers("LOGIN")) {
    ok = Transaction("AUTH LOGIN") == 334 && Transaction(LoginUser.toBase64()) == 334 &&
         Transaction(LoginPassword.toBase64()) == 235;
  } else {
    throw EMailError(QStringLiteral("Server offers no login method"));
  }
  if (!ok) {
    if (OnAuthenticationFailed) OnAuthenticationFailed();
    throw EMailError(QStringLiteral("Authentication failed"));
  }
}

void TSmtpClient::Connect() {
  BusyScope busy(busy_);
  if (!LoginUser.isEmpty() && Security == MailSecurity::None) {
    throw EMailError(QStringLiteral("Login needs an encrypted session"));
  }
  const QSslConfiguration tls =
      Security == MailSecurity::None ? QSslConfiguration() : TlsConfiguration();
  TcpConnect(Security == MailSecurity::Tls, tls);
  try {
    if (Transaction(QByteArray()) > 399) throw EMailError(ReplyText(lastReply_));
    if (Security == MailSecurity::None) {
      Hello();
    } else {
      ExtendedHello();
      if (Security == MailSecurity::StartTls) {
        if (!Offers("STARTTLS")) throw EMailError(QStringLiteral("Server does not offer STARTTLS"));
        if (Transaction("STARTTLS") > 299) throw EMailError(ReplyText(lastReply_));
        StartEncryption(tls);
        ExtendedHello();
      }
      if (!LoginUser.isEmpty()) Login();
    }
  } catch (const EMailError&) {
    try {
      Disconnect();
    } catch (const EMailError&) {
      CloseSocket();
    }
    throw;
  }
}

void TSmtpClient::SendMail() {
  if (busy_) return;
  BusyScope busy(busy_);
  const BuiltMessage built = BuildMessage(PostMessage, SubType, Charset, NewBoundary());
  FinalHeader = built.header;
  Status(8, QStringLiteral("Checking Connection"));
  if (!Connected()) throw EMailError(QStringLiteral("Not Connected"));
  if (PostMessage.FromAddress.isEmpty() || PostMessage.ToAddress.isEmpty()) {
    throw EMailError(QStringLiteral("Incomplete Header"));
  }
  const CheckedAddress sender = CheckAddress(PostMessage.FromAddress);
  if (sender.kind != CheckedAddress::Usable) throw EMailError(QStringLiteral("Invalid sender"));
  const auto refused = [this] { return EMailError(ReplyText(lastReply_)); };
  if (Transaction("RSET") > 399) throw refused();
  if (Transaction("MAIL FROM:<" + sender.address + ">") > 399) throw refused();
  for (const QByteArray& address : PostMessage.ToAddress) {
    const CheckedAddress to = CheckAddress(address);
    if (to.kind == CheckedAddress::Empty) continue;
    if ((to.kind == CheckedAddress::Invalid || Transaction("RCPT TO:<" + to.address + ">") > 300) &&
        OnRecipientNotFound) {
      OnRecipientNotFound(address);
    }
  }
  if (Transaction("DATA") >= 400) throw refused();
  QByteArray head;
  for (const QByteArray& line : FinalHeader) head += line + "\r\n";
  head += "\r\n\r\n";
  SendBuffer(head);
  SendStream(built.body);
  if (Transaction(".") > 399) {
    if (OnFailure) OnFailure();
    throw refused();
  }
  if (ClearParams) {
    PostMessage.ToAddress.clear();
    PostMessage.ToCarbonCopy.clear();
    PostMessage.ToBlindCarbonCopy.clear();
    PostMessage.Attachments.clear();
  }
  busy_ = false;
  if (OnSuccess) OnSuccess();
}

void TSmtpClient::Disconnect() {
  ClearCancel();
  Status(8, QStringLiteral("Disconnecting"));
  if (!Connected()) {
    CloseSocket();
    return;
  }
  if (Transaction("QUIT") >= 340) throw EMailError(ReplyText(lastReply_));
  CloseSocket();
}

}  // namespace zorel
