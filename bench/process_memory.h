// The process's resident memory, read from /proc/self, for the memory cost of a record list.
#pragma once

#include <cstddef>

namespace zorel::bench {

std::size_t ResidentBytes();      // VmRSS
std::size_t PeakResidentBytes();  // VmHWM
// Sets the peak back to the current resident size; false where the kernel does not allow it.
bool ResetPeakResident();

}  // namespace zorel::bench
