// Field names and per-field rules of the requisites search, on top of the core's rules.
#include "search/search_fields.h"

#include "data/conditions.h"
#include "data/decimal.h"
#include "data/field_table.h"
#include "data/text1251.h"

namespace zorel {

const char* SearchFieldName(int field) {
  return IsFieldCode(field) ? FieldOf(field).searchName : nullptr;
}

std::vector<int> OperationsForField(int field) {
  std::vector<int> ops;
  for (int op = 0; op < kOperatorCount; ++op) {
    if (OperatorAllowed(field, op)) ops.push_back(op);
  }
  return ops;
}

bool IsDictionaryField(int field) {
  return IsFieldCode(field) && FieldOf(field).storage == FieldStorage::Dictionary;
}

bool IsIntegerField(int field) { return KindOfField(field) == FieldKind::Number; }

bool IsIntegerValue(std::string_view value) {
  // The matcher reads at most 255 characters of a value and strips them before converting.
  return ParseDecimal32(Strip(value.substr(0, 255))).has_value();
}

}  // namespace zorel
