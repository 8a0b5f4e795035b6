#include "data/parallel.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace zorel {
namespace {

constexpr std::size_t kSerialBelow = 1 << 16;

}  // namespace

int PartCount(std::size_t count) {
  if (count < kSerialBelow) return 1;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void ForEachPart(std::size_t count, std::size_t grain,
                 const std::function<void(int, std::size_t, std::size_t)>& work) {
  const auto parts = static_cast<std::size_t>(PartCount(count));
  const std::size_t grains = (count + grain - 1) / grain;
  const std::size_t per = std::max<std::size_t>(1, (grains + parts - 1) / parts) * grain;
  std::vector<std::thread> helpers;
  int part = 1;
  for (std::size_t from = per; from < count; from += per, ++part) {
    const std::size_t to = std::min(count, from + per);
    try {
      helpers.emplace_back(work, part, from, to);
    } catch (const std::system_error&) {
      work(part, from, to);  // no thread to be had: this one does the part
    }
  }
  work(0, 0, std::min(count, per));
  for (std::thread& t : helpers) t.join();
}

}  // namespace zorel
