// The process's memory as the GUI benchmark reports it: resident size from /proc/self and the
// bytes the allocator has handed out.
#pragma once

#include <cstdint>

namespace zorel::guibench {

std::int64_t ResidentBytes();   // VmRSS
std::int64_t HeapInUseBytes();  // allocated and not freed, mapped blocks included

}  // namespace zorel::guibench
