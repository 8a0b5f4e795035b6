// The hourglass for the length of a scope: set on construction, restored on destruction, so
// an exception on the way out still gives the user the normal cursor back.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace zorel {

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace zorel
