// The benchmark's list files: two of the base's size, written for the merge operations. The
// base itself comes from common/synthetic_base.h.
#pragma once

#include <cstdint>
#include <string>

#include "options.h"

namespace zorel::bench {

struct ListFiles {
  std::string wholeBase;  // every record number, ascending
  std::string random;     // as many numbers drawn at random from the base, duplicates included
};

// Writes both files into DATA_DIR/lists through the core's list file writer.
ListFiles WriteListFiles(const Options& o, std::int32_t recordCount);

}  // namespace zorel::bench
