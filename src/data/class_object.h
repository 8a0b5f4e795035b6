// TClassObject: read-only access by position to the 31-byte entries of class.dat, the product
// classification. Get(position) gives the entry's first byte, or null when the 31 bytes at
// 31 x position are not all inside the file (so a trailing fragment is never served and a walk
// from 0 upwards ends at the first null). The pointer stays valid for the object's lifetime.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/byte_source.h"

namespace zorel {

inline constexpr int kClassEntrySize = 31;

// One decoded class.dat entry.
struct ClassEntry {
  std::uint32_t id = 0;
  std::uint32_t item = 0;  // 1-based item.dat position; 0 = no item
  std::array<std::uint32_t, 5> codes{};
  std::uint16_t count = 0;  // 0 hidden, 1 leaf, 2+ branch
  std::uint8_t kind = 0;

  static ClassEntry Decode(const std::uint8_t* p);
};

class TClassObject {
 public:
  // Throws DataError "Не могу открыть файл " + fileName, with the system's reason on a second
  // line, when it cannot be opened.
  explicit TClassObject(const std::string& fileName);
  explicit TClassObject(ByteSource data);

  std::int32_t EntryCount() const {
    return static_cast<std::int32_t>(data_.size() / kClassEntrySize);
  }
  const std::uint8_t* Get(std::int32_t position) const;

 private:
  ByteSource data_;
};

}  // namespace zorel
