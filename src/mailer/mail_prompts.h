// The boxes, questions and file choices of the mail dialog, held as replaceable functions so
// that tests (and any caller that must not block) can answer them; Standard() gives the real
// dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace zorel {

struct MailPrompts {
  // A box with OK and Cancel; either answer only closes it.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> box;
  // An information box with OK.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> inform;
  // An error box with OK.
  std::function<void(QWidget* parent, const QString& text)> error;
  // True for Yes.
  std::function<bool(QWidget* parent, const QString& question)> confirm;
  // Existing files chosen in dir; empty when cancelled.
  std::function<QStringList(QWidget* parent, const QString& dir)> chooseFiles;
  // Shows the mail dialog modally.
  std::function<void(QDialog& form)> show;
  // The password for the login; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& user)> password;

  static std::shared_ptr<MailPrompts> Standard();
};

}  // namespace zorel
