// Seeds of the forms target: print form files written by the report engine's own writer.
#pragma once

#include <string>

namespace zorel::fuzz {

// Writes dir/seed-N for the forms target.
void FormSeeds(const std::string& dir);

}  // namespace zorel::fuzz
