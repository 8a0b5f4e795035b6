// Checksum: a fast 64-bit checksum of a byte stream fed in pieces of any size, for derived files
// checked whenever they are opened. Four lanes of 64-bit words, each step an add, a rotation and a
// multiplication, so it runs at memory speed; any change of a single word always changes the sum.
// It guards against damage, not against someone forging a file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zorel {

class Checksum {
 public:
  void Update(const void* bytes, std::size_t n);
  std::uint64_t Value() const;

  // The sum of one block of bytes.
  static std::uint64_t Of(const void* bytes, std::size_t n) {
    Checksum sum;
    sum.Update(bytes, n);
    return sum.Value();
  }

 private:
  static constexpr std::size_t kStripe = 32;
  void Stripes(const unsigned char* p, std::size_t stripes);

  std::uint64_t lanes_[4] = {0x60EA27EEADC0B5D6ull, 0xC2B2AE3D27D4EB4Full, 0,
                             0x61C8864E7A143579ull};
  unsigned char pending_[kStripe] = {};
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace zorel
