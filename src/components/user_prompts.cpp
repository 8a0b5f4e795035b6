#include "components/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace zorel {
namespace {

const QString kListFilter = QStringLiteral("Списки (*.lst)");

QString RunListDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& dir,
                      const QString& name) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilter(kListFilter);
  dialog.setDefaultSuffix(QStringLiteral("lst"));
  dialog.setDirectory(dir);
  dialog.setWindowTitle(mode == QFileDialog::AcceptOpen ? QStringLiteral("Открыть список")
                                                        : QStringLiteral("Сохранить список"));
  if (!name.isEmpty()) dialog.selectFile(name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

std::shared_ptr<UserPrompts> UserPrompts::Standard(std::function<QString()> title) {
  auto p = std::make_shared<UserPrompts>();
  p->confirm = [title](QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, title(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  p->inform = [title](QWidget* parent, const QString& text) {
    QMessageBox::information(parent, title(), text, QMessageBox::Ok);
  };
  p->tell = [](QWidget* dialog, MessageIcon icon, const QString& text) {
    const QString caption = dialog != nullptr ? dialog->windowTitle() : QString();
    if (icon == MessageIcon::Critical) {
      QMessageBox::critical(dialog, caption, text);
    } else {
      QMessageBox::information(dialog, caption, text);
    }
  };
  p->chooseListToOpen = [](QWidget* parent, const QString& dir) {
    return RunListDialog(parent, QFileDialog::AcceptOpen, dir, {});
  };
  p->chooseListToSave = [](QWidget* parent, const QString& dir, const QString& name) {
    return RunListDialog(parent, QFileDialog::AcceptSave, dir, name);
  };
  p->runModal = [](QDialog& dialog) { return dialog.exec(); };
  return p;
}

}  // namespace zorel
