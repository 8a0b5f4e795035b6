#include "textconv/text_convert.h"

#include "data/text1251.h"

namespace zorel {

QString FromCp(std::string_view cp1251) { return QString::fromStdString(ToUtf8(cp1251)); }

std::string ToCp(const QString& text) {
  const std::string utf8 = text.toStdString();
  if (auto whole = FromUtf8(utf8)) return *whole;
  // Some character has no code page form: convert one character at a time.
  std::string out;
  out.reserve(utf8.size());
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype units =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const auto one = FromUtf8(text.mid(i, units).toStdString());
    out += one ? *one : std::string("?");
    i += units;
  }
  return out;
}

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
