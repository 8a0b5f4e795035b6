#include "data/field_table.h"

namespace zorel {

std::string_view PrintFieldCaption(int field) {
  if (!IsPrintField(field)) return {};
  return field == kPrintUserField ? "Поле пользователя" : FieldOf(field).printName;
}

char PrintFieldLetter(int field) { return static_cast<char>('a' + field); }

}  // namespace zorel
