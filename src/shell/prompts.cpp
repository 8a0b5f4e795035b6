#include "shell/prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "search/search_dialog.h"
#include "shell/application.h"

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

std::shared_ptr<TUserPrompts> TUserPrompts::Standard() {
  auto p = std::make_shared<TUserPrompts>();
  p->confirm = [](QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, ApplicationTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  p->inform = [](QWidget* parent, const QString& text) {
    QMessageBox::information(parent, ApplicationTitle(), text, QMessageBox::Ok);
  };
  p->chooseListToOpen = [](QWidget* parent, const QString& dir) {
    return RunListDialog(parent, QFileDialog::AcceptOpen, dir, {});
  };
  p->chooseListToSave = [](QWidget* parent, const QString& dir, const QString& name) {
    return RunListDialog(parent, QFileDialog::AcceptSave, dir, name);
  };
  p->runSearch = [](TSearchDialog& dialog) { return dialog.exec(); };
  return p;
}

}  // namespace zorel
