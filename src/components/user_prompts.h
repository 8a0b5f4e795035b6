// The questions and messages the program puts to the user: a Yes/No question, an information
// box, a dialog's own messages, the open and save dialogs for list files and the showing of a
// modal dialog. Held as replaceable functions so that tests (and any caller that must not
// block) can answer them; Standard() gives the real dialogs.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace zorel {

enum class MessageIcon { Information, Critical };

struct UserPrompts {
  // Captioned with the program's title. True for Yes.
  std::function<bool(QWidget* parent, const QString& question)> confirm;
  std::function<void(QWidget* parent, const QString& text)> inform;
  // A message of a dialog, captioned with the dialog's own title.
  std::function<void(QWidget* dialog, MessageIcon icon, const QString& text)> tell;
  // An existing list file chosen in dir, or empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir)> chooseListToOpen;
  // A list file name chosen in dir, starting from name; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir, const QString& name)> chooseListToSave;
  // Shows a dialog modally and gives the code it closed with.
  std::function<int(QDialog& dialog)> runModal;

  // title gives the program's title when a question or an information box is shown.
  static std::shared_ptr<UserPrompts> Standard(std::function<QString()> title);
};

}  // namespace zorel
