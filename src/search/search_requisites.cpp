// The requisites search dialog: the selectors' rules, the condition table and its buttons.
#include "search/search_requisites.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/data_module.h"
#include "data/field_table.h"
#include "search/condition_model.h"
#include "search/search_fields.h"
#include "search/search_text.h"
#include "search/value_box.h"
#include "textconv/text_convert.h"

namespace zorel {

namespace {

QStringList Texts1251(const std::vector<std::string>& entries) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(entries.size()));
  for (const std::string& entry : entries) texts << FromCp(entry);
  return texts;
}

int CellNumber(const std::string& cell) { return QString::fromStdString(cell).toInt(); }

// The field code of the chosen entry; -1 when none is chosen.
int ChosenField(const QComboBox& box) {
  return box.currentIndex() < 0 ? -1 : box.currentData().toInt();
}

}  // namespace

TfrmSearch::TfrmSearch(Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent)
    : SearchDialog(dm, parent),
      prompts_(std::move(prompts)),
      cbField_(new QComboBox(this)),
      cbNo_(new QComboBox(this)),
      cbOperation_(new QComboBox(this)),
      cbValue_(new ValueBox(this)),
      cbCase_(new QCheckBox(QStringLiteral("Различать прописные и строчные буквы"), this)),
      sgList_(new QTableView(this)),
      model_(new ConditionTableModel(this)),
      sbAdd_(FlatButton(QStringLiteral("Добавить"), "sbAdd", QStringLiteral("Добавить в список"))),
      sbDelete_(
          FlatButton(QStringLiteral("Удалить"), "sbDelete", QStringLiteral("Удалить из списка"))),
      sbClear_(FlatButton(QStringLiteral("Очистить"), "sbClear",
                          QStringLiteral("Очистить весь список"))),
      sbEdit_(FlatButton(QStringLiteral("Изменить"), "sbEdit",
                         QStringLiteral("Изменение текущей записи"))) {
  setWindowTitle(QStringLiteral("Поиск по реквизитам"));
  cbField_->setObjectName(QStringLiteral("cbField"));
  cbNo_->setObjectName(QStringLiteral("cbNo"));
  cbOperation_->setObjectName(QStringLiteral("cbOperation"));
  cbValue_->setObjectName(QStringLiteral("cbValue"));
  cbCase_->setObjectName(QStringLiteral("cbCase"));
  sgList_->setObjectName(QStringLiteral("sgList"));

  cbField_->setMaxVisibleItems(20);
  for (const FieldInfo& f : kFields) {
    if (f.searchName != nullptr) cbField_->addItem(QString::fromUtf8(f.searchName), int{f.code});
  }
  for (const char* item : kNegationItems) cbNo_->addItem(QString::fromUtf8(item));
  cbNo_->setCurrentIndex(kAsIs);

  sgList_->setModel(model_);
  sgList_->setItemDelegate(new ConditionDelegate(sgList_));
  sgList_->horizontalHeader()->hide();
  sgList_->verticalHeader()->hide();
  sgList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgList_->setSelectionMode(QAbstractItemView::SingleSelection);
  sgList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgList_->verticalHeader()->setDefaultSectionSize(qMax(16, fontMetrics().height() + 4));
  const int widths[] = {199, 65, 84, 162, 18};
  for (int column = 0; column < 5; ++column) sgList_->setColumnWidth(column, widths[column]);
  sgList_->horizontalHeader()->setStretchLastSection(true);

  auto* selectors = new QGridLayout;
  selectors->addWidget(new QLabel(QStringLiteral("Тип поля :"), this), 0, 0);
  selectors->addWidget(cbField_, 0, 1, 1, 2);
  selectors->addWidget(new QLabel(QStringLiteral("Операция :"), this), 1, 0);
  selectors->addWidget(cbNo_, 1, 1);
  selectors->addWidget(cbOperation_, 1, 2);
  selectors->addWidget(new QLabel(QStringLiteral("Значение :"), this), 2, 0);
  selectors->addWidget(cbValue_, 2, 1, 1, 2);
  selectors->addWidget(cbCase_, 3, 1, 1, 2);
  selectors->setColumnStretch(2, 1);

  auto* listButtons = new QHBoxLayout;
  for (QToolButton* button : {sbAdd_, sbEdit_, sbDelete_, sbClear_}) listButtons->addWidget(button);
  listButtons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(selectors);
  layout->addLayout(listButtons);
  layout->addWidget(sgList_, 1);
  layout->addLayout(ButtonRow());
  resize(620, 420);

  connect(cbField_, &QComboBox::currentIndexChanged, this, &TfrmSearch::cbFieldChange);
  connect(cbOperation_, &QComboBox::currentIndexChanged, this, &TfrmSearch::cbOperationChange);
  connect(cbValue_, &ValueBox::TextChanged, this, &TfrmSearch::cbValueChange);
  connect(sbAdd_, &QToolButton::clicked, this, &TfrmSearch::sbAddClick);
  cbValue_->PassClicksTo(sbAdd_);
  connect(sbEdit_, &QToolButton::clicked, this, &TfrmSearch::sbEditClick);
  connect(sbDelete_, &QToolButton::clicked, this, &TfrmSearch::sbDeleteClick);
  connect(sbClear_, &QToolButton::clicked, this, &TfrmSearch::sbClearClick);
  connect(sgList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TfrmSearch::UpdateButtons);

  cbFieldChange();
  SelectRow(0);
}

const ConditionTable& TfrmSearch::Conditions() const { return model_->Table(); }

SearchRequest TfrmSearch::Request() const { return {SearchKind::Requisites, Conditions(), {}}; }

void TfrmSearch::cbFieldChange() {
  const int field = ChosenField(*cbField_);
  if (IsDictionaryField(field)) {
    cbValue_->ShowChoices(Texts1251(dm_.Dictionary(FieldOf(field).dictionary)));
  } else {
    cbValue_->ShowPlain();
    if (IsIntegerField(field)) {
      const auto value = To1251(cbValue_->Text());
      if (!value || !IsIntegerValue(*value)) cbValue_->SetText(QString());
    }
  }
  cbNo_->setVisible(!IsIntegerField(field));
  OfferOperations(field);
}

void TfrmSearch::OfferOperations(int field) {
  const QString remembered = cbOperation_->currentText();
  {
    const QSignalBlocker blocker(cbOperation_);
    cbOperation_->clear();
    for (int op : OperationsForField(field)) {
      cbOperation_->addItem(QString::fromUtf8(kOperatorWords[op]));
    }
    cbOperation_->setCurrentIndex(qMax(0, cbOperation_->findText(remembered)));
  }
  cbOperationChange();
}

int TfrmSearch::CurrentOperator() const {
  const std::string word = cbOperation_->currentText().toStdString();
  const std::vector<std::string>& operators = dm_.Operators();
  for (std::size_t i = 0; i < operators.size(); ++i) {
    if (operators[i] == word) return static_cast<int>(i);
  }
  return -1;
}

void TfrmSearch::cbOperationChange() {
  cbValue_->setVisible(CurrentOperator() != kOpEmpty);
  ApplyAddRule();
}

void TfrmSearch::cbValueChange() { ApplyAddRule(); }

void TfrmSearch::ApplyAddRule() {
  sbAdd_->setEnabled(CurrentOperator() == kOpEmpty || !cbValue_->Text().isEmpty());
}

void TfrmSearch::RefuseValue(const QString& message) {
  prompts_->tell(this, MessageIcon::Critical, message);
  cbValue_->FocusEditor();
}

void TfrmSearch::sbAddClick() {
  if (!sbAdd_->isEnabled()) return;
  const int field = ChosenField(*cbField_);
  const int op = CurrentOperator();
  const QString text = cbValue_->Text();
  const std::optional<std::string> value = To1251(text);
  if (IsIntegerField(field) && (!value || !IsIntegerValue(*value))) {
    RefuseValue(QStringLiteral("Введено не числовое значение ") + text);
    return;
  }
  if (op != kOpEmpty && !value) {
    RefuseValue(Not1251Message(text));
    return;
  }
  model_->Add({std::to_string(field), std::to_string(cbNo_->currentIndex()), std::to_string(op),
               op == kOpEmpty ? std::string() : *value, cbCase_->isChecked() ? "1" : "0"});
  UpdateButtons();
}

void TfrmSearch::sbEditClick() {
  const int row = sgList_->currentIndex().row();
  if (!model_->IsCondition(row)) return;
  const ConditionRow condition = model_->Table()[row];
  {
    const QSignalBlocker blocker(cbField_);
    cbField_->setCurrentIndex(cbField_->findData(CellNumber(condition[0])));
  }
  cbFieldChange();
  cbNo_->setCurrentIndex(CellNumber(condition[1]));
  const int op = CellNumber(condition[2]);
  if (op >= 0 && op < kOperatorCount) {
    const QSignalBlocker blocker(cbOperation_);
    cbOperation_->setCurrentIndex(
        qMax(0, cbOperation_->findText(QString::fromUtf8(kOperatorWords[op]))));
  }
  cbOperationChange();
  cbValue_->SetText(FromCp(condition[3]));
  ApplyAddRule();
  cbCase_->setChecked(condition[4] == "1");
  model_->Remove(row);
  SelectRow(row);
}

void TfrmSearch::sbDeleteClick() {
  const int row = sgList_->currentIndex().row();
  if (!model_->IsCondition(row)) return;
  model_->Remove(row);
  SelectRow(row);
}

void TfrmSearch::sbClearClick() {
  model_->Clear();
  SelectRow(0);
}

void TfrmSearch::SelectRow(int row) {
  sgList_->setCurrentIndex(model_->index(qMin(row, model_->rowCount() - 1), 0));
  UpdateButtons();
}

void TfrmSearch::UpdateButtons() {
  const bool hasConditions = model_->ConditionCount() > 0;
  const bool onCondition = model_->IsCondition(sgList_->currentIndex().row());
  sbClear_->setEnabled(hasConditions);
  sbDelete_->setEnabled(hasConditions && onCondition);
  sbEdit_->setEnabled(hasConditions && onCondition);
  SetSearchButtonsVisible(hasConditions);
}

}  // namespace zorel
