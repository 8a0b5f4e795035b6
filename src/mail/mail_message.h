// The message a TSmtpClient sends and the MIME builder behind it. Every text is already in the
// bytes that go on the wire (Windows-1251, as typed): header values are written unchanged, with
// no encoding of non-ASCII text and no line folding.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorel {

enum class MailSubType { mtPlain, mtEnriched, mtSgml, mtTabSeparated, mtHtml };

struct TMailMessage {
  QByteArray FromAddress, FromName, Subject, LocalProgram, Date, ReplyTo;
  QList<QByteArray> ToAddress, ToCarbonCopy, ToBlindCarbonCopy;
  QList<QByteArray> Body;   // lines without their line ends
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
