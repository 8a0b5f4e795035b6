#include "measure.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace zorel::bench {
namespace {

double ProcessCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Sample {
  double wallMs;
  double cpuMs;
};

Sample TimeOnce(const Operation& op, std::size_t& resultSize) {
  if (op.prepare) op.prepare();
  if (op.runReported) {
    const Reported r = op.runReported();
    resultSize = r.resultSize;
    return {r.wallMs, r.cpuMs};
  }
  const double cpuStart = ProcessCpuMs();
  const auto start = std::chrono::steady_clock::now();
  resultSize = op.run();
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double, std::milli>(end - start).count(),
          ProcessCpuMs() - cpuStart};
}

}  // namespace

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::vector<Timing> MeasureRounds(const std::vector<Operation>& group, int runs) {
  std::vector<Timing> timings(group.size());
  std::vector<std::vector<double>> wall(group.size()), cpu(group.size());
  for (std::size_t i = 0; i < group.size(); ++i) TimeOnce(group[i], timings[i].resultSize);
  for (int round = 0; round < runs; ++round) {
    for (std::size_t i = 0; i < group.size(); ++i) {
      const Sample s = TimeOnce(group[i], timings[i].resultSize);
      wall[i].push_back(s.wallMs);
      cpu[i].push_back(s.cpuMs);
    }
  }
  for (std::size_t i = 0; i < group.size(); ++i) {
    timings[i].medianMs = Median(wall[i]);
    timings[i].cpuMedianMs = Median(cpu[i]);
  }
  return timings;
}

}  // namespace zorel::bench
