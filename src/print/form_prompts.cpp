#include "print/form_prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

namespace zorel {

QString ChooseFormFile(QWidget* parent, bool open, const QString& dir, const QString& name) {
  QFileDialog dialog(parent, open ? QStringLiteral("Открытие печатной формы")
                                  : QStringLiteral("Сохранение печатной формы"));
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Форма отчета (*.rpt)"));
  dialog.setDefaultSuffix(QStringLiteral("rpt"));
  dialog.setOption(QFileDialog::ReadOnly, open);
  dialog.setDirectory(dir);
  if (!name.isEmpty()) dialog.selectFile(name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

FormPrompts FormPrompts::Standard() {
  FormPrompts p;
  p.chooseToOpen = [](QWidget* parent, const QString& dir, const QString& name) {
    return ChooseFormFile(parent, true, dir, name);
  };
  p.chooseToSave = [](QWidget* parent, const QString& dir, const QString& name) {
    return ChooseFormFile(parent, false, dir, name);
  };
  p.chooseFont = [](QWidget* parent, const QFont& start) -> std::optional<QFont> {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, start, parent);
    return ok ? std::optional<QFont>(font) : std::nullopt;
  };
  p.chooseColor = [](QWidget* parent, const QColor& start) -> std::optional<QColor> {
    const QColor color = QColorDialog::getColor(start, parent);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
  };
  return p;
}

}  // namespace zorel
