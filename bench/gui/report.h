// The GUI benchmark's printed report: one row per target (what was measured, the median of the
// runs or the count, the target and whether it was met), then notes with the sub-steps and
// counts behind the rows.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zorel::guibench {

struct Row {
  std::string measure;
  std::string value;
  std::string target;
  bool met = false;
};

struct Report {
  std::vector<Row> rows;
  std::vector<std::string> notes;

  void Add(Row row) { rows.push_back(std::move(row)); }
  void Note(std::string note) { notes.push_back(std::move(note)); }
};

void PrintReport(std::ostream& out, const Report& report);

}  // namespace zorel::guibench
