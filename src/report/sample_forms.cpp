#include "report/sample_forms.h"

#include "data/field_table.h"
#include "report/form_file.h"

namespace zorel {
namespace {

struct Place {
  double left, top, width, height;  // millimetres on the band
};

std::unique_ptr<TReport> NewForm(int columns, double columnSpaceMm, double bandHeightMm) {
  auto report = std::make_unique<TReport>();
  report->ReportTitle = QStringLiteral("Просмотр отчетов");
  report->Page.SetPaperSize(PaperSize::A4);
  report->Page.SetColumns(columns);
  report->Page.SetColumnSpace(columnSpaceMm);
  report->CreateBand(QStringLiteral("DetailBand")).SetHeight(bandHeightMm);
  return report;
}

TRepLabel& AddField(TReport& report, int field, Place at, int fontHeight = -11,
                    unsigned style = 0) {
  auto label = std::make_unique<TRepPrnLabel>(
      report.UniqueElementName(QChar::fromLatin1(PrintFieldLetter(field))));
  label->Caption = QString::fromUtf8(PrintFieldCaption(field));
  label->Size = {at.height * 10, at.left * 10, at.top * 10, at.width * 10};
  label->Font.Height = fontHeight;
  label->Font.Style = style;
  return report.DetailBand()->AddLabel(std::move(label));
}

// A user field with a fixed text (a caption, or an empty box for its frame).
TRepLabel& Text(TReport& report, const char* text, Place at, int fontHeight = -11,
                unsigned style = 0) {
  TRepLabel& label = AddField(report, kPrintUserField, at, fontHeight, style);
  label.Caption = QString::fromUtf8(text);
  return label;
}

TRepFrame AllSides(std::int32_t width, PenStyle style) {
  TRepFrame f;
  f.DrawTop = f.DrawBottom = f.DrawLeft = f.DrawRight = true;
  f.Width = width;
  f.Style = style;
  return f;
}

}  // namespace

std::unique_ptr<TReport> AddressLabelsForm() {
  auto r = NewForm(2, 6, 38);
  r->DetailBand()->Frame = AllSides(-1, PenStyle::Dot);  // where to cut
  AddField(*r, kFieldName, {3, 3, 86, 10}, -14, kFsBold);
  AddField(*r, kFieldIndex, {3, 14, 18, 5});
  AddField(*r, kFieldAddress, {22, 14, 67, 10});
  AddField(*r, kFieldCountry, {3, 26, 40, 5});
  AddField(*r, kFieldRegion, {45, 26, 44, 5});
  return r;
}

std::unique_ptr<TReport> EnterpriseCardForm() {
  auto r = NewForm(1, 0, 92);
  r->DetailBand()->Frame = AllSides(1, PenStyle::Solid);
  Text(*r, "Карточка предприятия", {3, 3, 60, 6}, -12, kFsItalic);
  TRepLabel& name = AddField(*r, kFieldName, {3, 10, 184, 12}, -16, kFsBold);
  name.Frame.DrawBottom = true;
  // Every value has its caption, so that no bare number is left to guess.
  Text(*r, "Форма собственности:", {3, 24, 40, 5});
  AddField(*r, kFieldOrgForm, {44, 24, 64, 5});
  Text(*r, "Год основания:", {110, 24, 30, 5});
  AddField(*r, kFieldYear, {141, 24, 45, 5});
  Text(*r, "Адрес:", {3, 31, 20, 5});
  AddField(*r, kFieldIndex, {24, 31, 16, 5});
  AddField(*r, kFieldAddress, {41, 31, 145, 10});
  Text(*r, "Код города:", {3, 43, 22, 5});
  AddField(*r, kFieldCityCode, {26, 43, 18, 5});
  Text(*r, "Телефоны:", {46, 43, 20, 5});
  AddField(*r, kFieldPhones, {67, 43, 55, 10});
  Text(*r, "Факс:", {124, 43, 12, 5});
  AddField(*r, kFieldFax, {137, 43, 49, 10});
  Text(*r, "Руководитель:", {3, 55, 25, 5});
  AddField(*r, kFieldHead, {29, 55, 80, 5});
  Text(*r, "Численность:", {112, 55, 25, 5});
  AddField(*r, kFieldStaff, {138, 55, 48, 5});
  Text(*r, "E-mail:", {3, 62, 14, 5});
  AddField(*r, kFieldEMail, {18, 62, 80, 5});
  Text(*r, "Сайт:", {100, 62, 12, 5});
  AddField(*r, kFieldUrl, {113, 62, 73, 5});
  Text(*r, "Продукция:", {3, 69, 30, 5});
  // The products inside a box, two millimetres clear of its lines.
  Text(*r, "", {3, 75, 184, 15}).Frame = AllSides(-1, PenStyle::Solid);
  AddField(*r, kFieldProducts, {5, 76, 180, 13});
  return r;
}

void WriteSampleForms(const std::string& dir) {
  const std::string folder = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  SaveFormFile(folder + "Адресные наклейки.rpt", *AddressLabelsForm());
  SaveFormFile(folder + "Карточка предприятия.rpt", *EnterpriseCardForm());
}

}  // namespace zorel
