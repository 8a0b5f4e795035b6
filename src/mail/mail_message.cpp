#include "mail/mail_message.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cstring>

#include "mail/mail_charset.h"
#include "mail/mail_errors.h"

namespace zorel {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr qsizetype kLineInput = 45;

// Every 12-bit value as its two Base64 characters: two look-ups encode three bytes.
struct CharPairs {
  char pair[4096][2];
};
constexpr CharPairs MakeCharPairs() {
  CharPairs t{};
  for (int i = 0; i < 4096; ++i) {
    t.pair[i][0] = kAlphabet[i >> 6];
    t.pair[i][1] = kAlphabet[i & 63];
  }
  return t;
}
constexpr CharPairs kPairs = MakeCharPairs();

const char* ContentTypeOf(MailSubType subType) {
  switch (subType) {
    case MailSubType::mtEnriched:
      return "Content-Type: text/enriched; charset=";
    case MailSubType::mtSgml:
      return "Content-Type: text/sgml; charset=";
    case MailSubType::mtTabSeparated:
      return "Content-Type: text/tab-separated-values; charset=";
    case MailSubType::mtHtml:
      return "Content-Type: text/html; charset=";
    case MailSubType::mtPlain:
      break;
  }
  return "Content-Type: text/plain; charset=";
}

void AddValueLine(QList<QByteArray>& header, const char* name, const QString& value,
                  const QByteArray& charset) {
  if (!value.isEmpty()) header.append(QByteArray(name) + ": " + HeaderValue(value, charset));
}

// Each line and CR LF; a line starting with "." gets one more in front.
void AppendBodyLines(QByteArray& out, const QList<QByteArray>& lines) {
  for (const QByteArray& line : lines) {
    if (line.startsWith('.')) out += '.';
    out += line;
    out += "\r\n";
  }
}

}  // namespace

QByteArray NormalizeAddress(const QByteArray& text) {
  const qsizetype lt = text.indexOf('<');
  if (lt >= 0) {
    const qsizetype gt = text.indexOf('>', lt + 1);
    return text.mid(lt + 1, gt < 0 ? -1 : gt - lt - 1);
  }
  const qsizetype colon = text.indexOf(':');
  if (colon >= 0) {
    const qsizetype next = text.indexOf(':', colon + 1);
    return text.mid(colon + 1, next < 0 ? -1 : next - colon - 1);
  }
  return text;
}

CheckedAddress CheckAddress(const QByteArray& field) {
  CheckedAddress checked{CheckedAddress::Usable, NormalizeAddress(field)};
  if (checked.address.isEmpty()) checked.kind = CheckedAddress::Empty;
  const auto unfit = [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7f' || c == '<' || c == '>';
  };
  if (field.contains('\r') || field.contains('\n') ||
      (!checked.address.isEmpty() &&
       (!checked.address.contains('@') ||
        std::any_of(checked.address.begin(), checked.address.end(), unfit)))) {
    checked.kind = CheckedAddress::Invalid;
  }
  return checked;
}

QByteArray NewBoundary() {
  QByteArray boundary("====================54535");
  for (int i = 0; i < 6; ++i) {
    boundary += static_cast<char>('a' + QRandomGenerator::global()->bounded(25));
  }
  return boundary + "====";
}

void AppendBase64Lines(QByteArray& out, const char* data, qsizetype size) {
  const auto* in = reinterpret_cast<const unsigned char*>(data);
  const qsizetype lines = (size + kLineInput - 1) / kLineInput;
  const qsizetype start = out.size();
  out.resize(start + (size + 2) / 3 * 4 + lines * 2);
  char* o = out.data() + start;
  while (size > 0) {
    const qsizetype take = size < kLineInput ? size : kLineInput;
    const unsigned char* end = in + take / 3 * 3;
    for (; in < end; in += 3) {
      const unsigned v = (unsigned{in[0]} << 16) | (unsigned{in[1]} << 8) | in[2];
      std::memcpy(o, kPairs.pair[v >> 12], 2);
      std::memcpy(o + 2, kPairs.pair[v & 4095], 2);
      o += 4;
    }
    const qsizetype rest = take % 3;
    if (rest > 0) {
      const unsigned v = (unsigned{in[0]} << 16) | (rest == 2 ? unsigned{in[1]} << 8 : 0u);
      o[0] = kAlphabet[v >> 18];
      o[1] = kAlphabet[(v >> 12) & 63];
      o[2] = rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
      o[3] = '=';
      o += 4;
      in += rest;
    }
    *o++ = '\r';
    *o++ = '\n';
    size -= take;
  }
}

BuiltMessage BuildMessage(const TMailMessage& m, MailSubType subType, const QByteArray& charset,
                          const QByteArray& boundary) {
  BuiltMessage built;
  QList<QByteArray>& h = built.header;
  h.append("From: " + HeaderValue(m.FromName, charset) + "<" + m.FromAddress + ">");
  if (!m.ToAddress.isEmpty()) h.append("To: " + m.ToAddress.join(','));
  AddValueLine(h, "Subject", m.Subject, charset);
  AddValueLine(h, "X-Mailer", m.LocalProgram, charset);
  AddValueLine(h, "Reply-To", m.ReplyTo, charset);
  AddValueLine(h, "Date", m.Date, charset);
  h.append("Mime-Version: 1.0");
  QByteArray& body = built.body;
  if (m.Attachments.isEmpty()) {
    h.append(ContentTypeOf(subType) + charset);
    AppendBodyLines(body, m.Body);
    return built;
  }
  h.append("Content-Type: multipart/mixed; boundary=\"" + boundary + "\"");
  body += "--" + boundary + "\r\nContent-Type: text/plain; charset=" + charset + "\r\n\r\n";
  AppendBodyLines(body, m.Body);
  for (const QString& path : m.Attachments) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      throw EMailError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
      throw EMailError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    }
    const QString name = QFileInfo(path).fileName();
    body += "--" + boundary + "\r\n";
    body += "Content-Type: application/octet-stream; " + NameParameter(name, charset) + "\r\n";
    body += "Content-Transfer-Encoding: base64\r\n";
    body += "Content-Disposition: attachment; " + FileNameParameter(name, charset) + "\r\n\r\n";
    AppendBase64Lines(body, bytes.constData(), bytes.size());
  }
  body += "--" + boundary + "--\r\n";
  return built;
}

}  // namespace zorel
