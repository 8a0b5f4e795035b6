#include "shell/start_options.h"

#include <QFileInfo>

namespace zorel {

std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString* error) {
  StartOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (i == 0 && arg == QStringLiteral("/debug")) continue;
    if (arg == QStringLiteral("--db")) {
      if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
        if (error) *error = QStringLiteral("После --db нужно указать папку базы данных");
        return std::nullopt;
      }
      options.dbDir = arguments[++i];
    } else if (arg.startsWith(QStringLiteral("--db="))) {
      options.dbDir = arg.mid(5);
      if (options.dbDir.isEmpty()) {
        if (error) *error = QStringLiteral("После --db нужно указать папку базы данных");
        return std::nullopt;
      }
    } else {
      if (error) *error = QStringLiteral("Неизвестный параметр: ") + arg;
      return std::nullopt;
    }
  }
  return options;
}

QString ChooseHelpFile() {
  const QString current = QStringLiteral("zorel2003.hlp");
  return QFileInfo::exists(current) ? current : QStringLiteral("zorel99.hlp");
}

}  // namespace zorel
