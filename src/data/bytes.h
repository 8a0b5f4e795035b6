// Little-endian reads and writes of the packed binary formats. Callers guarantee that the
// bytes they name lie inside their buffer.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace zorel {

inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::int16_t LoadI16(const std::uint8_t* p) { return static_cast<std::int16_t>(LoadU16(p)); }
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t LoadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(LoadU32(p)); }
inline std::uint64_t LoadU64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(LoadU32(p)) |
         (static_cast<std::uint64_t>(LoadU32(p + 4)) << 32);
}

inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void StoreU64(std::uint8_t* p, std::uint64_t v) {
  StoreU32(p, static_cast<std::uint32_t>(v));
  StoreU32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

// Appending forms, for writers that build a file image in a string.
inline void PutU8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }
inline void PutU16(std::string& out, std::uint16_t v) {
  std::uint8_t b[2];
  StoreU16(b, v);
  out.append(reinterpret_cast<const char*>(b), 2);
}
inline void PutU32(std::string& out, std::uint32_t v) {
  std::uint8_t b[4];
  StoreU32(b, v);
  out.append(reinterpret_cast<const char*>(b), 4);
}

inline const std::uint8_t* AsBytes(const char* p) {
  return reinterpret_cast<const std::uint8_t*>(p);
}

}  // namespace zorel
