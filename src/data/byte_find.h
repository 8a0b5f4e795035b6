// Finding a run of bytes in a long block, as the name column scan does over every name of the
// base at once: thirty-two starts at a time are filtered on the run's first two bytes and its
// last, and only those are compared whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorel {

// The first position at or after `from` where `needle` (not empty) occurs within the n bytes
// at `hay`; n when there is none.
std::size_t FindBytes(const std::uint8_t* hay, std::size_t n, std::string_view needle,
                      std::size_t from);

}  // namespace zorel
