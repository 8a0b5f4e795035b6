// The process's memory figures, for the memory cost of record lists and list windows: resident
// size from /proc/self and the bytes the allocator has handed out.
#pragma once

#include <cstdint>

namespace zorel::bench {

std::int64_t ResidentBytes();      // VmRSS
std::int64_t PeakResidentBytes();  // VmHWM
// Sets the peak back to the current resident size; false where the kernel does not allow it.
bool ResetPeakResident();
std::int64_t HeapInUseBytes();  // allocated and not freed, mapped blocks included

}  // namespace zorel::bench
