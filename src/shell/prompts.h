// The questions the shell puts to the user: a Yes/No question, an information box, the open
// and save dialogs for list files and the search dialogs. Held as replaceable functions so that
// tests (and any caller that must not block) can answer them; Standard() gives the real dialogs.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace zorel {

class TSearchDialog;

struct TUserPrompts {
  // True for Yes.
  std::function<bool(QWidget* parent, const QString& question)> confirm;
  std::function<void(QWidget* parent, const QString& text)> inform;
  // An existing list file chosen in dir, or empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir)> chooseListToOpen;
  // A list file name chosen in dir, starting from name; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir, const QString& name)> chooseListToSave;
  // Shows a search dialog modally and gives its result (kSearchCancel, kSearchInBase,
  // kSearchInList).
  std::function<int(TSearchDialog& dialog)> runSearch;

  static std::shared_ptr<TUserPrompts> Standard();
};

}  // namespace zorel
