#include "shell/russian_locale.h"

#include <QLocale>
#include <QtGlobal>
#include <clocale>

namespace zorel {

void UseRussianLocale() {
  // LC_ALL would override every category: its character type is kept, the rest are replaced.
  const QByteArray all = qgetenv("LC_ALL");
  if (!all.isEmpty()) {
    if (qEnvironmentVariableIsEmpty("LC_CTYPE")) qputenv("LC_CTYPE", all);
    qunsetenv("LC_ALL");
  }
  for (const char* category : {"LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LC_MESSAGES",
                               "LC_MEASUREMENT", "LC_PAPER", "LC_COLLATE"}) {
    qputenv(category, "ru_RU.UTF-8");
  }
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void KeepCNumbers() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace zorel
