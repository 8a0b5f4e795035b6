#include "process_memory.h"

#include <fstream>
#include <string>

namespace zorel::bench {
namespace {

std::size_t StatusKb(const std::string& key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) == 0 && line.size() > key.size() &&
        line[key.size()] == ':') {
      return std::stoull(line.substr(key.size() + 1)) * 1024;
    }
  }
  return 0;
}

}  // namespace

std::size_t ResidentBytes() { return StatusKb("VmRSS"); }
std::size_t PeakResidentBytes() { return StatusKb("VmHWM"); }

bool ResetPeakResident() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.flush();
  return out.good();
}

}  // namespace zorel::bench
