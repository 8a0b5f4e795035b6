// Writes the readable sources of a synthetic base (the format zorel-mkdb reads), so that
// building them gives the same files as generating the base directly.
#pragma once

#include <string>

#include "mkdb/synthetic.h"

namespace zorel::mkdb {

// List sources name each record in a comment up to this base size.
inline constexpr std::int64_t kCommentedListsUpTo = 100000;

// Throws std::runtime_error naming a file that cannot be written.
void EmitSources(const std::string& dir, SyntheticBase& base);

}  // namespace zorel::mkdb
