// Argument handling of zorel-cli; see cli_args.h.
#include "cli_args.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "data/record.h"
#include "data/text1251.h"

namespace zorel::cli {
namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Splits at the first `count` separators; the last part keeps any further separators.
std::vector<std::string_view> SplitFirst(std::string_view text, char sep, std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() < count) {
    const auto at = text.find(sep);
    if (at == std::string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  parts.push_back(text);
  return parts;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// An integer within [low, high], else UsageError with `what`.
std::int64_t IntegerIn(std::string_view text, std::int64_t low, std::int64_t high,
                       const std::string& what) {
  const auto value = ParseInteger(text);
  if (!value || *value < low || *value > high) {
    throw UsageError(what + " " + Quoted(text) + " вне " + std::to_string(low) + ".." +
                     std::to_string(high));
  }
  return *value;
}

std::string ZeroOrOne(std::string_view text, const std::string& what) {
  if (text != "0" && text != "1") throw UsageError(what + " " + Quoted(text) + " не 0 и не 1");
  return std::string(text);
}

}  // namespace

ParsedArgs::ParsedArgs(const Invocation& inv, const ArgSpec& spec) : form_(inv.form) {
  const std::vector<std::string>& args = inv.args;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      operands_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const auto eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    if (Contains(spec.valued, name)) {
      if (eq != std::string::npos) {
        options_.emplace_back(name, arg.substr(eq + 1));
      } else if (i + 1 < args.size()) {
        options_.emplace_back(name, args[++i]);
      } else {
        throw UsageError("параметру " + name + " нужно значение");
      }
    } else if (eq == std::string::npos && Contains(spec.flags, name)) {
      flags_.push_back(name);
    } else {
      throw UsageError("неизвестный параметр " + arg);
    }
  }
}

std::optional<std::string> ParsedArgs::Single(const std::string& name) const {
  const auto values = All(name);
  if (values.size() > 1) throw UsageError("параметр " + name + " задан больше одного раза");
  if (values.empty()) return std::nullopt;
  return values.front();
}

std::vector<std::string> ParsedArgs::All(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : options_) {
    if (n == name) values.push_back(v);
  }
  return values;
}

bool ParsedArgs::Flag(const std::string& name) const { return Contains(flags_, name); }

void ParsedArgs::ExpectOperands(std::size_t n) const {
  if (operands_.size() != n) throw Misuse();
}

void ParsedArgs::ExpectAtLeast(std::size_t n) const {
  if (operands_.size() < n) throw Misuse();
}

UsageError ParsedArgs::Misuse(const std::string& problem) const {
  return UsageError(problem + "вызов: zorel-cli " + form_);
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  const std::string_view digits = text.substr(!text.empty() && text.front() == '-' ? 1 : 0);
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string ToCodePage(std::string_view utf8) {
  auto text = FromUtf8(utf8);
  if (!text) throw UsageError("текст без формы в кодировке Windows-1251: " + Quoted(utf8));
  return std::move(*text);
}

std::int64_t ParseRecordNumber(std::string_view text) {
  const auto value = ParseInteger(text);
  if (!value) throw UsageError("номер записи не число: " + Quoted(text));
  return *value;
}

ConditionRow ParseConditionSpec(std::string_view spec) {
  const auto parts = SplitFirst(spec, ':', 4);
  if (parts.size() != 5) throw UsageError("условие не в виде F:E:O:C:VALUE: " + Quoted(spec));
  const auto field = IntegerIn(parts[0], 0, kFieldCount - 1, "код поля");
  const std::string expected = ZeroOrOne(parts[1], "ожидаемый исход");
  const auto op = IntegerIn(parts[2], 0, kOperatorCount - 1, "код операции");
  const std::string caseFlag = ZeroOrOne(parts[3], "признак регистра");
  if (!OperatorAllowed(static_cast<int>(field), static_cast<int>(op))) {
    throw UsageError("операция " + std::to_string(op) + " не применима к полю " +
                     std::to_string(field));
  }
  return {std::to_string(field), expected, std::to_string(op), ToCodePage(parts[4]), caseFlag};
}

ProductKey ParseKeySpec(std::string_view spec) {
  const auto parts = SplitFirst(spec, ':', 1);
  if (parts.size() != 2) throw UsageError("ключ продукции не в виде KIND:ITEM: " + Quoted(spec));
  ProductKey key;
  key.kind = static_cast<std::uint8_t>(IntegerIn(parts[0], 0, 255, "вид продукции"));
  key.item = IntegerIn(parts[1], 0, std::numeric_limits<std::int64_t>::max(), "номер продукции");
  return key;
}

std::string KeyText(const ProductKey& key) {
  return std::to_string(key.kind) + ":" + std::to_string(key.item);
}

std::array<std::uint32_t, 5> ParseNodeSpec(std::string_view spec) {
  const auto parts = SplitFirst(spec, '.', 5);
  const std::string bad = "узел не в виде c1.c2.c3.c4.c5: " + Quoted(spec);
  if (parts.size() != 5) throw UsageError(bad);
  std::array<std::uint32_t, 5> codes{};
  bool zeroSeen = false;
  for (std::size_t i = 0; i < 5; ++i) {
    const auto value = ParseInteger(parts[i]);
    if (!value || parts[i].front() == '-' || *value > std::numeric_limits<std::uint32_t>::max()) {
      throw UsageError(bad);
    }
    if (zeroSeen && *value != 0)
      throw UsageError("в узле ненулевой код после нуля: " + Quoted(spec));
    zeroSeen = zeroSeen || *value == 0;
    codes[i] = static_cast<std::uint32_t>(*value);
  }
  return codes;
}

std::string NodeText(const std::array<std::uint32_t, 5>& codes) {
  std::string text;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) text += '.';
    text += std::to_string(codes[i]);
  }
  return text;
}

}  // namespace zorel::cli
