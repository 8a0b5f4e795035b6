#include "common/process_memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace zorel::bench {
namespace {

std::int64_t StatusKb(const std::string& key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) == 0 && line.size() > key.size() &&
        line[key.size()] == ':') {
      return std::stoll(line.substr(key.size() + 1)) * 1024;
    }
  }
  return 0;
}

}  // namespace

std::int64_t ResidentBytes() { return StatusKb("VmRSS"); }
std::int64_t PeakResidentBytes() { return StatusKb("VmHWM"); }

bool ResetPeakResident() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return out.good();
}

std::int64_t HeapInUseBytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

}  // namespace zorel::bench
