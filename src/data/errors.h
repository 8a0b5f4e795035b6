// Exceptions of the data store. Messages are UTF-8 program texts (file names included);
// data texts inside the store stay Windows-1251 until they reach a boundary.
#pragma once

#include <stdexcept>
#include <string>

namespace zorel {

// The database or one of its files cannot be used (start-up failures, unreadable files).
class DataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A list file operation failed (missing, unopenable or unwritable list file).
class EChildError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A caller passed something the store refuses before touching any data: a bad condition,
// a malformed product key, a remark too long for its entry.
class BadInput : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

}  // namespace zorel
