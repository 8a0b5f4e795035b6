// Windows-1251 text: conversion to and from UTF-8 at the program's boundaries, and the fixed
// case and collation tables of the Russian code page that stand in for a user's locale.
// All functions take and give byte strings; a std::string of data is Windows-1251 unless
// its name says Utf8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorel {

// Every byte has a UTF-8 form (0x98, unassigned in the code page, maps to U+0098).
std::string ToUtf8(std::string_view cp1251);
void AppendToUtf8(std::string& out, std::string_view cp1251);

// Empty optional when the text holds a character with no Windows-1251 form or is not
// well-formed UTF-8.
std::optional<std::string> FromUtf8(std::string_view utf8);
// The same conversion where each character with no Windows-1251 form (and each byte of an
// ill-formed sequence) becomes mark, which must not be 0.
std::string FromUtf8Marking(std::string_view utf8, char mark);

// Case mapping of one byte: Latin a-z/A-Z, Cyrillic а-я/А-Я, ё/Ё and the other Cyrillic pairs
// of 0x80-0xBF. Other bytes map to themselves.
std::uint8_t UpperByte(std::uint8_t c);
std::uint8_t LowerByte(std::uint8_t c);
const std::uint8_t* UpperTable();  // 256 entries
const std::uint8_t* LowerTable();

std::string Upper1251(std::string_view s);
std::string Lower1251(std::string_view s);

// True for the capitals that the product scan skips: Latin A-Z and Cyrillic А-Я (Ё excluded).
inline bool IsScanCapital(std::uint8_t c) { return (c >= 65 && c <= 90) || (c >= 192 && c <= 223); }

// Russian alphabetical order, case-insensitive (Ё right after Е); letter case and then the raw
// bytes only break ties. Gives <0, 0 or >0.
int CompareRussian(std::string_view a, std::string_view b);

// Removes leading and trailing blanks and control characters (bytes 0..32).
std::string_view Strip(std::string_view s);
// Removes leading and trailing blanks only.
std::string_view TrimBlanks(std::string_view s);

// The bytes up to the first zero byte.
std::string_view CutAtZero(std::string_view s);

}  // namespace zorel
