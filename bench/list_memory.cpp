// What a whole-base record list costs: its RecordList bytes (capacity x 4) and how far the
// process's peak resident memory rises while it is built, filled from the base and loaded
// from a list file.
#include <malloc.h>

#include <stdexcept>

#include "common/process_memory.h"
#include "context.h"
#include "data/list_file.h"

namespace zorel::bench {
namespace {

// Peak resident growth while build() runs; the built list is handed back for its bytes.
template <class Build>
std::size_t PeakGrowth(Build build, std::size_t& listBytes) {
  // Free memory the allocator keeps would be reused without showing in the resident size.
  malloc_trim(0);
  if (!ResetPeakResident()) throw std::runtime_error("cannot reset the peak resident size");
  const std::size_t before = ResidentBytes();
  const RecordList list = build();
  listBytes = list.capacity() * sizeof(std::int32_t);
  const std::size_t peak = PeakResidentBytes();
  return peak > before ? peak - before : 0;
}

}  // namespace

std::vector<MemoryLine> ListMemory(Context& c) {
  const std::string n = std::to_string(c.dm.RecordCount());
  std::size_t filledBytes = 0, loadedBytes = 0;
  const std::size_t filledPeak = PeakGrowth(
      [&] {
        RecordList list;
        c.dm.FillAllRecords(list);
        return list;
      },
      filledBytes);
  const std::size_t loadedPeak = PeakGrowth(
      [&] { return LoadListFile(c.lists.wholeBase, c.dm.RecordCount()).records; }, loadedBytes);
  return {
      {"whole-base list of " + n + " (FillAllRecords): RecordList bytes", filledBytes,
       kListMemoryLimit},
      {"  peak resident growth while filling it", filledPeak, kListMemoryLimit},
      {"list of " + n + " loaded from a list file: RecordList bytes", loadedBytes,
       kListMemoryLimit},
      {"  peak resident growth while loading it", loadedPeak, kListMemoryLimit},
  };
}

}  // namespace zorel::bench
