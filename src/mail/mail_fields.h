// A message's subject and text with fields of the recipient's record: the captions of the print
// fields in braces, "{Руководитель}", "{Наименование предприятия}", replaced by that record's
// text of the field (the texts printing uses). A field empty for a record leaves nothing; a brace
// that does not open a known field stays as typed.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace zorel {

class Tdm;

// "{caption}" of each field, in field order.
QStringList MailFieldMarks();

struct MailText {
  QString subject;        // one line: a field's line breaks become blanks
  QStringList bodyLines;  // a field's line breaks start new lines
};

class MailTexts {
 public:
  MailTexts(const QString& subject, const QStringList& bodyLines);
  bool HasFields() const { return hasFields_; }
  // The subject and text for the record.
  MailText For(const Tdm& dm, std::int32_t record) const;
  // What every message has in common: the texts with their fields left out.
  MailText Common() const;

 private:
  struct Piece {
    QString literal;
    int field = -1;  // a print field, or -1 for the literal
  };
  using Pieces = std::vector<Piece>;
  static Pieces Parse(const QString& text);
  QString Expand(const Pieces& pieces, const Tdm* dm, std::int32_t record) const;

  Pieces subject_, body_;
  bool hasBody_;
  bool hasFields_ = false;
};

// The message for the record as its recipient reads it: "Кому: " and the address, "Тема: " and
// the subject, an empty line and the text, lines ended by LF.
QString MailPreview(const Tdm& dm, const MailTexts& texts, std::int32_t record);

}  // namespace zorel
