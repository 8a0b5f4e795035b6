// The character sets a message can be written in, and the texts of a message in their bytes:
// the text itself, header values as RFC 2047 encoded words and file names as RFC 2231
// parameters. Plain ASCII stays as it is, so a message without other characters keeps its bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace zorel {

// The registered names, in the order of the dialog's list (the settings keep the position).
inline constexpr const char* kCharSets[] = {"windows-1251", "koi8-r", "us-ascii", "utf-8"};

// The registered name for a name of the list or the old "koir-8" (case ignored); empty for any
// other.
QByteArray CharsetLabel(const QString& name);

// The text in the character set's bytes; nothing when a character has no form in it.
std::optional<QByteArray> EncodeText(const QString& text, const QByteArray& charset);

// A header value: ASCII as it is; otherwise encoded words ("=?charset?B?...?=", each at most 75
// characters, folded onto continuation lines) in the character set, or in UTF-8 when the set
// cannot hold the text.
QByteArray HeaderValue(const QString& value, const QByteArray& charset);

// The name parameter of an attachment's Content-Type and the filename parameter of its
// Content-Disposition, each with its name and "=": a printable ASCII name quoted (with "\" and
// '"' escaped), any other as an encoded word for name= and as RFC 2231 for filename*=.
QByteArray NameParameter(const QString& name, const QByteArray& charset);
QByteArray FileNameParameter(const QString& name, const QByteArray& charset);

}  // namespace zorel
