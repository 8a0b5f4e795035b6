#include "data/field_table.h"

#include "data/data_module.h"
#include "data/record_details.h"
#include "data/text1251.h"

namespace zorel {
namespace {

constexpr const char* kUserFieldCaption = "Поле пользователя";
constexpr const char* kUserFieldText = "Строка пользователя";

bool IsPrintField(int field) { return field >= 0 && field < kPrintFieldCount; }

}  // namespace

std::string_view PrintFieldCaption(int field) {
  if (!IsPrintField(field)) return {};
  return field == kPrintUserField ? kUserFieldCaption : FieldOf(field).printName;
}

char PrintFieldLetter(int field) { return static_cast<char>('a' + field); }

std::string PrintFieldText(const Tdm& dm, std::int32_t record, int field) {
  if (!IsPrintField(field)) return {};
  return PrintFieldText(dm, dm.GetRecordView(record), record, field);
}

std::string PrintFieldText(const Tdm& dm, const RecordView& view, std::int32_t record, int field) {
  if (!IsPrintField(field) || !view.valid()) return {};
  if (field == kPrintUserField) return FromUtf8(kUserFieldText).value_or("");
  if (field == kFieldProducts) return JoinedProductsText(dm, view);
  return FieldText(dm, view, record, field);
}

}  // namespace zorel
