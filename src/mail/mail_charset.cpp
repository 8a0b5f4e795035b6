#include "mail/mail_charset.h"

#include <QList>
#include <algorithm>
#include <array>
#include <utility>

#include "textconv/text_convert.h"

namespace zorel {
namespace {

// KOI8-R bytes 0x80 to 0xFF.
constexpr char16_t kKoi8[128] = {
    0x2500, 0x2502, 0x250C, 0x2510, 0x2514, 0x2518, 0x251C, 0x2524, 0x252C, 0x2534, 0x253C, 0x2580,
    0x2584, 0x2588, 0x258C, 0x2590, 0x2591, 0x2592, 0x2593, 0x2320, 0x25A0, 0x2219, 0x221A, 0x2248,
    0x2264, 0x2265, 0x00A0, 0x2321, 0x00B0, 0x00B2, 0x00B7, 0x00F7, 0x2550, 0x2551, 0x2552, 0x0451,
    0x2553, 0x2554, 0x2555, 0x2556, 0x2557, 0x2558, 0x2559, 0x255A, 0x255B, 0x255C, 0x255D, 0x255E,
    0x255F, 0x2560, 0x2561, 0x0401, 0x2562, 0x2563, 0x2564, 0x2565, 0x2566, 0x2567, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x00A9, 0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433,
    0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x044F, 0x0440, 0x0441,
    0x0442, 0x0443, 0x0436, 0x0432, 0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A,
    0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413, 0x0425, 0x0418, 0x0419, 0x041A,
    0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x042F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0416, 0x0412,
    0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A};

// The KOI8-R table by character, for a binary search.
using Koi8Pair = std::pair<char16_t, unsigned char>;
constexpr std::array<Koi8Pair, 128> MakeKoi8Index() {
  std::array<Koi8Pair, 128> index{};
  for (int i = 0; i < 128; ++i) index[i] = {kKoi8[i], static_cast<unsigned char>(0x80 + i)};
  std::sort(index.begin(), index.end());
  return index;
}
constexpr std::array<Koi8Pair, 128> kKoi8Index = MakeKoi8Index();

std::optional<QByteArray> ToKoi8(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      out += static_cast<char>(c.unicode());
      continue;
    }
    const auto at =
        std::lower_bound(kKoi8Index.begin(), kKoi8Index.end(), Koi8Pair{c.unicode(), 0});
    if (at == kKoi8Index.end() || at->first != c.unicode()) return std::nullopt;
    out += static_cast<char>(at->second);
  }
  return out;
}

bool IsAscii(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool IsPrintableAscii(const QString& text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

// The text's bytes and the set they are in: the message's when it can hold the text, else UTF-8.
std::pair<QByteArray, QByteArray> BytesIn(const QString& text, const QByteArray& charset) {
  if (auto bytes = EncodeText(text, charset)) return {*bytes, charset};
  return {text.toUtf8(), QByteArrayLiteral("utf-8")};
}

// Encoded words of at most 75 characters; a UTF-8 character is never split between two.
QList<QByteArray> EncodedWords(const QString& text, const QByteArray& charset) {
  const auto [bytes, set] = BytesIn(text, charset);
  const QByteArray open = "=?" + set + "?B?";
  const qsizetype most = (75 - open.size() - 2) / 4 * 3;
  const bool utf8 = set == "utf-8";
  QList<QByteArray> words;
  for (qsizetype at = 0; at < bytes.size();) {
    qsizetype take = std::min(most, bytes.size() - at);
    while (utf8 && at + take < bytes.size() &&
           (static_cast<unsigned char>(bytes[at + take]) & 0xC0) == 0x80) {
      --take;
    }
    words.append(open + bytes.mid(at, take).toBase64() + "?=");
    at += take;
  }
  return words;
}

QByteArray Quoted(const QString& name) {
  QByteArray out = name.toLatin1();
  out.replace('\\', "\\\\").replace('"', "\\\"");
  return '"' + out + '"';
}

}  // namespace

QByteArray CharsetLabel(const QString& name) {
  const QString lower = name.toLower();
  if (lower == u"koir-8") return QByteArrayLiteral("koi8-r");
  for (const char* c : kCharSets) {
    if (lower == QLatin1String(c)) return QByteArray(c);
  }
  return {};
}

std::optional<QByteArray> EncodeText(const QString& text, const QByteArray& charset) {
  if (charset == "utf-8") return text.toUtf8();
  if (charset == "koi8-r") return ToKoi8(text);
  if (charset == "us-ascii") {
    if (!IsAscii(text)) return std::nullopt;
    return text.toLatin1();
  }
  if (charset == "windows-1251") {
    if (auto cp = To1251(text)) return QByteArray::fromStdString(*cp);
  }
  return std::nullopt;
}

QByteArray HeaderValue(const QString& value, const QByteArray& charset) {
  if (IsAscii(value)) return value.toLatin1();
  return EncodedWords(value, charset).join("\r\n ");
}

QByteArray NameParameter(const QString& name, const QByteArray& charset) {
  if (IsPrintableAscii(name)) return "name=" + Quoted(name);
  return "name=\"" + EncodedWords(name, charset).join(' ') + '"';
}

QByteArray FileNameParameter(const QString& name, const QByteArray& charset) {
  if (IsPrintableAscii(name)) return "filename=" + Quoted(name);
  const auto [bytes, set] = BytesIn(name, charset);
  return "filename*=" + set + "''" + bytes.toPercentEncoding("!#$&+-.^_`|~");
}

}  // namespace zorel
