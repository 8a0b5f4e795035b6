#include "data/conditions.h"

#include "data/errors.h"

namespace zorel {

const std::array<const char*, kOperatorCount> kOperatorWords = {"содержит", "равно", "пусто", ">",
                                                                "<",        ">=",    "<="};

std::vector<Condition> ParseConditions(const ConditionTable&) {
  throw BadInput("TEMPORARY: conditions not yet implemented");
}

}  // namespace zorel
