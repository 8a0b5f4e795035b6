// What the program's command line asks for: the database folder ("--db DIR" or "--db=DIR",
// "../db/" by default) and the help file. The log switch "/debug" (first argument only) is
// read by StartLogging; it is accepted here and otherwise ignored.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zorel {

struct StartOptions {
  QString dbDir = QStringLiteral("../db/");
};

// Arguments without the program name. Empty with an error text for an option it does not
// know or a "--db" without a folder.
std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString* error);

// "zorel2003.hlp" when a file of that name exists in the current directory, else "zorel99.hlp"
// (whether or not that one exists).
QString ChooseHelpFile();

}  // namespace zorel
