#include "data/byte_find.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zorel {
namespace {

bool RestMatches(const std::uint8_t* at, std::string_view needle) {
  return std::memcmp(at + 1, needle.data() + 1, needle.size() - 1) == 0;
}

}  // namespace

std::size_t FindBytes(const std::uint8_t* hay, std::size_t n, std::string_view needle,
                      std::size_t from) {
  const std::size_t m = needle.size();
  if (m == 0 || n < m) return n;
  const auto first = static_cast<std::uint8_t>(needle.front());
  const std::size_t starts = n - m + 1;
  std::size_t pos = from;
#if defined(__SSE2__)
  const __m128i f = _mm_set1_epi8(static_cast<char>(first));
  const __m128i l = _mm_set1_epi8(needle.back());
  for (; pos + 16 <= starts; pos += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + pos));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + pos + m - 1));
    auto hits = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, f), _mm_cmpeq_epi8(b, l))));
    while (hits != 0) {
      const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(hits));
      if (RestMatches(hay + at, needle)) return at;
      hits &= hits - 1;
    }
  }
#endif
  for (; pos < starts; ++pos) {
    if (hay[pos] == first && RestMatches(hay + pos, needle)) return pos;
  }
  return n;
}

}  // namespace zorel
