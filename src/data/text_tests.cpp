// The matcher's test operations. The contains-tests run on every record of a search, so they
// look for the value's first letter sixteen bytes at a time and compare the rest only where
// it occurs; a zero byte ends the field text, and only its first kContainsWindow bytes count.
#include "data/text_tests.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "data/conditions.h"
#include "data/text1251.h"

namespace zorel {
namespace {

constexpr std::size_t kBlock = 16;

// Bit i of `hits` is set when p[i] is a or b, bit i of `zeros` when p[i] is 0; p has 16 bytes.
void Block16(const std::uint8_t* p, std::uint8_t a, std::uint8_t b, std::uint32_t& hits,
             std::uint32_t& zeros) {
#if defined(__SSE2__)
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i eq = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(a))),
                                  _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(b))));
  hits = static_cast<std::uint32_t>(_mm_movemask_epi8(eq));
  zeros = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_setzero_si128())));
#else
  hits = zeros = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    hits |= static_cast<std::uint32_t>(p[i] == a || p[i] == b) << i;
    zeros |= static_cast<std::uint32_t>(p[i] == 0) << i;
  }
#endif
}

// The same for the `count` (< 16) bytes at p.
void ShortBlock(const std::uint8_t* p, std::size_t count, std::uint8_t a, std::uint8_t b,
                std::uint32_t& hits, std::uint32_t& zeros) {
  hits = zeros = 0;
  for (std::size_t i = 0; i < count; ++i) {
    hits |= static_cast<std::uint32_t>(p[i] == a || p[i] == b) << i;
    zeros |= static_cast<std::uint32_t>(p[i] == 0) << i;
  }
}

// Whether the m bytes of v occur in the field text: the field's first `window` bytes up to the
// first zero byte. A match starts at a byte that is a or b; Same(field byte, value byte) tells
// whether the rest agrees. v holds no zero byte, so no match runs across one.
template <class Same>
bool Occurs(const std::uint8_t* field, std::size_t window, const std::uint8_t* v, std::size_t m,
            std::uint8_t a, std::uint8_t b, Same same) {
  if (m == 0 || window < m) return false;
  for (std::size_t pos = 0; pos + m <= window; pos += kBlock) {
    const std::size_t count = std::min(kBlock, window - pos);
    std::uint32_t hits = 0;
    std::uint32_t zeros = 0;
    if (count == kBlock) {
      Block16(field + pos, a, b, hits, zeros);
    } else if (window >= kBlock) {
      // The last bytes, read as the block that ends with them.
      Block16(field + window - kBlock, a, b, hits, zeros);
      hits >>= kBlock - count;
      zeros >>= kBlock - count;
    } else {
      ShortBlock(field + pos, count, a, b, hits, zeros);
    }
    if (zeros != 0) hits &= (zeros & -zeros) - 1;  // only starts before the zero byte
    while (hits != 0) {
      const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(hits));
      hits &= hits - 1;
      if (at + m > window) return false;
      std::size_t j = 1;
      while (j < m && same(field[at + j], v[j])) ++j;
      if (j == m) return true;
    }
    if (zeros != 0) return false;
  }
  return false;
}

// A byte that several others upper-case to cannot use the two-byte block search.
bool OccursAnyStart(const std::uint8_t* field, std::size_t window, const TestValue& value) {
  const std::uint8_t* up = UpperTable();
  const auto* v = reinterpret_cast<const std::uint8_t*>(value.upper.data());
  const std::size_t m = value.sought;
  std::size_t len = 0;
  while (len < window && field[len] != 0) ++len;
  for (std::size_t at = 0; at + m <= len; ++at) {
    std::size_t j = 0;
    while (j < m && up[field[at + j]] == v[j]) ++j;
    if (j == m) return true;
  }
  return false;
}

}  // namespace

TestValue::TestValue(std::string_view value)
    : text(value), upper(Upper1251(value)), sought(CutAtZero(value).size()) {
  if (sought == 0) return;
  startsCase = text.substr(0, 1);
  for (int c = 1; c < 256; ++c) {
    if (UpperByte(static_cast<std::uint8_t>(c)) == static_cast<std::uint8_t>(upper[0])) {
      startsAnyCase.push_back(static_cast<char>(c));
    }
  }
}

bool TextContainsCase(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  if (value.sought == 0) return false;
  const auto first = static_cast<std::uint8_t>(value.startsCase[0]);
  return Occurs(field, std::min(n, kContainsWindow),
                reinterpret_cast<const std::uint8_t*>(value.text.data()), value.sought, first,
                first, [](std::uint8_t f, std::uint8_t v) { return f == v; });
}

bool TextContains(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  if (value.sought == 0) return false;
  const std::size_t window = std::min(n, kContainsWindow);
  const std::string& starts = value.startsAnyCase;
  if (starts.size() > 2) return OccursAnyStart(field, window, value);
  const std::uint8_t* up = UpperTable();
  return Occurs(field, window, reinterpret_cast<const std::uint8_t*>(value.upper.data()),
                value.sought, static_cast<std::uint8_t>(starts.front()),
                static_cast<std::uint8_t>(starts.back()),
                [up](std::uint8_t f, std::uint8_t v) { return up[f] == v; });
}

bool TextEquals(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  if (n != value.upper.size()) return false;
  const std::uint8_t* up = UpperTable();
  for (std::size_t i = 0; i < n; ++i) {
    if (static_cast<char>(up[field[i]]) != value.upper[i]) return false;
  }
  return true;
}

bool TextEqualsCase(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  return n == value.text.size() && (n == 0 || std::memcmp(field, value.text.data(), n) == 0);
}

bool TextEmpty(const std::uint8_t*, const TestValue&, std::size_t n) { return n == 0; }

bool NumEquals(std::int32_t field, std::int32_t value) { return field == value; }
bool NumGreater(std::int32_t field, std::int32_t value) { return field > value; }
bool NumLess(std::int32_t field, std::int32_t value) { return field < value; }
bool NumGreaterEq(std::int32_t field, std::int32_t value) { return field >= value; }
bool NumLessEq(std::int32_t field, std::int32_t value) { return field <= value; }

TextTest TextTestFor(int op, bool caseSensitive) {
  switch (op) {
    case kOpContains:
      return caseSensitive ? TextContainsCase : TextContains;
    case kOpEquals:
      return caseSensitive ? TextEqualsCase : TextEquals;
    case kOpEmpty:
      return TextEmpty;
    default:
      return nullptr;
  }
}

NumTest NumTestFor(int op) {
  switch (op) {
    case kOpEquals:
      return NumEquals;
    case kOpGreater:
      return NumGreater;
    case kOpLess:
      return NumLess;
    case kOpGreaterEq:
      return NumGreaterEq;
    case kOpLessEq:
      return NumLessEq;
    default:
      return nullptr;
  }
}

}  // namespace zorel
