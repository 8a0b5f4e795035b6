// The test operations of the record matcher and the table that picks one for an operator.
// A text test looks at n bytes of a field (the pointer must reach n bytes) and a value that is
// prepared once per search; a numeric test compares the field's number with the value's.
// The tests keep no state between calls, so they may run anywhere at any time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorel {

// Operator codes: positions in the operator list.
enum OperatorCode : int {
  kOpContains = 0,
  kOpEquals = 1,
  kOpEmpty = 2,
  kOpGreater = 3,
  kOpLess = 4,
  kOpGreaterEq = 5,
  kOpLessEq = 6,
};
inline constexpr int kOperatorCount = 7;

// Contains-tests examine at most this many bytes of a field, stopping at a zero byte.
inline constexpr std::size_t kContainsWindow = 4095;

// A condition's value as the text tests use it, prepared once: as given and upper-cased, and
// for the contains-tests the part before any zero byte (a zero ends a text there) with the
// bytes a match can start and end with.
struct TestValue {
  explicit TestValue(std::string_view value);
  std::string text;
  std::string upper;
  std::size_t sought = 0;          // bytes before the first zero byte
  const std::uint8_t* upperTable;  // the case table, looked up once
  // The bytes a match may start with (twice) and end with (twice), each repeated for the
  // contains-tests' 16-byte block filter: as given, and in any case. The latter is set only when
  // neither the first nor the last byte has more than two cases (anyCaseFilter).
  using Block = std::array<std::uint8_t, 16>;
  std::array<Block, 4> caseEnds{};
  std::array<Block, 4> anyCaseEnds{};
  bool anyCaseFilter = false;
};

// True when n > 0 and the value (not empty) occurs in the field text.
bool TextContains(const std::uint8_t* field, const TestValue& value, std::size_t n);
bool TextContainsCase(const std::uint8_t* field, const TestValue& value, std::size_t n);
// True when the value has n bytes and all n bytes of the field, zero bytes included, equal it.
bool TextEquals(const std::uint8_t* field, const TestValue& value, std::size_t n);
bool TextEqualsCase(const std::uint8_t* field, const TestValue& value, std::size_t n);
// True when n = 0.
bool TextEmpty(const std::uint8_t* field, const TestValue& value, std::size_t n);

bool NumEquals(std::int32_t field, std::int32_t value);
bool NumGreater(std::int32_t field, std::int32_t value);
bool NumLess(std::int32_t field, std::int32_t value);
bool NumGreaterEq(std::int32_t field, std::int32_t value);
bool NumLessEq(std::int32_t field, std::int32_t value);

using TextTest = bool (*)(const std::uint8_t* field, const TestValue& value, std::size_t n);
using NumTest = bool (*)(std::int32_t field, std::int32_t value);

// The matcher table: the test of an operator code on a text field (by case sensitivity) or on
// a numeric field; null where there is none (>, <, >=, <= on texts; содержит, пусто on numbers;
// codes outside 0..6).
TextTest TextTestFor(int op, bool caseSensitive);
NumTest NumTestFor(int op);

// A text test applied to a whole field.
inline bool RunTextTest(TextTest test, std::string_view field, const TestValue& value) {
  return test(reinterpret_cast<const std::uint8_t*>(field.data()), value, field.size());
}

}  // namespace zorel
