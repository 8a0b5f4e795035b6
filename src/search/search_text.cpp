#include "search/search_text.h"

namespace zorel {

QString Not1251Message(const QString& value) {
  return QStringLiteral(
             "В значении «%1» есть знаки, которых нет в кодировке базы данных "
             "(Windows-1251); такое значение искать нельзя.")
      .arg(value);
}

}  // namespace zorel
