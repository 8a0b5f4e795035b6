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
  TRepLabel& title = AddField(*r, kPrintUserField, {3, 3, 60, 6}, -12, kFsItalic);
  title.Caption = QStringLiteral("Карточка предприятия");
  TRepLabel& name = AddField(*r, kFieldName, {3, 10, 184, 12}, -16, kFsBold);
  name.Frame.DrawBottom = true;
  AddField(*r, kFieldOrgForm, {3, 24, 90, 5});
  AddField(*r, kFieldYear, {100, 24, 40, 5});
  AddField(*r, kFieldIndex, {3, 31, 20, 5});
  AddField(*r, kFieldAddress, {25, 31, 160, 10});
  AddField(*r, kFieldCityCode, {3, 43, 25, 5});
  AddField(*r, kFieldPhones, {30, 43, 75, 10});
  AddField(*r, kFieldFax, {110, 43, 75, 10});
  AddField(*r, kFieldHead, {3, 55, 90, 5});
  AddField(*r, kFieldStaff, {100, 55, 40, 5});
  AddField(*r, kFieldEMail, {3, 62, 90, 5});
  AddField(*r, kFieldUrl, {100, 62, 85, 5});
  AddField(*r, kFieldProducts, {3, 70, 184, 19}).Frame = AllSides(-1, PenStyle::Solid);
  return r;
}

void WriteSampleForms(const std::string& dir) {
  const std::string folder = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  SaveFormFile(folder + "Адресные наклейки.rpt", *AddressLabelsForm());
  SaveFormFile(folder + "Карточка предприятия.rpt", *EnterpriseCardForm());
}

}  // namespace zorel
