// Decimal integers as the store reads them from texts (condition cells, product keys): an
// optional sign followed by decimal digits and nothing else. Callers strip what they allow
// around the number first and check the range of their own type.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zorel {

// Empty when the text is not such a number or does not fit 64 bits.
inline std::optional<std::int64_t> ParseDecimal(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  constexpr std::uint64_t kMaxPositive = 9223372036854775807ull;
  if (magnitude > kMaxPositive + (negative ? 1 : 0)) return std::nullopt;
  return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

// The same, limited to the 32-bit range.
inline std::optional<std::int32_t> ParseDecimal32(std::string_view s) {
  const auto v = ParseDecimal(s);
  if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(*v);
}

}  // namespace zorel
