#include "report/rep_style.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <array>
#include <utility>

namespace zorel {
namespace {

constexpr std::array<std::pair<std::string_view, RepColor>, 16> kColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

constexpr std::array<std::string_view, 5> kPenStyles{"psSolid", "psDash", "psDot", "psDashDot",
                                                     "psDashDotDot"};

}  // namespace

QString DefaultFontFamily() {
  const QString generic = QStringLiteral("Sans Serif");
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return generic;
  static const QString family = [&generic] {
    QFont font(generic);
    font.setStyleHint(QFont::SansSerif);
    const QString matched = QFontInfo(font).family();
    return matched.isEmpty() ? generic : matched;
  }();
  return family;
}

std::optional<std::string_view> ColorIdent(RepColor color) {
  for (const auto& [ident, value] : kColors) {
    if (value == color) return ident;
  }
  return std::nullopt;
}

std::optional<RepColor> ColorFromIdent(std::string_view ident) {
  for (const auto& [name, value] : kColors) {
    if (name == ident) return value;
  }
  return std::nullopt;
}

std::string_view PenStyleIdent(PenStyle style) { return kPenStyles[static_cast<int>(style)]; }

std::optional<PenStyle> PenStyleFromIdent(std::string_view ident) {
  for (std::size_t i = 0; i < kPenStyles.size(); ++i) {
    if (kPenStyles[i] == ident) return static_cast<PenStyle>(i);
  }
  return std::nullopt;
}

}  // namespace zorel
