#include "data/checksum.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zorel {
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t Word(const unsigned char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return w;  // the host's order: sums are compared on the host that made them
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t word) {
  return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

}  // namespace

void Checksum::Stripes(const unsigned char* p, std::size_t stripes) {
  std::uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
  for (std::size_t i = 0; i < stripes; ++i, p += kStripe) {
    a = Round(a, Word(p));
    b = Round(b, Word(p + 8));
    c = Round(c, Word(p + 16));
    d = Round(d, Word(p + 24));
  }
  lanes_[0] = a;
  lanes_[1] = b;
  lanes_[2] = c;
  lanes_[3] = d;
}

void Checksum::Update(const void* bytes, std::size_t n) {
  if (n == 0) return;  // bytes may then be null, which memcpy must never see
  const auto* p = static_cast<const unsigned char*>(bytes);
  total_ += n;
  if (pendingSize_ > 0) {
    const std::size_t take = std::min(n, kStripe - pendingSize_);
    std::memcpy(pending_ + pendingSize_, p, take);
    pendingSize_ += take;
    p += take;
    n -= take;
    if (pendingSize_ < kStripe) return;
    Stripes(pending_, 1);
    pendingSize_ = 0;
  }
  Stripes(p, n / kStripe);
  pendingSize_ = n % kStripe;
  if (pendingSize_ > 0) std::memcpy(pending_, p + n - pendingSize_, pendingSize_);
}

std::uint64_t Checksum::Value() const {
  std::uint64_t h = total_;
  for (const std::uint64_t lane : lanes_) h = (h ^ Round(0, lane)) * kPrime1 + kPrime2;
  for (std::size_t i = 0; i < pendingSize_; ++i)
    h = std::rotl(h ^ (pending_[i] * kPrime1), 11) * kPrime2;
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  return h;
}

}  // namespace zorel
