// RowSink: where the export's rows go, one kind of file each. Cells arrive as the record
// texts of the core (Windows-1251); captions as UTF-8.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace zorel {

class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void Header(const std::vector<std::string>& captions) = 0;
  virtual void Row(std::span<const std::string> cells) = 0;
  // Puts the whole file in place; until then the old one stands. Throws ExportError.
  virtual void Finish() = 0;
};

}  // namespace zorel
