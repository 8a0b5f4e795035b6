// Splitting a pass among the processor's cores: the range 0 .. count is cut into at most
// PartCount(count) consecutive parts, each a multiple of `grain` long except the last, and
// work(part, from, to) runs on each part at once. Short passes run on the calling thread as one
// part: starting a thread costs more than a few thousand records.
#pragma once

#include <cstdint>
#include <functional>

namespace zorel {

int PartCount(std::size_t count);
void ForEachPart(std::size_t count, std::size_t grain,
                 const std::function<void(int part, std::size_t from, std::size_t to)>& work);

}  // namespace zorel
