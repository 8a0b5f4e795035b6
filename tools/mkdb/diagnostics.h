// Error reports about the readable sources: each names the file, the line and the column
// (counted in characters, from 1) where the fault is. Readers go on after a bad value so that
// one run reports many faults; only the first kMaxShown are printed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace zorel::mkdb {

struct Place {
  std::string file;
  int line = 0;    // 0: the file as a whole
  int column = 0;  // 0: the line as a whole
};

class Diagnostics {
 public:
  static constexpr std::size_t kMaxShown = 50;

  void Error(const Place& place, const std::string& message);
  bool HasErrors() const { return count_ > 0; }
  std::size_t Count() const { return count_; }
  // "file:line:column: message" lines, then a count of the ones not shown.
  void Print(std::FILE* out) const;

 private:
  std::vector<std::string> shown_;
  std::size_t count_ = 0;
};

}  // namespace zorel::mkdb
