#include "components/user_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
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

QString CaptionOf(QWidget* dialog) { return dialog != nullptr ? dialog->windowTitle() : QString(); }

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
    const QString caption = CaptionOf(dialog);
    if (icon == MessageIcon::Critical) {
      QMessageBox::critical(dialog, caption, text);
    } else {
      QMessageBox::information(dialog, caption, text);
    }
  };
  p->ask = [](QWidget* dialog, const QString& question) {
    return QMessageBox::question(dialog, CaptionOf(dialog), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  p->titledInform = [](QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
  };
  p->titledBox = [](QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
  };
  p->chooseListToOpen = [](QWidget* parent, const QString& dir) {
    return RunListDialog(parent, QFileDialog::AcceptOpen, dir, {});
  };
  p->chooseListToSave = [](QWidget* parent, const QString& dir, const QString& name) {
    return RunListDialog(parent, QFileDialog::AcceptSave, dir, name);
  };
  p->chooseFileToSave = [](QWidget* parent, const QString& caption, const QString& path,
                           const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, path, filter);
  };
  p->chooseFiles = [](QWidget* parent, const QString& caption, const QString& dir) {
    QFileDialog dialog(parent, caption, dir);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
  };
  p->password = [](QWidget* parent, const QString& caption, const QString& label) {
    return QInputDialog::getText(parent, caption, label, QLineEdit::Password);
  };
  p->runModal = [](QDialog& dialog) { return dialog.exec(); };
  return p;
}

}  // namespace zorel
