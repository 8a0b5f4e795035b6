// What the designer can select: nothing, the report itself, its detail band or one label.
#pragma once

namespace zorel {

class TRepLabel;

struct DesignObject {
  enum class Kind { None, Report, Band, Label };
  Kind kind = Kind::None;
  TRepLabel* label = nullptr;  // for Kind::Label

  static DesignObject None() { return {}; }
  static DesignObject Report() { return {Kind::Report, nullptr}; }
  static DesignObject Band() { return {Kind::Band, nullptr}; }
  static DesignObject Label(TRepLabel* l) { return {Kind::Label, l}; }
  bool operator==(const DesignObject&) const = default;
};

}  // namespace zorel
