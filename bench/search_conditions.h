// The conditions of the measured requisites searches, as the dialog's table holds them: the
// same for the core in-process and for the command-line tool.
#pragma once

#include <cstdint>
#include <string>

#include "data/conditions.h"
#include "data/record.h"

namespace zorel::bench {

// Any letter case.
inline ConditionRow Contains(int field, const std::string& value) {
  return {std::to_string(field), "1", std::to_string(kOpContains), value, "0"};
}

inline ConditionRow StaffAbove(std::int32_t x) {
  return {std::to_string(kFieldStaff), "1", std::to_string(kOpGreater), std::to_string(x), "0"};
}

}  // namespace zorel::bench
