#include "shell/application.h"

#include <cxxabi.h>

#include <QHelpEvent>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "data/logger.h"
#include "shell/russian_locale.h"

namespace zorel {
namespace {

// Class names as the log shows them: without the program's namespace.
std::string ShortClassName(std::string name) {
  const std::string prefix = "zorel::";
  if (name.rfind(prefix, 0) == 0) name.erase(0, prefix.size());
  return name;
}

std::string ExceptionClassName(const std::exception& e) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), std::free);
  return ShortClassName(status == 0 && demangled ? demangled.get() : typeid(e).name());
}

class HintPauseStyle : public QProxyStyle {
 public:
  HintPauseStyle(QStyle* base, int pause) : QProxyStyle(base), pause_(pause) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return pause_;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

 private:
  int pause_;
};

}  // namespace

// The locale variables are set before QApplication reads them.
Application::Application(int& argc, char** argv) : QApplication((UseRussianLocale(), argc), argv) {
  KeepCNumbers();
  exceptionView_ = [](const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(), ApplicationTitle(), message);
  };
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ReportException(receiver, &e);
  } catch (...) {
    ReportException(receiver, nullptr);
  }
  return false;
}

void Application::SetExceptionView(std::function<void(const QString&)> view) {
  exceptionView_ = std::move(view);
}

void Application::SetHintPause(int milliseconds) {
  setStyle(new HintPauseStyle(QStyleFactory::create(style()->name()), milliseconds));
}

void Application::SetHintHidePause(int milliseconds) {
  if (hintHidePause_ < 0) installEventFilter(this);
  hintHidePause_ = milliseconds;
}

bool Application::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->toolTip().isEmpty()) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), widget->toolTip(), widget,
                         QRect(), hintHidePause_);
      return true;
    }
  }
  return QApplication::eventFilter(watched, event);
}

QString ApplicationTitle() {
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance())) {
    if (!app->Title().isEmpty()) return app->Title();
  }
  return QCoreApplication::applicationName();
}

void ReportException(const QObject* sender, const std::exception* e) {
  const std::string senderClass = sender ? ShortClassName(sender->metaObject()->className()) : "";
  const std::string exceptionClass = e ? ExceptionClassName(*e) : "unknown";
  const std::string message = e ? e->what() : "Неизвестная ошибка";
  Logger().LogException("EE:", senderClass, exceptionClass, message);
  const QString text = QString::fromStdString(message);
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance())) {
    if (app->exceptionView_) app->exceptionView_(text);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), ApplicationTitle(), text);
}

}  // namespace zorel
