#include "data/logger.h"

namespace zorel {
// TEMPORARY placeholder, replaced by the real logger.
void TDummyLogger::Log(std::string_view) {}
void TDummyLogger::LogException(std::string_view, std::string_view, std::string_view,
                                std::string_view) {}
TDummyLogger& Logger() {
  static TDummyLogger dummy;
  return dummy;
}
}  // namespace zorel
