// TfrmSearch, "Поиск по реквизитам": composes the condition table of the requisites search.
// The user picks a field, a negation, an operation and a value and adds them as one row; the
// caller reads Conditions() (Windows-1251 cells, trailing empty row included) after a search
// result and hands them to the matcher. Created once and kept, so the table survives between
// searches.
#pragma once

#include <memory>

#include "components/user_prompts.h"
#include "data/conditions.h"
#include "search/search_dialog.h"

class QCheckBox;
class QComboBox;
class QTableView;
class QToolButton;

namespace zorel {

class ConditionTableModel;
class ValueBox;

class TfrmSearch : public SearchDialog {
  Q_OBJECT

 public:
  TfrmSearch(Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent = nullptr);

  const ConditionTable& Conditions() const;
  SearchRequest Request() const override;

 public slots:
  void cbFieldChange();
  void cbOperationChange();
  void cbValueChange();
  void sbAddClick();
  void sbEditClick();
  void sbDeleteClick();
  void sbClearClick();

 private:
  // Refills the operations for the field, keeping the chosen word when the field offers it.
  void OfferOperations(int field);
  // The code of the chosen operation's word in the operator list, -1 when there is none.
  int CurrentOperator() const;
  void ApplyAddRule();
  void UpdateButtons();
  void SelectRow(int row);
  void RefuseValue(const QString& message);

  std::shared_ptr<UserPrompts> prompts_;
  QComboBox* cbField_;
  QComboBox* cbNo_;
  QComboBox* cbOperation_;
  ValueBox* cbValue_;
  QCheckBox* cbCase_;
  QTableView* sgList_;
  ConditionTableModel* model_;
  QToolButton* sbAdd_;
  QToolButton* sbDelete_;
  QToolButton* sbClear_;
  QToolButton* sbEdit_;
};

}  // namespace zorel
