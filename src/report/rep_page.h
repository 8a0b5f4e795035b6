// TRepPage: the page of a report: paper, orientation, margins, columns and the space between
// them. Measures are held in tenths of a millimetre, as the form file stores them, and offered
// in millimetres as well. Width and Length are the page as printed: for landscape the width is
// the paper's long side.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace zorel {

enum class PaperSize {
  Default,
  Letter,
  LetterSmall,
  Tabloid,
  Ledger,
  Legal,
  Statement,
  Executive,
  A3,
  A4,
  A4Small,
  A5,
  B4,
  B5,
  Folio,
  Quarto,
  P10X14,
  P11X17,
  Note,
  Env9,
  Env10,
  Env11,
  Env12,
  Env14,
  CSheet,
  DSheet,
  ESheet,
  Custom
};
inline constexpr int kPaperSizeCount = static_cast<int>(PaperSize::Custom) + 1;

std::string_view PaperSizeIdent(PaperSize paper);
std::optional<PaperSize> PaperSizeFromIdent(std::string_view ident);
// Width and height in tenths of a millimetre of the paper held upright; Default is A4;
// Custom has none.
std::optional<std::array<double, 2>> PaperTenths(PaperSize paper);

enum class Orientation { Portrait, Landscape };
std::string_view OrientationIdent(Orientation o);
std::optional<Orientation> OrientationFromIdent(std::string_view ident);

class TRepPage {
 public:
  // The order of Page.Values in a form file.
  enum Value {
    kBottomMargin,
    kLength,
    kTopMargin,
    kWidth,
    kLeftMargin,
    kRightMargin,
    kColumnSpace,
    kValueCount
  };
  using Values = std::array<double, kValueCount>;

  TRepPage();

  PaperSize Paper() const { return paper_; }
  Orientation PageOrientation() const { return orientation_; }
  // Both take the page's Width and Length from the paper (unless it is Custom).
  void SetPaperSize(PaperSize paper);
  void SetOrientation(Orientation o);
  // A page of its own size, in millimetres; the paper becomes Custom.
  void SetCustomSize(double widthMm, double lengthMm);

  int Columns() const { return columns_; }
  void SetColumns(int columns) { columns_ = columns < 1 ? 1 : columns; }

  const Values& AllValues() const { return values_; }
  void SetAllValues(const Values& v) { values_ = v; }
  double Tenths(Value v) const { return values_[v]; }
  void SetTenths(Value v, double tenths) { values_[v] = tenths; }

  // Millimetres.
  double TopMargin() const { return values_[kTopMargin] / 10; }
  double BottomMargin() const { return values_[kBottomMargin] / 10; }
  double LeftMargin() const { return values_[kLeftMargin] / 10; }
  double RightMargin() const { return values_[kRightMargin] / 10; }
  double ColumnSpace() const { return values_[kColumnSpace] / 10; }
  double Width() const { return values_[kWidth] / 10; }
  double Length() const { return values_[kLength] / 10; }
  void SetTopMargin(double mm) { values_[kTopMargin] = mm * 10; }
  void SetBottomMargin(double mm) { values_[kBottomMargin] = mm * 10; }
  void SetLeftMargin(double mm) { values_[kLeftMargin] = mm * 10; }
  void SetRightMargin(double mm) { values_[kRightMargin] = mm * 10; }
  void SetColumnSpace(double mm) { values_[kColumnSpace] = mm * 10; }

  // Tenths of a millimetre inside the margins.
  double PrintableWidth() const;
  double PrintableHeight() const;
  // The width of one column: the printable width less the spaces, shared by the columns.
  double ColumnWidth() const;

  bool operator==(const TRepPage&) const = default;

 private:
  void TakeSizeFromPaper();

  PaperSize paper_ = PaperSize::A4;
  Orientation orientation_ = Orientation::Portrait;
  int columns_ = 1;
  Values values_{};
};

}  // namespace zorel
