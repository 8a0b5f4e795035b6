// Helpers for the search dialog tests: answering the message boxes a dialog shows (they run
// their own event loop, so a timer inside that loop reads and closes them).
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace zorel::test_support {

class MessageBoxCatcher {
 public:
  MessageBoxCatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || !box->isVisible()) continue;
        text_ = box->text();
        icon_ = box->icon();
        ++count_;
        box->done(QMessageBox::Ok);
      }
    });
    timer_.start(5);
  }

  int Count() const { return count_; }
  const QString& Text() const { return text_; }
  QMessageBox::Icon Icon() const { return icon_; }

 private:
  QTimer timer_;
  QString text_;
  QMessageBox::Icon icon_ = QMessageBox::NoIcon;
  int count_ = 0;
};

}  // namespace zorel::test_support
