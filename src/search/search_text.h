// The message shown when a value the user typed cannot be searched for: it holds a character
// without a Windows-1251 form, and a search never quietly looks for something else.
#pragma once

#include <QString>

namespace zorel {

QString Not1251Message(const QString& value);

}  // namespace zorel
