// Reading the process's memory figures.
#include "process_memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace zorel::guibench {

std::int64_t ResidentBytes() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}

std::int64_t HeapInUseBytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

}  // namespace zorel::guibench
