// The drawing attributes shared by the report, its band and its labels: colours as the form
// file stores them (0x00BBGGRR), fonts as stored (height in pixels at 96 per inch, negative
// for a character height), and frames.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zorel {

using RepColor = std::uint32_t;  // 0x00BBGGRR

inline constexpr RepColor kClBlack = 0x000000;

// The identifier of one of the sixteen standard colours, or nothing.
std::optional<std::string_view> ColorIdent(RepColor color);
std::optional<RepColor> ColorFromIdent(std::string_view ident);

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot };
std::string_view PenStyleIdent(PenStyle style);
std::optional<PenStyle> PenStyleFromIdent(std::string_view ident);

enum FontStyleBit : unsigned { kFsBold = 1, kFsItalic = 2, kFsUnderline = 4, kFsStrikeOut = 8 };

inline constexpr int kCyrillicCharset = 204;
// The largest font height, either sign, that a form file holds.
inline constexpr int kMaxFontHeight = 2000;

// The system's sans-serif family as the font matcher resolves it (a real installed family, so
// that its bold and italic faces are offered); "Sans Serif" before the application exists.
QString DefaultFontFamily();

struct ReportFont {
  int Charset = kCyrillicCharset;
  RepColor Color = kClBlack;
  int Height = -11;  // pixels at 96 per inch; negative: the character height
  QString Name = DefaultFontFamily();
  unsigned Style = 0;  // FontStyleBit set

  bool operator==(const ReportFont&) const = default;
};

struct TRepFrame {
  RepColor Color = kClBlack;
  bool DrawTop = false;
  bool DrawBottom = false;
  bool DrawLeft = false;
  bool DrawRight = false;
  PenStyle Style = PenStyle::Solid;
  std::int32_t Width = 1;  // points; -1 the thinnest line, 0 no line

  bool Present() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
  bool operator==(const TRepFrame&) const = default;
};

}  // namespace zorel
