// Deterministic pseudo-random numbers for the synthetic base: the same seed gives the same
// sequence with every compiler and library (the standard distributions differ between
// libraries, so none is used), and only integer arithmetic decides what is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorel::mkdb {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed ^ 0x5A0E1DB5C0FFEE11ULL) {}

  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in 0..n-1 (n > 0).
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }
  // Uniform in lo..hi.
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1)));
  }
  // True with the given chance in percent.
  bool Percent(int p) { return static_cast<int>(Below(100)) < p; }

  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[Below(static_cast<std::uint32_t>(v.size()))];
  }

 private:
  std::uint64_t state_;
};

// Indexes drawn in proportion to fixed weights (at least one weight above 0).
class WeightedTable {
 public:
  WeightedTable() = default;
  explicit WeightedTable(const std::vector<int>& weights) {
    std::uint32_t sum = 0;
    for (int w : weights) cumulative_.push_back(sum += static_cast<std::uint32_t>(w));
  }
  std::size_t Draw(Rng& rng) const {
    const std::uint32_t r = rng.Below(cumulative_.back());
    std::size_t lo = 0, hi = cumulative_.size() - 1;
    while (lo < hi) {
      const std::size_t mid = (lo + hi) / 2;
      if (cumulative_[mid] > r) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo;
  }

 private:
  std::vector<std::uint32_t> cumulative_;
};

}  // namespace zorel::mkdb
