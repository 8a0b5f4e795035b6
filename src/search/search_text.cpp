// Conversions between the dialogs' texts and the base's code page.
#include "search/search_text.h"

#include "data/text1251.h"

namespace zorel {

QString From1251(std::string_view cp1251) { return QString::fromStdString(ToUtf8(cp1251)); }

std::optional<std::string> To1251(const QString& text) { return FromUtf8(text.toStdString()); }

QString Not1251Message(const QString& value) {
  return QStringLiteral(
             "В значении «%1» есть знаки, которых нет в кодировке базы данных "
             "(Windows-1251); такое значение искать нельзя.")
      .arg(value);
}

}  // namespace zorel
