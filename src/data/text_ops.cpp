// The matcher's test operations. The contains-tests run on every record of a search, so they
// look sixteen starts at a time for the value's first letter with its last letter where the
// match would end, and compare the rest only there; a zero byte ends the field text, and only its
// first kContainsWindow bytes count.
#include "data/text_ops.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "data/text1251.h"

namespace zorel {
namespace {

constexpr std::size_t kBlock = 16;

using Ends = std::array<TestValue::Block, 4>;

// For the 16 bytes at p: bit i of `firsts` is set when p[i] is e[0][0] or e[1][0], of `zeros`
// when p[i] is 0.
void Firsts16(const std::uint8_t* p, const Ends& e, std::uint32_t& firsts, std::uint32_t& zeros) {
#if defined(__SSE2__)
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(e[0].data()));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(e[1].data()));
  firsts = static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, a), _mm_cmpeq_epi8(x, b))));
  zeros = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_setzero_si128())));
#else
  firsts = zeros = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    firsts |= static_cast<std::uint32_t>(p[i] == e[0][0] || p[i] == e[1][0]) << i;
    zeros |= static_cast<std::uint32_t>(p[i] == 0) << i;
  }
#endif
}

// For the 16 bytes at q: bit i is set when q[i] is e[2][0] or e[3][0].
std::uint32_t Lasts16(const std::uint8_t* q, const Ends& e) {
#if defined(__SSE2__)
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
  const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(e[2].data()));
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(e[3].data()));
  return static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(y, c), _mm_cmpeq_epi8(y, d))));
#else
  std::uint32_t lasts = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    lasts |= static_cast<std::uint32_t>(q[i] == e[2][0] || q[i] == e[3][0]) << i;
  }
  return lasts;
#endif
}

// Whether the m bytes of v occur in the field text: the field's first `window` bytes up to the
// first zero byte. Starts are filtered sixteen at a time on both the first and the last byte of
// a match; Same(field byte, value byte) checks the bytes between. v holds no zero byte, so a
// match never runs across one and only the starts after the first zero must be dropped.
template <class Same>
bool Occurs(const std::uint8_t* field, std::size_t window, const std::uint8_t* v, std::size_t m,
            const Ends& e, Same same) {
  if (m == 0 || window < m) return false;
  const std::size_t starts = window - m + 1;
  if (window < kBlock) {
    // Too short for a block read: byte by byte.
    for (std::size_t at = 0; at < starts; ++at) {
      const std::uint8_t c = field[at];
      if (c == 0) return false;
      if (c != e[0][0] && c != e[1][0]) continue;
      std::size_t j = 1;
      while (j < m && same(field[at + j], v[j])) ++j;
      if (j == m) return true;
    }
    return false;
  }
  for (std::size_t pos = 0; pos < starts; pos += kBlock) {
    std::uint32_t hits = 0;
    std::uint32_t zeros = 0;
    if (pos + kBlock <= starts) {
      Firsts16(field + pos, e, hits, zeros);
      hits &= Lasts16(field + pos + m - 1, e);
    } else if (starts >= kBlock) {
      // The last starts, read as the block that ends with them.
      const std::size_t base = starts - kBlock;
      Firsts16(field + base, e, hits, zeros);
      hits &= Lasts16(field + base + m - 1, e);
      hits >>= pos - base;
      zeros >>= pos - base;
    } else {
      // Fewer than 16 starts in a field of at least 16 bytes: the last bytes come from the
      // block that ends the window.
      Firsts16(field, e, hits, zeros);
      hits &= Lasts16(field + window - kBlock, e) >> (kBlock - starts);
    }
    if (starts - pos < kBlock) hits &= (1u << (starts - pos)) - 1;
    if (zeros != 0) hits &= (zeros & -zeros) - 1;  // only starts before the zero byte
    while (hits != 0) {
      const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(hits));
      hits &= hits - 1;
      std::size_t j = 1;
      while (j + 1 < m && same(field[at + j], v[j])) ++j;
      if (j + 1 >= m) return true;
    }
    if (zeros != 0) return false;
  }
  return false;
}

// Every byte but zero that upper-cases to c.
std::string AnyCaseOf(std::uint8_t c, const std::uint8_t* up) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (up[b] == c) bytes.push_back(static_cast<char>(b));
  }
  return bytes;
}

// A first or last byte that several others upper-case to cannot use the two-byte block filter.
bool OccursAnyStart(const std::uint8_t* field, std::size_t window, const TestValue& value) {
  const std::uint8_t* up = value.upperTable;
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

TestValue::Block Repeated(char c) {
  TestValue::Block block;
  block.fill(static_cast<std::uint8_t>(c));
  return block;
}

}  // namespace

TestValue::TestValue(std::string_view value)
    : text(value),
      upper(Upper1251(value)),
      sought(CutAtZero(value).size()),
      upperTable(UpperTable()) {
  if (sought == 0) return;
  const char first = text[0];
  const char last = text[sought - 1];
  caseEnds = {Repeated(first), Repeated(first), Repeated(last), Repeated(last)};
  const std::string firsts = AnyCaseOf(static_cast<std::uint8_t>(upper[0]), upperTable);
  const std::string lasts = AnyCaseOf(static_cast<std::uint8_t>(upper[sought - 1]), upperTable);
  anyCaseFilter = firsts.size() <= 2 && lasts.size() <= 2;
  if (!anyCaseFilter) return;
  anyCaseEnds = {Repeated(firsts.front()), Repeated(firsts.back()), Repeated(lasts.front()),
                 Repeated(lasts.back())};
}

bool TextContainsCase(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  return Occurs(field, std::min(n, kContainsWindow),
                reinterpret_cast<const std::uint8_t*>(value.text.data()), value.sought,
                value.caseEnds, [](std::uint8_t f, std::uint8_t v) { return f == v; });
}

bool TextContains(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  if (value.sought == 0) return false;
  const std::size_t window = std::min(n, kContainsWindow);
  if (!value.anyCaseFilter) return OccursAnyStart(field, window, value);
  const std::uint8_t* up = value.upperTable;
  return Occurs(field, window, reinterpret_cast<const std::uint8_t*>(value.upper.data()),
                value.sought, value.anyCaseEnds,
                [up](std::uint8_t f, std::uint8_t v) { return up[f] == v; });
}

bool TextEquals(const std::uint8_t* field, const TestValue& value, std::size_t n) {
  if (n != value.upper.size()) return false;
  const std::uint8_t* up = value.upperTable;
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
