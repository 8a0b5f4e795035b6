// FormError: a print form file could not be read or written. The message is the stream
// reader's or writer's text (UTF-8), for example "Invalid stream format".
#pragma once

#include <stdexcept>

namespace zorel {

class FormError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";

}  // namespace zorel
