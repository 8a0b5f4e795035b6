// Collects and prints the faults found in the sources.
#include "mkdb/diagnostics.h"

namespace zorel::mkdb {

void Diagnostics::Error(const Place& place, const std::string& message) {
  ++count_;
  if (shown_.size() >= kMaxShown) return;
  std::string text = place.file;
  if (place.line > 0) text += ":" + std::to_string(place.line);
  if (place.line > 0 && place.column > 0) text += ":" + std::to_string(place.column);
  shown_.push_back(text + ": " + message);
}

void Diagnostics::Print(std::FILE* out) const {
  for (const auto& line : shown_) std::fprintf(out, "%s\n", line.c_str());
  if (count_ > shown_.size()) {
    std::fprintf(out, "... and %zu more errors\n", count_ - shown_.size());
  }
}

}  // namespace zorel::mkdb
