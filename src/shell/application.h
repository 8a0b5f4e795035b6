// Application: the program's application object. It carries the application title and catches
// every exception that leaves an event handler: the exception is logged with the "EE:" lines
// and shown in a message box, and the event loop goes on. Code that runs outside event
// delivery (the idle hook) or whose failure must not end its caller's work (a close) wraps
// itself in Guarded, which reports the same way.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace zorel {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // "Зорель", later with the base's edition.
  void SetTitle(const QString& title) { title_ = title; }
  QString Title() const { return title_; }

  // How an exception's message is shown; a message box unless replaced (tests replace it).
  void SetExceptionView(std::function<void(const QString& message)> view);

  // The delay before a tool tip appears.
  void SetHintPause(int milliseconds);
  // How long a widget's tool tip stays while the mouse rests on the widget.
  void SetHintHidePause(int milliseconds);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend void ReportException(const QObject* sender, const std::exception* e);
  QString title_;
  std::function<void(const QString&)> exceptionView_;
  int hintHidePause_ = -1;
};

// The running Application's title, or the application name under another application object.
QString ApplicationTitle();

// Logs "EE:" lines (sender's class, exception's class, message) and shows the message; e null
// stands for an exception of an unknown type.
void ReportException(const QObject* sender, const std::exception* e);

template <class F>
void Guarded(const QObject* sender, F&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    ReportException(sender, &e);
  } catch (...) {
    ReportException(sender, nullptr);
  }
}

}  // namespace zorel
