// The dialogs of the print form editor that tests answer instead of a user: the open and save
// dialogs for form files, the font dialog and the colour dialog. Standard() gives the real ones.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace zorel {

// The standard dialog that opens (or names for saving) a form file in dir, starting from name;
// empty when cancelled.
QString ChooseFormFile(QWidget* parent, bool open, const QString& dir, const QString& name);

struct FormPrompts {
  // An existing form file chosen in dir, starting from name; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir, const QString& name)> chooseToOpen;
  // A form file name chosen in dir, starting from name; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir, const QString& name)> chooseToSave;
  std::function<std::optional<QFont>(QWidget* parent, const QFont& start)> chooseFont;
  std::function<std::optional<QColor>(QWidget* parent, const QColor& start)> chooseColor;

  static FormPrompts Standard();
};

}  // namespace zorel
