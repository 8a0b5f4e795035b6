#include "report.h"

#include <cstdio>
#include <string_view>

namespace zorel::bench {
namespace {

std::string Fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

std::string Ms(double ms) { return Fixed(ms, ms < 10 ? 2 : 1); }

std::string Target(const Row& row) {
  if (!row.maxRatio) return "-";
  if (*row.maxRatio < 1)
    return "<= " + Fixed(*row.maxRatio, 3) + " (" + Fixed(1 / *row.maxRatio, 0) + "x faster)";
  return "<= " + Fixed(*row.maxRatio, 1);
}

std::string Answer(const Row& row) {
  std::string text = std::to_string(row.ours.resultSize);
  if (row.sameAnswer)
    text += *row.sameAnswer ? " (same)"
                            : " (DIFFERS: " + std::to_string(row.peerTiming.resultSize) + ")";
  return text;
}

void Line(std::ostream& out, const std::vector<std::string>& cells,
          const std::vector<int>& widths) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int pad = widths[i] - static_cast<int>(cells[i].size());
    // Text columns left, numbers right.
    const bool left = i == 0 || i == 2 || i == 5 || i == 6 || i == 8;
    if (!left) out << std::string(static_cast<std::size_t>(std::max(pad, 0)), ' ');
    out << cells[i];
    if (left && i + 1 < cells.size())
      out << std::string(static_cast<std::size_t>(std::max(pad, 0)), ' ');
    if (i + 1 < cells.size()) out << "  ";
  }
  out << '\n';
}

}  // namespace

double Row::Ratio() const {
  return peerTiming.medianMs > 0 ? ours.medianMs / peerTiming.medianMs : 0;
}

double Row::CpuRatio() const {
  return peerTiming.cpuMedianMs > 0 ? ours.cpuMedianMs / peerTiming.cpuMedianMs : 0;
}

void PrintRows(std::ostream& out, const std::vector<Row>& rows) {
  std::vector<std::vector<std::string>> table;
  table.push_back({"operation", "ours ms", "peer", "peer ms", "ours/peer", "target", "met",
                   "cpu ratio", "results"});
  for (const Row& row : rows) {
    table.push_back({row.operation, Ms(row.ours.medianMs), row.peer, Ms(row.peerTiming.medianMs),
                     Fixed(row.Ratio(), 3), Target(row),
                     row.maxRatio ? (row.Met() ? "yes" : "NO") : "-", Fixed(row.CpuRatio(), 3),
                     Answer(row)});
  }
  std::vector<int> widths(table[0].size(), 0);
  for (const auto& cells : table) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      widths[i] = std::max(widths[i], static_cast<int>(cells[i].size()));
    }
  }
  for (std::size_t r = 0; r < table.size(); ++r) {
    Line(out, table[r], widths);
    if (r == 0) {
      int total = 0;
      for (int w : widths) total += w + 2;
      out << std::string(static_cast<std::size_t>(total - 2), '-') << '\n';
    }
  }
}

void PrintTimes(std::ostream& out, const std::vector<TimeLine>& lines) {
  for (const TimeLine& t : lines) {
    out << t.what << ": " << t.ms << " ms";
    if (t.limitMs > 0) {
      out << " (target <= " << t.limitMs << ", met " << (t.ms <= t.limitMs ? "yes" : "NO") << ")";
    }
    out << '\n';
  }
}

void PrintMemory(std::ostream& out, const std::vector<MemoryLine>& lines) {
  for (const MemoryLine& m : lines) {
    out << m.what << ": " << m.bytes << " bytes (target <= " << m.limit << ", met "
        << (m.bytes <= m.limit ? "yes" : "NO") << ")\n";
  }
}

}  // namespace zorel::bench
