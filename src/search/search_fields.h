// The fields of the requisites search as its dialog offers them (the rows of the field table
// that have a search name): names, the negation choices, which operations and values each
// field takes.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace zorel {

// The field's UTF-8 name in the dialog; null for a code the dialog does not offer.
const char* SearchFieldName(int field);

// The negation choices; the index is what the condition table stores.
inline constexpr int kNegated = 0;
inline constexpr int kAsIs = 1;
inline constexpr std::array<const char*, 2> kNegationItems = {"не", "             "};

// Operator codes offered for the field, in code order.
std::vector<int> OperationsForField(int field);
// Form of ownership, country and region: the value can be picked from their dictionary.
bool IsDictionaryField(int field);
// Year of foundation and staff number.
bool IsIntegerField(int field);
// True when the Windows-1251 value reads as a 32-bit integer the way the matcher reads it
// (blanks and control characters around it allowed).
bool IsIntegerValue(std::string_view value);

}  // namespace zorel
