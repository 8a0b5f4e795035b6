// The message a TSmtpClient sends and the MIME builder behind it. The body lines are already in
// the bytes of the message's character set; header values and file names are written in it as
// mail_charset.h says (ASCII unchanged, anything else encoded).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorel {

enum class MailSubType { mtPlain, mtEnriched, mtSgml, mtTabSeparated, mtHtml };

struct TMailMessage {
  QByteArray FromAddress;
  QString FromName, Subject, LocalProgram, Date, ReplyTo;
  QList<QByteArray> ToAddress, ToCarbonCopy, ToBlindCarbonCopy;
  QList<QByteArray> Body;   // lines without their line ends, in the message's character set
  QStringList Attachments;  // full file names
};

// The header lines (without line ends) and the body stream of one message.
struct BuiltMessage {
  QList<QByteArray> header;
  QByteArray body;
};

// The address inside the first "<" ... ">", else the text after the first ":" up to the next
// ":", else the text itself; no blanks are trimmed.
QByteArray NormalizeAddress(const QByteArray& text);

// An address field made ready for the envelope: normalised, then checked, so that nothing in a
// field can add parameters or commands to MAIL FROM or RCPT TO.
struct CheckedAddress {
  enum Kind { Usable, Empty, Invalid } kind = Empty;
  QByteArray address;  // the normalised address
};
// Empty when normalisation leaves nothing; Invalid for a line break anywhere in the field, or a
// blank, "<", ">", a control character or no "@" in the normalised address.
CheckedAddress CheckAddress(const QByteArray& field);

// "====================54535" + six random letters from a to y + "====".
QByteArray NewBoundary();

// Appends bytes in Base64 (RFC 2045 alphabet, "=" padding): every 45 input bytes give one line
// of 60 characters and CR LF, the last shorter group a shorter line.
void AppendBase64Lines(QByteArray& out, const char* data, qsizetype size);

// Builds the message as sent after DATA. A file that cannot be read raises EMailError
// "Cannot open file " + name; boundary is used only when there are attachments.
BuiltMessage BuildMessage(const TMailMessage& message, MailSubType subType,
                          const QByteArray& charset, const QByteArray& boundary);

}  // namespace zorel
