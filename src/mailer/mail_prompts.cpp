#include "mailer/mail_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace zorel {
namespace {

// Questions and errors carry the caption of the window they belong to.
QString TitleOf(QWidget* parent) {
  return parent ? parent->window()->windowTitle() : QApplication::applicationDisplayName();
}

}  // namespace

std::shared_ptr<MailPrompts> MailPrompts::Standard() {
  auto p = std::make_shared<MailPrompts>();
  p->box = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel);
  };
  p->inform = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
  };
  p->error = [](QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, TitleOf(parent), text, QMessageBox::Ok);
  };
  p->confirm = [](QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, TitleOf(parent), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  p->chooseFiles = [](QWidget* parent, const QString& dir) {
    QFileDialog dialog(parent, QStringLiteral("Присоединить файл(ы)"), dir);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
  };
  p->show = [](QDialog& form) { form.exec(); };
  p->password = [](QWidget* parent, const QString& user) {
    return QInputDialog::getText(parent, QStringLiteral("Вход на почтовый сервер"),
                                 QStringLiteral("Пароль для %1:").arg(user), QLineEdit::Password);
  };
  return p;
}

}  // namespace zorel
