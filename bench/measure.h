// Timing of the benchmark: operations run in rounds, every operation of a group once per
// round, so background load on the machine falls on ours and its peers alike; each gets the
// median wall time and the median processor time of its runs, after one untimed warm-up run.
// Processor time shows what an operation costs when other programs compete for the cores.
// Operations run by another process (a peer that times itself, a whole program) report their
// own times; their processor time is that of the whole process, every thread counted.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace zorel::bench {

// What an operation run by another process measured of itself.
struct Reported {
  double wallMs = 0;
  double cpuMs = 0;
  std::size_t resultSize = 0;
};

struct Operation {
  std::function<void()> prepare;            // untimed, before every run (may be empty)
  std::function<std::size_t()> run;         // timed; gives the size of its result
  std::function<Reported()> runReported{};  // instead of run: times itself
};

struct Timing {
  double medianMs = 0;         // wall time
  double cpuMedianMs = 0;      // processor time of the process, every thread counted
  std::size_t resultSize = 0;  // of the last run
};

std::vector<Timing> MeasureRounds(const std::vector<Operation>& group, int runs);

double Median(std::vector<double> values);

}  // namespace zorel::bench
