#include "components/user_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>

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

// A blank before a closing "?" or "!" does not break, so the mark never wraps onto a line alone.
QString Unbroken(QString text) {
  return text.replace(QStringLiteral(" ?"), QStringLiteral("\u00a0?"))
      .replace(QStringLiteral(" !"), QStringLiteral("\u00a0!"));
}

// Window managers cut a title wider than its window: a box is at least as wide as its title in
// a title bar's larger font, with room for the bar's icon and buttons.
int TitleWidth(const QWidget& box, const QString& title) {
  return box.fontMetrics().horizontalAdvance(title) * 5 / 4 + 160;
}

// QMessageBox fixes its own size when shown; the title's width is added after that.
class TitledBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    setFixedWidth(std::max(width(), TitleWidth(*this, windowTitle())));
  }
};

int Box(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
        QMessageBox::StandardButtons buttons) {
  TitledBox box(icon, caption, Unbroken(text), buttons, parent);
  return box.exec();
}

}  // namespace

std::shared_ptr<UserPrompts> UserPrompts::Standard(std::function<QString()> title) {
  auto p = std::make_shared<UserPrompts>();
  p->confirm = [title](QWidget* parent, const QString& question) {
    return Box(parent, QMessageBox::Question, title(), question,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  p->inform = [title](QWidget* parent, const QString& text) {
    Box(parent, QMessageBox::Information, title(), text, QMessageBox::Ok);
  };
  p->tell = [](QWidget* dialog, MessageIcon icon, const QString& text) {
    const QMessageBox::Icon shown = icon == MessageIcon::Critical  ? QMessageBox::Critical
                                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    Box(dialog, shown, CaptionOf(dialog), text, QMessageBox::Ok);
  };
  p->ask = [](QWidget* dialog, const QString& question) {
    return Box(dialog, QMessageBox::Question, CaptionOf(dialog), question,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  p->titledInform = [](QWidget* parent, const QString& caption, const QString& text) {
    Box(parent, QMessageBox::Information, caption, text, QMessageBox::Ok);
  };
  p->titledBox = [](QWidget* parent, const QString& caption, const QString& text) {
    Box(parent, QMessageBox::Information, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
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
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextEchoMode(QLineEdit::Password);
    // The dialog takes its layout's width: the field makes the room.
    if (auto* field = dialog.findChild<QLineEdit*>()) {
      field->setMinimumWidth(TitleWidth(dialog, caption) - 24);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
  };
  p->runModal = [](QDialog& dialog) { return dialog.exec(); };
  return p;
}

}  // namespace zorel
