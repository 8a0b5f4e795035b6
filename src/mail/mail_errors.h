// The errors of the mail client. Every one carries the text the mail dialog logs; socket-level
// failures also carry the socket error number in the numbering the log texts use (10061
// connection refused, 10060 timed out, 10054 connection reset, 11001 host not found, ...).
#pragma once

#include <QString>
#include <stdexcept>

namespace zorel {

// A protocol failure: a refusing reply line, "Not Connected", "Incomplete Header", ...
class EMailError : public std::runtime_error {
 public:
  explicit EMailError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
  const QString& Text() const { return text_; }

 private:
  QString text_;
};

class ESockError : public EMailError {
 public:
  ESockError(const QString& text, int number) : EMailError(text), number_(number) {}
  int Number() const { return number_; }

 private:
  int number_;
};

// A wait ended by a cancel or by the time-out.
class EAbortError : public ESockError {
 public:
  using ESockError::ESockError;
};

inline constexpr int kSocketHostNotFound = 11001;

// "number:description", or "Unknown Error No. " + number for a number outside the table.
QString SocketErrorText(int number);

}  // namespace zorel
