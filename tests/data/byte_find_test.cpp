// FindBytes against the plain search on random texts of a small alphabet, so that matches fall
// on every position of the 16- and 32-byte blocks and at the very end.
#include "data/byte_find.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zorel {
namespace {

TEST(FindBytes, FindsWhatThePlainSearchFinds) {
  std::mt19937 random(11);
  const auto text = [&](std::size_t n) {
    std::string s(n, 'a');
    for (char& c : s) c = "ab\xe0\0"[random() % 4];
    return s;
  };
  for (int round = 0; round < 4000; ++round) {
    const std::string hay = text(random() % 100);
    const std::string needle = text(1 + random() % 5);
    const std::size_t from = random() % (hay.size() + 2);
    const auto* p = reinterpret_cast<const std::uint8_t*>(hay.data());
    const std::size_t expected = std::min(hay.find(needle, from), hay.size());
    ASSERT_EQ(FindBytes(p, hay.size(), needle, from), expected) << hay.size() << " " << from;
  }
}

}  // namespace
}  // namespace zorel
