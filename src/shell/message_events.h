// The three messages between the main window and the list windows, as event types with the
// fixed numbers the program has always used. They are delivered synchronously with
// QCoreApplication::sendEvent, so the sender sees the handler's Result when the call returns.
#pragma once

#include <QEvent>

namespace zorel {

class TMDIChild;

inline constexpr QEvent::Type UM_LISTSTATUS = static_cast<QEvent::Type>(0x2B12);
inline constexpr QEvent::Type UM_SAVELISTAS = static_cast<QEvent::Type>(0x2B13);
inline constexpr QEvent::Type UM_IDLEDETAIL = static_cast<QEvent::Type>(0x2B15);

class WindowMessage : public QEvent {
 public:
  using QEvent::QEvent;
  int Result = 0;  // set by the handler
};

// List window to main window: the current row + 1 and the list size; size -1 when the window
// closes.
class ListStatusEvent : public WindowMessage {
 public:
  ListStatusEvent(int currentRowPlusOne, int count)
      : WindowMessage(UM_LISTSTATUS), WParam(currentRowPlusOne), LParam(count) {}
  const int WParam;
  const int LParam;
};

// List window to main window: run Save As for this window.
class SaveListAsEvent : public WindowMessage {
 public:
  explicit SaveListAsEvent(TMDIChild* window) : WindowMessage(UM_SAVELISTAS), Window(window) {}
  TMDIChild* const Window;
};

// Main window to the active list window when the event queue has just become empty.
class IdleDetailEvent : public WindowMessage {
 public:
  IdleDetailEvent() : WindowMessage(UM_IDLEDETAIL) {}
};

}  // namespace zorel
