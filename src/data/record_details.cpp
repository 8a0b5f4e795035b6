#include "data/record_details.h"

#include "data/data_module.h"
#include "data/field_table.h"
#include "data/text1251.h"

namespace zorel {

std::string FieldText(const Tdm& dm, const RecordView& view, std::int32_t record, int code) {
  if (!IsFieldCode(code)) return {};
  const FieldInfo& f = FieldOf(code);
  switch (f.storage) {
    case FieldStorage::Variable:
      return std::string(CutAtZero(view.Field(f.var)));
    case FieldStorage::FixedText:
      return std::string(CutAtZero(view.HeadText(f.offset, f.size)));
    case FieldStorage::Number: {
      const std::int32_t n = view.HeadNumber(f.offset, f.size);
      return code == kFieldYear && n == 0 ? std::string() : std::to_string(n);
    }
    case FieldStorage::Dictionary:
      return dm.GetEntry(f.dictionary, view.HeadNumber(f.offset, f.size) - 1);
    case FieldStorage::Remark:
      return dm.GetRemark(record);
    case FieldStorage::Products:
      return ProductsText(dm, view);
  }
  return {};
}

RecordDetails GetDetails(const Tdm& dm, std::int32_t record) {
  RecordDetails d;
  d.record = record;
  const RecordView r = dm.GetRecordView(record);
  auto field = [&](int code) { return FieldText(dm, r, record, code); };
  d.name = dm.GetFirmName(record);
  d.orgform = field(kFieldOrgForm);
  d.year = field(kFieldYear);
  d.staff = field(kFieldStaff);
  d.index = field(kFieldIndex);
  d.location = LocationText(dm, r);
  d.address = field(kFieldAddress);
  d.head = field(kFieldHead);
  d.code = field(kFieldCityCode);
  d.fax = field(kFieldFax);
  d.phones = field(kFieldPhones);
  d.email = field(kFieldEMail);
  d.url = field(kFieldUrl);
  d.advert = field(kFieldAdvert);
  d.hasAdvert = !r.Field(VarField::Advert).empty();
  d.products = field(kFieldProducts);
  d.remark = std::string(Strip(field(kFieldRemark)));
  return d;
}

namespace {

// Appends "<kind> <separator> <item name>" in place: a whole-base export builds millions.
void AppendProductText(std::string& text, const Tdm& dm, int kind, std::int64_t item) {
  const std::vector<std::string>& labels = dm.Header().kindLabels;
  if (kind >= 1 && static_cast<std::size_t>(kind) <= labels.size()) {
    text += TrimBlanks(labels[static_cast<std::size_t>(kind - 1)]);
  }
  text += ' ';
  text += dm.Header().kindSeparator;
  text += ' ';
  text += dm.ItemName(item);
}

// Appends each of the record's product entries in order, prefix(i) before each.
template <class Prefix>
void AppendProducts(std::string& text, const Tdm& dm, const RecordView& view, Prefix prefix) {
  const std::size_t n = view.ProductCount();
  for (std::size_t i = 0; i < n; ++i) {
    const ProductEntry e = view.Product(i);
    prefix(i);
    AppendProductText(text, dm, e.kind, static_cast<std::int64_t>(e.item) - 1);
  }
}

}  // namespace

std::string ProductText(const Tdm& dm, int kind, std::int64_t item) {
  std::string text;
  AppendProductText(text, dm, kind, item);
  return text;
}

std::string ProductsText(const Tdm& dm, const RecordView& view) {
  std::string text;
  AppendProducts(text, dm, view, [&](std::size_t i) {
    if (i > 0) text += "\r\n";
    text += std::to_string(i + 1) + ". ";
  });
  if (view.ProductCount() > 0) text += "\r\n";
  return text;
}

std::string JoinedProductsText(const Tdm& dm, const RecordView& view) {
  std::string text;
  AppendProducts(text, dm, view, [&](std::size_t i) {
    if (i > 0) text += "; ";
  });
  if (view.ProductCount() > 0) text += '.';
  return text;
}

std::string LocationText(const Tdm& dm, const RecordView& view) {
  std::string text = FieldText(dm, view, 0, kFieldCountry);
  if (!text.empty()) text += ", ";
  text += FieldText(dm, view, 0, kFieldRegion);
  return text;
}

std::string PrintFieldText(const Tdm& dm, std::int32_t record, int field) {
  if (!IsPrintField(field)) return {};
  return PrintFieldText(dm, dm.GetRecordView(record), record, field);
}

std::string PrintFieldText(const Tdm& dm, const RecordView& view, std::int32_t record, int field) {
  if (!IsPrintField(field) || !view.valid()) return {};
  if (field == kPrintUserField) return FromUtf8("Строка пользователя").value_or("");
  if (field == kFieldProducts) return JoinedProductsText(dm, view);
  return FieldText(dm, view, record, field);
}

}  // namespace zorel
