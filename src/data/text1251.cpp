#include "data/text1251.h"

#include <array>
#include <cstring>

namespace zorel {
namespace {

// Unicode code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<std::uint16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// Capital/small pairs among 0x80..0xBF.
constexpr std::array<std::array<std::uint8_t, 2>, 15> kHighPairs = {{{0x80, 0x90},
                                                                     {0x81, 0x83},
                                                                     {0x8A, 0x9A},
                                                                     {0x8C, 0x9C},
                                                                     {0x8D, 0x9D},
                                                                     {0x8E, 0x9E},
                                                                     {0x8F, 0x9F},
                                                                     {0xA1, 0xA2},
                                                                     {0xA3, 0xBC},
                                                                     {0xA5, 0xB4},
                                                                     {0xA8, 0xB8},
                                                                     {0xAA, 0xBA},
                                                                     {0xAF, 0xBF},
                                                                     {0xB2, 0xB3},
                                                                     {0xBD, 0xBE}}};

struct Tables {
  std::array<std::uint8_t, 256> upper{};
  std::array<std::uint8_t, 256> lower{};
  std::array<std::uint16_t, 256> weight{};  // collation weight of an upper-cased byte
  // The UTF-8 form of every byte: up to three bytes, their count in the fourth.
  std::array<std::array<char, 4>, 256> utf8{};
  Tables() {
    for (int c = 0; c < 256; ++c) {
      const std::uint32_t cp = c < 0x80 ? c : c < 0xC0 ? kHigh[c - 0x80] : 0x0410u + (c - 0xC0u);
      std::array<char, 4>& form = utf8[c];
      if (cp < 0x80) {
        form = {static_cast<char>(cp), 0, 0, 1};
      } else if (cp < 0x800) {
        form = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0, 2};
      } else {
        form = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                static_cast<char>(0x80 | (cp & 0x3F)), 3};
      }
    }
    for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<std::uint8_t>(i);
    for (int c = 'a'; c <= 'z'; ++c) {
      upper[c] = static_cast<std::uint8_t>(c - 32);
      lower[c - 32] = static_cast<std::uint8_t>(c);
    }
    for (int c = 0xE0; c <= 0xFF; ++c) {
      upper[c] = static_cast<std::uint8_t>(c - 32);
      lower[c - 32] = static_cast<std::uint8_t>(c);
    }
    for (auto [cap, small] : kHighPairs) {
      upper[small] = cap;
      lower[cap] = small;
    }
    // Cyrillic capitals after everything else, in alphabet order, Ё between Е and Ж.
    for (int i = 0; i < 256; ++i) weight[i] = static_cast<std::uint16_t>(i);
    for (int c = 0xC0; c <= 0xDF; ++c) {
      weight[c] = static_cast<std::uint16_t>(0x200 + (c - 0xC0) * 2 + (c >= 0xC6 ? 2 : 0));
    }
    weight[0xA8] = static_cast<std::uint16_t>(0x200 + 5 * 2 + 1);
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

std::optional<std::uint8_t> EncodeCodePoint(std::uint32_t cp) {
  if (cp < 0x80) return static_cast<std::uint8_t>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<std::uint8_t>(cp - 0x0410 + 0xC0);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

void AppendToUtf8(std::string& out, std::string_view cp1251) {
  // Sized for the longest form (and the fourth byte each copy carries), cut back after: one
  // pass without a branch per byte, as Russian text mixes one- and two-byte forms.
  const std::size_t start = out.size();
  out.resize(start + cp1251.size() * 3 + 1);
  char* p = out.data() + start;
  const auto& forms = T().utf8;
  for (const char c : cp1251) {
    const std::array<char, 4>& form = forms[static_cast<unsigned char>(c)];
    std::memcpy(p, form.data(), 4);
    p += form[3];
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string ToUtf8(std::string_view cp1251) {
  std::string out;
  AppendToUtf8(out, cp1251);
  return out;
}

namespace {

// Converts utf8 into out. A character with no code page form, or an ill-formed sequence (one
// byte of it at a time), becomes mark, or ends the conversion with false when mark is 0.
bool FromUtf8Into(std::string_view utf8, char mark, std::string& out) {
  out.resize(utf8.size());  // never more bytes than the UTF-8 form has
  char* p = out.data();
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {
      *p++ = static_cast<char>(b0);
      ++i;
      continue;
    }
    std::uint32_t cp = 0;
    int extra = 0;
    if ((b0 & 0xE0) == 0xC0) {
      cp = b0 & 0x1F;
      extra = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
      cp = b0 & 0x0F;
      extra = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
      cp = b0 & 0x07;
      extra = 3;
    }
    bool wellFormed = extra > 0 && i + static_cast<std::size_t>(extra) < utf8.size();
    for (int k = 1; wellFormed && k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      wellFormed = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    constexpr std::uint32_t kMinForLength[] = {0, 0x80, 0x800, 0x10000};
    // Overlong forms hide characters.
    wellFormed = wellFormed && cp >= kMinForLength[extra];
    const auto byte = wellFormed ? EncodeCodePoint(cp) : std::nullopt;
    if (!byte && mark == 0) return false;
    *p++ = byte ? static_cast<char>(*byte) : mark;
    i += wellFormed ? 1 + static_cast<std::size_t>(extra) : 1;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return true;
}

}  // namespace

std::optional<std::string> FromUtf8(std::string_view utf8) {
  std::string out;
  if (!FromUtf8Into(utf8, 0, out)) return std::nullopt;
  return out;
}

std::string FromUtf8Marking(std::string_view utf8, char mark) {
  std::string out;
  FromUtf8Into(utf8, mark, out);
  return out;
}

std::uint8_t UpperByte(std::uint8_t c) { return T().upper[c]; }
std::uint8_t LowerByte(std::uint8_t c) { return T().lower[c]; }
const std::uint8_t* UpperTable() { return T().upper.data(); }
const std::uint8_t* LowerTable() { return T().lower.data(); }

std::string Upper1251(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = static_cast<char>(T().upper[static_cast<unsigned char>(c)]);
  return out;
}

std::string Lower1251(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = static_cast<char>(T().lower[static_cast<unsigned char>(c)]);
  return out;
}

int CompareRussian(std::string_view a, std::string_view b) {
  const auto& t = T();
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int wa = t.weight[t.upper[static_cast<unsigned char>(a[i])]];
    const int wb = t.weight[t.upper[static_cast<unsigned char>(b[i])]];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  // Same letters: small letters first, then raw bytes.
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca == cb) continue;
    const bool smallA = t.lower[ca] == ca;
    const bool smallB = t.lower[cb] == cb;
    if (smallA != smallB) return smallA ? -1 : 1;
    return ca < cb ? -1 : 1;
  }
  return 0;
}

std::string_view Strip(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

std::string_view CutAtZero(std::string_view s) {
  const auto z = s.find('\0');
  return z == std::string_view::npos ? s : s.substr(0, z);
}

}  // namespace zorel
