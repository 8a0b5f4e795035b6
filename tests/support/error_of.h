// The message of the error a piece of code throws, for one comparison per case.
#pragma once

#include <string>

namespace zorel::test_support {

// What body throws as an E, or "no error" when it returns.
template <typename E, typename Body>
std::string ErrorOf(Body&& body) {
  try {
    body();
  } catch (const E& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace zorel::test_support
