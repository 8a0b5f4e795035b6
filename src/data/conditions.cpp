// Reading and checking a condition table. Every cell that holds a code or a number is checked
// here, so the matcher never meets a bad condition half-way through a base.
#include "data/conditions.h"

#include "data/decimal.h"
#include "data/errors.h"
#include "data/record.h"
#include "data/text1251.h"
#include "data/text_ops.h"

namespace zorel {

const std::array<const char*, kOperatorCount> kOperatorWords = {"содержит", "равно", "пусто", ">",
                                                                "<",        ">=",    "<="};

namespace {

constexpr std::size_t kMaxValueLength = 255;

enum Cell { kCellField = 0, kCellExpected = 1, kCellOperator = 2, kCellValue = 3, kCellCase = 4 };

[[noreturn]] void Refuse(std::size_t row, const std::string& what, const std::string& cell) {
  throw BadInput("Условие в строке " + std::to_string(row + 1) + ": " + what + " «" + ToUtf8(cell) +
                 "»");
}

// A cell that must start with "0" or "1".
int Flag(const ConditionRow& cells, Cell cell, std::size_t row, const char* what) {
  const std::string& text = cells[cell];
  if (text.empty() || (text[0] != '0' && text[0] != '1')) Refuse(row, what, text);
  return text[0] - '0';
}

int Code(const ConditionRow& cells, Cell cell, std::size_t row, int limit, const char* what) {
  const auto code = ParseDecimal32(Strip(cells[cell]));
  if (!code || *code < 0 || *code >= limit) Refuse(row, what, cells[cell]);
  return *code;
}

}  // namespace

FieldKind KindOfField(int fieldCode) {
  return IsFieldCode(fieldCode) ? FieldOf(fieldCode).kind() : FieldKind::Text;
}

bool OperatorAllowed(int fieldCode, int op) {
  if (!IsFieldCode(fieldCode)) return false;
  return KindOfField(fieldCode) == FieldKind::Number ? NumTestFor(op) != nullptr
                                                     : TextTestFor(op, false) != nullptr;
}

std::vector<Condition> ParseConditions(const ConditionTable& table) {
  std::vector<Condition> conditions;
  for (std::size_t row = 0; row < table.size(); ++row) {
    const ConditionRow& cells = table[row];
    if (cells[kCellField].empty()) continue;
    Condition c;
    c.field = Code(cells, kCellField, row, kFieldCount, "неверный код поля");
    c.expected = Flag(cells, kCellExpected, row, "неверный признак отрицания");
    c.op = Code(cells, kCellOperator, row, kOperatorCount, "неверный код операции");
    if (!OperatorAllowed(c.field, c.op)) {
      Refuse(row, "операция недопустима для этого поля", cells[kCellOperator]);
    }
    const bool caseFlag = Flag(cells, kCellCase, row, "неверный признак регистра") == 1;
    const std::string_view cut = std::string_view(cells[kCellValue]).substr(0, kMaxValueLength);
    c.value = std::string(Strip(cut));
    if (KindOfField(c.field) == FieldKind::Number) {
      const auto number = ParseDecimal32(c.value);
      if (!number) Refuse(row, "введено не числовое значение", cells[kCellValue]);
      c.number = *number;
    } else {
      c.caseSensitive = caseFlag;
    }
    conditions.push_back(std::move(c));
  }
  return conditions;
}

}  // namespace zorel
