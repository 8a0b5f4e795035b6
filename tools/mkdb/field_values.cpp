// Conversion of source fields with placed fault reports.
#include "mkdb/field_values.h"

#include <charconv>
#include <cstdio>

#include "data/text1251.h"

namespace zorel::mkdb {
namespace {

// Length of the UTF-8 sequence at s[i], 0 when it is not well formed.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const std::size_t n = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC2 ? 2
                                       : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

std::string CrLfBreaks(const std::string& s) {
  if (s.find_first_of("\r\n") == std::string::npos) return s;
  std::string out;
  out.reserve(s.size() + 8);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

}  // namespace

std::string_view TrimField(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

void FieldValues::Error(const CsvField& f, std::size_t offset, std::string_view column,
                        const std::string& message) {
  diag_.Error(PlaceIn(f, offset, file_), std::string(column) + ": " + message);
}

std::optional<std::string> FieldValues::Text(const CsvField& f, std::string_view column) {
  const std::string& s = f.text;
  std::optional<std::string> converted;
  if (s.find('\0') == std::string::npos) converted = FromUtf8(s);
  if (converted) return CrLfBreaks(*converted);
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = SequenceLength(s, i);
    if (n == 0) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(s[i]));
      Error(f, i, column, std::string("byte ") + hex + " is not UTF-8");
      return std::nullopt;
    }
    if (s[i] == '\0') {
      Error(f, i, column, "a zero character is not allowed");
      return std::nullopt;
    }
    if (!FromUtf8(s.substr(i, n))) {
      Error(f, i, column, "the character \"" + s.substr(i, n) + "\" has no Windows-1251 form");
      return std::nullopt;
    }
    i += n;
  }
  Error(f, 0, column, "the text has no Windows-1251 form");
  return std::nullopt;
}

std::optional<std::string> FieldValues::Text(const CsvField& f, std::string_view column,
                                             std::size_t maxBytes) {
  auto text = Text(f, column);
  if (text && text->size() > maxBytes) {
    Error(f, 0, column,
          "the text takes " + std::to_string(text->size()) + " characters, at most " +
              std::to_string(maxBytes) + " fit");
    return std::nullopt;
  }
  return text;
}

std::optional<std::int64_t> FieldValues::Integer(const CsvField& f, std::string_view column,
                                                 std::int64_t lo, std::int64_t hi,
                                                 std::optional<std::int64_t> ifEmpty) {
  const std::string_view v = TrimField(f.text);
  const std::string range = "from " + std::to_string(lo) + " to " + std::to_string(hi);
  if (v.empty()) {
    if (!ifEmpty) Error(f, 0, column, "a whole number " + range + " is required");
    return ifEmpty;
  }
  std::int64_t n = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec == std::errc() && end == v.data() + v.size() && n >= lo && n <= hi) return n;
  Error(f, static_cast<std::size_t>(v.data() - f.text.data()), column,
        "\"" + std::string(v) + "\" is not a whole number " + range);
  return std::nullopt;
}

}  // namespace zorel::mkdb
