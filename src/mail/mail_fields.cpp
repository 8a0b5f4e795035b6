#include "mail/mail_fields.h"

#include "data/data_module.h"
#include "data/field_table.h"
#include "data/record_details.h"
#include "mail/mail_message.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

QString Caption(int field) {
  const std::string_view caption = PrintFieldCaption(field);
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

QStringList SplitLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  return text.split(u'\n');
}

}  // namespace

QStringList MailFieldMarks() {
  QStringList marks;
  for (int field = 0; field < kPrintFieldCount; ++field) marks << u'{' + Caption(field) + u'}';
  return marks;
}

MailTexts::MailTexts(const QString& subject, const QStringList& bodyLines)
    : subject_(Parse(subject)),
      body_(Parse(bodyLines.join(u'\n'))),
      hasBody_(!bodyLines.isEmpty()) {
  for (const Pieces* pieces : {&subject_, &body_}) {
    for (const Piece& p : *pieces) hasFields_ = hasFields_ || p.field >= 0;
  }
}

MailTexts::Pieces MailTexts::Parse(const QString& text) {
  static const QStringList captions = [] {
    QStringList list;
    for (int field = 0; field < kPrintFieldCount; ++field) list << Caption(field);
    return list;
  }();
  Pieces pieces(1);
  qsizetype from = 0;
  for (qsizetype open = text.indexOf(u'{'); open >= 0; open = text.indexOf(u'{', open + 1)) {
    const qsizetype close = text.indexOf(u'}', open + 1);
    if (close < 0) break;
    const int field = static_cast<int>(captions.indexOf(text.mid(open + 1, close - open - 1)));
    if (field < 0) continue;
    pieces.back().literal += text.mid(from, open - from);
    pieces.push_back({{}, field});
    pieces.push_back({});
    from = close + 1;
    open = close;
  }
  pieces.back().literal += text.mid(from);
  return pieces;
}

QString MailTexts::Expand(const Pieces& pieces, const Tdm* dm, std::int32_t record) const {
  QString text;
  for (const Piece& p : pieces) {
    text += p.literal;
    if (p.field >= 0 && dm != nullptr) text += FromCp(PrintFieldText(*dm, record, p.field));
  }
  return text;
}

MailText MailTexts::For(const Tdm& dm, std::int32_t record) const {
  MailText out;
  out.subject = SplitLines(Expand(subject_, &dm, record)).join(u' ');
  if (hasBody_) out.bodyLines = SplitLines(Expand(body_, &dm, record));
  return out;
}

MailText MailTexts::Common() const {
  MailText out;
  out.subject = Expand(subject_, nullptr, 0);
  if (hasBody_) out.bodyLines = SplitLines(Expand(body_, nullptr, 0));
  return out;
}

QString MailPreview(const Tdm& dm, const MailTexts& texts, std::int32_t record) {
  const MailText text = texts.For(dm, record);
  const QByteArray address = NormalizeAddress(QByteArray::fromStdString(dm.GetEMail(record)));
  QString out = QStringLiteral("Кому: ") + FromCp(address.toStdString()) +
                QStringLiteral("\nТема: ") + text.subject + QStringLiteral("\n\n");
  for (const QString& line : text.bodyLines) out += line + u'\n';
  return out;
}

}  // namespace zorel
