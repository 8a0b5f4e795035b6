#include "data/byte_find.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace zorel {
namespace {

// The needle's bytes that the block filter does not check, compared at a candidate start.
bool MiddleMatches(const std::uint8_t* at, std::string_view needle) {
  return needle.size() <= 3 || std::memcmp(at + 2, needle.data() + 2, needle.size() - 3) == 0;
}

// Candidates are starts where the first two bytes and the last one match; the second is the
// first again for a one-byte needle, so every check holds for it.
std::size_t FindFrom(const std::uint8_t* hay, std::size_t starts, std::string_view needle,
                     std::size_t pos) {
  const std::size_t m = needle.size();
  const auto* v = reinterpret_cast<const std::uint8_t*>(needle.data());
  const std::size_t second = m > 1 ? 1 : 0;
  for (; pos < starts; ++pos) {
    if (hay[pos] == v[0] && hay[pos + second] == v[second] && hay[pos + m - 1] == v[m - 1] &&
        MiddleMatches(hay + pos, needle)) {
      return pos;
    }
  }
  return SIZE_MAX;
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) __m256i Load32(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Thirty-two starts at a time, on processors that have the wider vectors.
__attribute__((target("avx2"))) std::size_t FindWide(const std::uint8_t* hay, std::size_t starts,
                                                     std::string_view needle, std::size_t pos) {
  const std::size_t m = needle.size();
  const std::size_t second = m > 1 ? 1 : 0;
  const __m256i f = _mm256_set1_epi8(needle[0]);
  const __m256i s = _mm256_set1_epi8(needle[second]);
  const __m256i l = _mm256_set1_epi8(needle[m - 1]);
  for (; pos + 32 <= starts; pos += 32) {
    const __m256i hit =
        _mm256_and_si256(_mm256_and_si256(_mm256_cmpeq_epi8(Load32(hay + pos), f),
                                          _mm256_cmpeq_epi8(Load32(hay + pos + second), s)),
                         _mm256_cmpeq_epi8(Load32(hay + pos + m - 1), l));
    auto hits = static_cast<std::uint32_t>(_mm256_movemask_epi8(hit));
    while (hits != 0) {
      const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(hits));
      if (MiddleMatches(hay + at, needle)) return at;
      hits &= hits - 1;
    }
  }
  return FindFrom(hay, starts, needle, pos);
}

#endif

}  // namespace

std::size_t FindBytes(const std::uint8_t* hay, std::size_t n, std::string_view needle,
                      std::size_t from) {
  const std::size_t m = needle.size();
  if (m == 0 || n < m || from > n - m) return n;
  const std::size_t starts = n - m + 1;
#if defined(__x86_64__)
  // Processors without the wider vectors (none made in the last ten years) take the plain loop.
  static const bool wide = __builtin_cpu_supports("avx2");
  const std::size_t at =
      wide ? FindWide(hay, starts, needle, from) : FindFrom(hay, starts, needle, from);
#else
  const std::size_t at = FindFrom(hay, starts, needle, from);
#endif
  return at == SIZE_MAX ? n : at;
}

}  // namespace zorel
