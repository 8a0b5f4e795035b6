// Conversion between the core's Windows-1251 texts and Qt's strings: the one place where text
// crosses from the Qt-free core into any Qt layer (QtCore only, so the mail and report layers
// use it as well as the widgets).
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace zorel {

QString FromCp(std::string_view cp1251);
// For display and stored texts the user typed freely: a character without a Windows-1251
// form becomes '?'.
std::string ToCp(const QString& text);
// For values that must not be approximated (search values, mail headers): empty when the text
// has a character that Windows-1251 cannot hold.
std::optional<std::string> To1251(const QString& text);

// A memo's text (lines ended by LF) as stored text with CR LF line ends, and back.
std::string MemoToCp(const QString& memoText);
QString CpToMemo(std::string_view cp1251);

}  // namespace zorel
