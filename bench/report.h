// The benchmark's printed report: one row per operation and peer, with both wall medians, their
// ratio ours / peer, the target for that ratio (when there is one) and whether it was met, the
// same ratio of processor times as a check against a busy machine; and the memory lines of a
// million-record list.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "measure.h"

namespace zorel::bench {

struct Row {
  std::string operation;
  Timing ours;
  std::string peer;
  Timing peerTiming;
  std::optional<double> maxRatio;  // target: ours / peer at most this
  // Whether both sides gave the same answer; empty when they answer different questions
  // (the raw pass, the opening of files).
  std::optional<bool> sameAnswer;

  double Ratio() const;
  double CpuRatio() const;
  bool Met() const { return !maxRatio || Ratio() <= *maxRatio; }
};

struct MemoryLine {
  std::string what;
  std::size_t bytes = 0;
  std::size_t limit = 0;
};

// An operation with a fixed time target instead of a peer.
struct TimeLine {
  std::string what;
  double ms = 0;
  double limitMs = 0;  // 0: a figure for comparison, with no target
};

void PrintRows(std::ostream& out, const std::vector<Row>& rows);
void PrintTimes(std::ostream& out, const std::vector<TimeLine>& lines);
void PrintMemory(std::ostream& out, const std::vector<MemoryLine>& lines);

}  // namespace zorel::bench
