#include "textconv/text_convert.h"

#include "data/text1251.h"

namespace zorel {

QString FromCp(std::string_view cp1251) { return QString::fromStdString(ToUtf8(cp1251)); }

std::string ToCp(const QString& text) { return FromUtf8Marking(text.toStdString(), '?'); }

std::optional<std::string> To1251(const QString& text) { return FromUtf8(text.toStdString()); }

std::string MemoToCp(const QString& memoText) {
  QString text = memoText;
  text.replace(QChar('\n'), QStringLiteral("\r\n"));
  return ToCp(text);
}

QString CpToMemo(std::string_view cp1251) {
  QString text = FromCp(cp1251);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace zorel
