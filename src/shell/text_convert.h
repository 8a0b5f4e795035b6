// Conversion between the core's Windows-1251 texts and Qt's strings, for the widgets of the
// shell. Nothing here fails: a character without a Windows-1251 form becomes '?'.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zorel {

QString FromCp(std::string_view cp1251);
std::string ToCp(const QString& text);

// A memo's text (lines ended by LF) as stored text with CR LF line ends, and back.
std::string MemoToCp(const QString& memoText);
QString CpToMemo(std::string_view cp1251);

}  // namespace zorel
