// Helpers for the search dialog tests: prompts that record the messages a dialog tells the user
// instead of showing them.
#pragma once

#include <QApplication>
#include <QList>
#include <QString>
#include <QTest>
#include <memory>

#include "components/user_prompts.h"

namespace zorel::test_support {

class ToldMessages {
 public:
  ToldMessages() : prompts_(std::make_shared<UserPrompts>()) {
    prompts_->tell = [this](QWidget*, MessageIcon icon, const QString& text) {
      icons_.append(icon);
      texts_.append(text);
    };
  }
  ToldMessages(const ToldMessages&) = delete;
  ToldMessages& operator=(const ToldMessages&) = delete;

  // Valid as long as this object lives.
  const std::shared_ptr<UserPrompts>& Prompts() const { return prompts_; }
  qsizetype Count() const { return texts_.size(); }
  QString Text() const { return texts_.value(texts_.size() - 1); }
  MessageIcon Icon() const { return icons_.value(icons_.size() - 1); }

 private:
  std::shared_ptr<UserPrompts> prompts_;
  QList<MessageIcon> icons_;
  QStringList texts_;
};

// Types text as a keyboard would: each letter to the widget that has the focus when it comes
// (the keys of Cyrillic letters carry their upper-case code, as the window system gives them).
inline void Type(const QString& text) {
  for (const QChar letter : text) {
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                        static_cast<Qt::Key>(letter.toUpper().unicode()), QString(letter),
                        Qt::NoModifier);
  }
}

}  // namespace zorel::test_support
