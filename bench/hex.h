// Bytes as lower-case hex digits, two to a byte: how texts of any bytes travel in SQL literals
// and to the DuckDB script.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorel::bench {

inline std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

}  // namespace zorel::bench
