// Windows-1251 text helpers of the generator.
#include "mkdb/gen_text.h"

#include <stdexcept>

#include "data/text1251.h"

namespace zorel::mkdb {

std::string Cp(std::string_view utf8) {
  auto s = FromUtf8(utf8);
  if (!s) throw std::logic_error("no Windows-1251 form: " + std::string(utf8));
  return *s;
}

std::vector<std::string> Cp(const std::vector<const char*>& utf8) {
  std::vector<std::string> out;
  out.reserve(utf8.size());
  for (const char* s : utf8) out.push_back(Cp(s));
  return out;
}

void CapitalizeFirst(std::string& s) {
  if (!s.empty()) s[0] = static_cast<char>(UpperByte(static_cast<std::uint8_t>(s[0])));
}

void AppendAdjective(std::string& out, std::string_view stem, char gender) {
  // Windows-1251: ий, ая, ое
  static const char* const kEndings[] = {"\xE8\xE9", "\xE0\xFF", "\xEE\xE5"};
  out += stem;
  out += kEndings[gender == 'm' ? 0 : gender == 'f' ? 1 : 2];
}

void AppendLatin(std::string& out, std::string_view s) {
  // Windows-1251 а..я (0xE0..0xFF) in order.
  static const char* const kLatin[32] = {
      "a", "b", "v", "g", "d", "e",  "zh", "z",  "i",  "y",   "k", "l", "m", "n", "o",  "p",
      "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "sch", "",  "y", "",  "e", "yu", "ya"};
  for (const char ch : s) {
    const std::uint8_t c = LowerByte(static_cast<std::uint8_t>(ch));
    if (c >= 0xE0) {
      out += kLatin[c - 0xE0];
    } else if (c == 0xB8) {  // ё
      out += 'e';
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      out.push_back(static_cast<char>(c));
    }
  }
}

}  // namespace zorel::mkdb
