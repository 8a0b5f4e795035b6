// The questions and messages the program puts to the user: Yes/No questions, information and
// error boxes, the open and save dialogs for list files, a choice of files, a password and the
// showing of a modal dialog. Held as replaceable functions so that tests (and any caller that must
// not block) can answer them; Standard() gives the real dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace zorel {

enum class MessageIcon { Information, Warning, Critical };

struct UserPrompts {
  // Captioned with the program's title. True for Yes.
  std::function<bool(QWidget* parent, const QString& question)> confirm;
  std::function<void(QWidget* parent, const QString& text)> inform;
  // A message of a dialog, captioned with the dialog's own title.
  std::function<void(QWidget* dialog, MessageIcon icon, const QString& text)> tell;
  // A question of a dialog, captioned with the dialog's own title. True for Yes.
  std::function<bool(QWidget* dialog, const QString& question)> ask;
  // An information box under the given caption.
  std::function<void(QWidget* parent, const QString& caption, const QString& text)> titledInform;
  // The same with OK and Cancel; either answer only closes it.
  std::function<void(QWidget* parent, const QString& caption, const QString& text)> titledBox;
  // An existing list file chosen in dir, or empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir)> chooseListToOpen;
  // A list file name chosen in dir, starting from name; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir, const QString& name)> chooseListToSave;
  // A file to write under the given caption, starting from path (folder and name), of the kind
  // the filter names ("Книги Excel (*.xlsx)"); empty when cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& path,
                        const QString& filter)>
      chooseFileToSave;
  // Existing files of any kind chosen in dir, under the given caption; empty when cancelled.
  std::function<QStringList(QWidget* parent, const QString& caption, const QString& dir)>
      chooseFiles;
  // A password typed out of sight, asked under the caption with the label; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& label)> password;
  // Shows a dialog modally and gives the code it closed with.
  std::function<int(QDialog& dialog)> runModal;

  // title gives the program's title when a question or an information box is shown.
  static std::shared_ptr<UserPrompts> Standard(std::function<QString()> title);
};

}  // namespace zorel
