// Text helpers of the synthetic base, on Windows-1251 bytes: conversion of the UTF-8 word
// tables, capitals, adjective endings, Latin spelling for e-mail and web addresses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorel::mkdb {

// The Windows-1251 form of a table word; throws std::logic_error when it has none.
std::string Cp(std::string_view utf8);
std::vector<std::string> Cp(const std::vector<const char*>& utf8);

void CapitalizeFirst(std::string& s);

// The adjective stem "Минск" with the ending of a noun's gender ('m', 'f' or 'n'): "Минский",
// "Минская", "Минское".
void AppendAdjective(std::string& out, std::string_view stem, char gender);

// Lower-case Latin letters and digits for the Cyrillic and Latin letters and digits of s;
// other characters are dropped.
void AppendLatin(std::string& out, std::string_view s);

}  // namespace zorel::mkdb
