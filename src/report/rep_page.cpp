#include "report/rep_page.h"

#include <algorithm>

namespace zorel {
namespace {

struct PaperRow {
  PaperSize paper;
  std::string_view ident;
  double width, height;  // millimetres, upright; 0 for none
};

constexpr PaperRow kPapers[kPaperSizeCount] = {
    {PaperSize::Default, "Default", 210, 297},
    {PaperSize::Letter, "Letter", 216, 279},
    {PaperSize::LetterSmall, "LetterSmall", 216, 279},
    {PaperSize::Tabloid, "Tabloid", 280, 432},
    {PaperSize::Ledger, "Ledger", 432, 280},
    {PaperSize::Legal, "Legal", 216, 356},
    {PaperSize::Statement, "Statement", 140, 216},
    {PaperSize::Executive, "Executive", 190, 254},
    {PaperSize::A3, "A3", 297, 420},
    {PaperSize::A4, "A4", 210, 297},
    {PaperSize::A4Small, "A4Small", 210, 297},
    {PaperSize::A5, "A5", 148, 210},
    {PaperSize::B4, "B4", 250, 354},
    {PaperSize::B5, "B5", 182, 257},
    {PaperSize::Folio, "Folio", 216, 330},
    {PaperSize::Quarto, "Quarto", 215, 275},
    {PaperSize::P10X14, "P10X14", 254, 356},
    {PaperSize::P11X17, "P11X17", 280, 432},
    {PaperSize::Note, "Note", 216, 279},
    {PaperSize::Env9, "Env9", 99, 225},
    {PaperSize::Env10, "Env10", 105, 241},
    {PaperSize::Env11, "Env11", 114, 263},
    {PaperSize::Env12, "Env12", 101, 279},
    {PaperSize::Env14, "Env14", 127, 292},
    {PaperSize::CSheet, "CSheet", 100, 100},
    {PaperSize::DSheet, "DSheet", 559, 864},
    {PaperSize::ESheet, "ESheet", 864, 1118},
    {PaperSize::Custom, "Custom", 0, 0},
};

}  // namespace

std::string_view PaperSizeIdent(PaperSize paper) { return kPapers[static_cast<int>(paper)].ident; }

std::optional<PaperSize> PaperSizeFromIdent(std::string_view ident) {
  for (const PaperRow& row : kPapers) {
    if (row.ident == ident) return row.paper;
  }
  return std::nullopt;
}

std::optional<std::array<double, 2>> PaperTenths(PaperSize paper) {
  const PaperRow& row = kPapers[static_cast<int>(paper)];
  if (row.width == 0) return std::nullopt;
  return std::array<double, 2>{row.width * 10, row.height * 10};
}

std::string_view OrientationIdent(Orientation o) {
  return o == Orientation::Portrait ? "poPortrait" : "poLandscape";
}

std::optional<Orientation> OrientationFromIdent(std::string_view ident) {
  if (ident == "poPortrait") return Orientation::Portrait;
  if (ident == "poLandscape") return Orientation::Landscape;
  return std::nullopt;
}

TRepPage::TRepPage() {
  values_[kTopMargin] = values_[kBottomMargin] = values_[kLeftMargin] = values_[kRightMargin] = 100;
  values_[kColumnSpace] = 0;
  TakeSizeFromPaper();
}

void TRepPage::SetPaperSize(PaperSize paper) {
  paper_ = paper;
  TakeSizeFromPaper();
}

void TRepPage::SetOrientation(Orientation o) {
  if (o != orientation_ && paper_ == PaperSize::Custom) {
    std::swap(values_[kWidth], values_[kLength]);
  }
  orientation_ = o;
  TakeSizeFromPaper();
}

void TRepPage::SetCustomSize(double widthMm, double lengthMm) {
  paper_ = PaperSize::Custom;
  values_[kWidth] = widthMm * 10;
  values_[kLength] = lengthMm * 10;
}

void TRepPage::TakeSizeFromPaper() {
  const auto size = PaperTenths(paper_);
  if (!size) return;
  const bool landscape = orientation_ == Orientation::Landscape;
  values_[kWidth] = landscape ? (*size)[1] : (*size)[0];
  values_[kLength] = landscape ? (*size)[0] : (*size)[1];
}

double TRepPage::PrintableWidth() const {
  return std::max(0.0, values_[kWidth] - values_[kLeftMargin] - values_[kRightMargin]);
}

double TRepPage::PrintableHeight() const {
  return std::max(0.0, values_[kLength] - values_[kTopMargin] - values_[kBottomMargin]);
}

double TRepPage::ColumnWidth() const {
  const double spaces = values_[kColumnSpace] * (columns_ - 1);
  return std::max(0.0, (PrintableWidth() - spaces) / columns_);
}

}  // namespace zorel
