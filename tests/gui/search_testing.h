// Helpers for the search dialog tests: prompts that record the messages a dialog tells the user
// instead of showing them.
#pragma once

#include <QList>
#include <QString>
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

}  // namespace zorel::test_support
