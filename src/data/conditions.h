// The condition table of the requisites search and its validation. A table is a grid of text
// cells, five to a row; a row whose first cell is empty holds no condition. Every code and
// numeric value is checked before any record is read, so a bad table fails up front.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/field_table.h"
#include "data/text_ops.h"

namespace zorel {

// The operator words in code order (UTF-8).
extern const std::array<const char*, kOperatorCount> kOperatorWords;

// Cells: field code, expected outcome ("1"/"0"), operator code, value (Windows-1251), case
// flag ("0" ignore case, "1" case-sensitive).
using ConditionRow = std::array<std::string, 5>;
using ConditionTable = std::vector<ConditionRow>;

FieldKind KindOfField(int fieldCode);
// True when the matcher has a test for that operator on that field's kind: text fields take
// содержит, равно, пусто; numeric fields равно, >, <, >=, <=.
bool OperatorAllowed(int fieldCode, int op);

struct Condition {
  int field = 0;
  int expected = 1;  // 1 the test must hold, 0 it must not
  int op = 0;
  bool caseSensitive = false;  // always false for numeric fields
  std::string value;           // cut to 255 characters, then stripped
  std::int32_t number = 0;     // the value as a number, numeric fields only
};

// Throws BadInput naming the offending row and cell.
std::vector<Condition> ParseConditions(const ConditionTable& table);

}  // namespace zorel
