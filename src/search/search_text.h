// The boundary between the dialogs' Unicode texts and the base's Windows-1251 texts. A text
// that holds a character without a Windows-1251 form is refused, never approximated, so a
// search never quietly looks for something the user did not type.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace zorel {

QString From1251(std::string_view cp1251);
// Empty when the text has a character that Windows-1251 cannot hold.
std::optional<std::string> To1251(const QString& text);
// The message shown when To1251 refuses a value the user typed.
QString Not1251Message(const QString& value);

}  // namespace zorel
