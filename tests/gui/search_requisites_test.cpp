// The requisites search dialog as a user meets it: the selectors and their rules, the condition
// table and its buttons, the dialog's results, and a search driven to the same records the
// matcher gives for the same table.
#include "search/search_requisites.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "data/data_module.h"
#include "data/matcher.h"
#include "search/condition_model.h"
#include "search/search_text.h"
#include "search/value_box.h"
#include "search_testing.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "ui/text_convert.h"

namespace zorel {

using test_support::OpenBase;
using test_support::ToldMessages;
using test_support::W;

namespace {

struct Controls {
  explicit Controls(TfrmSearch& d)
      : field(d.findChild<QComboBox*>("cbField")),
        no(d.findChild<QComboBox*>("cbNo")),
        op(d.findChild<QComboBox*>("cbOperation")),
        value(d.findChild<ValueBox*>("cbValue")),
        matchCase(d.findChild<QCheckBox*>("cbCase")),
        list(d.findChild<QTableView*>("sgList")),
        add(d.findChild<QToolButton*>("sbAdd")),
        del(d.findChild<QToolButton*>("sbDelete")),
        clear(d.findChild<QToolButton*>("sbClear")),
        edit(d.findChild<QToolButton*>("sbEdit")),
        inList(d.findChild<QPushButton*>("bbSearchInList")),
        inBase(d.findChild<QPushButton*>("bbSearchInBD")),
        cancel(d.findChild<QPushButton*>("bbCancel")) {}

  QStringList Operations() const {
    QStringList words;
    for (int i = 0; i < op->count(); ++i) words << op->itemText(i);
    return words;
  }
  void SelectRow(int row) const { list->setCurrentIndex(list->model()->index(row, 0)); }
  // Picks the selectors as a user would and presses Add.
  void Add(int fieldCode, int negation, const QString& operation, const QString& text,
           bool caseSensitive = false) const {
    field->setCurrentIndex(fieldCode);
    no->setCurrentIndex(negation);
    op->setCurrentText(operation);
    value->SetText(text);
    matchCase->setChecked(caseSensitive);
    add->click();
  }

  QComboBox* field;
  QComboBox* no;
  QComboBox* op;
  ValueBox* value;
  QCheckBox* matchCase;
  QTableView* list;
  QToolButton* add;
  QToolButton* del;
  QToolButton* clear;
  QToolButton* edit;
  QPushButton* inList;
  QPushButton* inBase;
  QPushButton* cancel;
};

const QStringList kTextOps = {"содержит", "равно", "пусто"};
const QStringList kNumberOps = {"равно", ">", "<", ">=", "<="};

QStringList Utf8List(const std::vector<std::string>& cp1251) {
  QStringList list;
  for (const std::string& s : cp1251) list << FromCp(s);
  return list;
}

}  // namespace

class SearchRequisitesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<OpenBase> base_;
  Tdm& dm() { return base_->dm(); }
  // For the dialogs whose messages a test does not read.
  ToldMessages told_;

 private slots:
  void initTestCase() { base_ = std::make_unique<OpenBase>(test_support::SampleBase()); }
  void cleanupTestCase() { base_.reset(); }

  void StartsOnTheNameWithNothingToAddOrSearch() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    QCOMPARE(dialog.windowTitle(), QString("Поиск по реквизитам"));
    QCOMPARE(c.field->count(), 16);
    QCOMPARE(c.field->itemText(0), QString("Наименование предприятия"));
    QCOMPARE(c.field->itemText(15), QString("Адрес в интернет"));
    QCOMPARE(c.field->currentIndex(), 0);
    QCOMPARE(c.no->currentText(), QString(13, ' '));
    QCOMPARE(c.Operations(), kTextOps);
    QCOMPARE(c.op->currentText(), QString("содержит"));
    QCOMPARE(c.value->Text(), QString());
    for (QToolButton* b : {c.add, c.del, c.clear, c.edit}) QVERIFY(!b->isEnabled());
    QVERIFY(c.inList->isHidden());
    QVERIFY(c.inBase->isHidden());
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
    QCOMPARE(c.add->toolTip(), QString("Добавить в список"));
    QCOMPARE(c.edit->statusTip(), QString("Изменение текущей записи"));
  }

  void EachFieldOffersItsOperationsAndValueBox_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<bool>("negation");
    QTest::addColumn<int>("dictionary");  // -1 plain, else 0 org forms, 1 countries, 2 regions
    for (int field = 0; field < 16; ++field) {
      const bool number = field == 2 || field == 6;
      const int dictionary = field == 1 ? 0 : field == 4 ? 1 : field == 5 ? 2 : -1;
      QTest::addRow("field %d", field)
          << field << (number ? kNumberOps : kTextOps) << !number << dictionary;
    }
  }
  void EachFieldOffersItsOperationsAndValueBox() {
    QFETCH(int, field);
    QFETCH(QStringList, operations);
    QFETCH(bool, negation);
    QFETCH(int, dictionary);
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.field->setCurrentIndex(field);
    QCOMPARE(c.Operations(), operations);
    QCOMPARE(!c.no->isHidden(), negation);
    QCOMPARE(c.value->HasDropDown(), dictionary >= 0);
    if (dictionary >= 0) {
      const std::vector<std::string>* lists[] = {&dm().OrgForms(), &dm().Countries(),
                                                 &dm().Regions()};
      QCOMPARE(c.value->Choices(), Utf8List(*lists[dictionary]));
      QCOMPARE(c.value->Text(), QString());
    }
  }

  void TheChosenOperationIsKeptWhenTheNewFieldOffersIt_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("равно kept") << 0 << "равно" << 2 << "равно";
    QTest::newRow("содержит gone") << 0 << "содержит" << 2 << "равно";
    QTest::newRow("пусто gone") << 8 << "пусто" << 6 << "равно";
    QTest::newRow("> gone") << 2 << ">" << 0 << "содержит";
    QTest::newRow("<= kept") << 2 << "<=" << 6 << "<=";
    QTest::newRow("пусто kept") << 3 << "пусто" << 4 << "пусто";
  }
  void TheChosenOperationIsKeptWhenTheNewFieldOffersIt() {
    QFETCH(int, from);
    QFETCH(QString, operation);
    QFETCH(int, to);
    QFETCH(QString, expected);
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.field->setCurrentIndex(from);
    c.op->setCurrentText(operation);
    QCOMPARE(c.op->currentText(), operation);
    c.field->setCurrentIndex(to);
    QCOMPARE(c.op->currentText(), expected);
  }

  void SwitchingFieldsKeepsOrEmptiesTheValue_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text to number") << 0 << "abc" << 6 << "";
    QTest::newRow("number kept") << 0 << "120" << 6 << "120";
    QTest::newRow("signed number kept") << 8 << "-5" << 2 << "-5";
    QTest::newRow("text to text") << 0 << "abc" << 9 << "abc";
    QTest::newRow("text to dictionary") << 0 << "abc" << 4 << "";
    QTest::newRow("dictionary to text") << 4 << "Россия" << 8 << "Россия";
    QTest::newRow("dictionary to number") << 1 << "ОАО" << 2 << "";
  }
  void SwitchingFieldsKeepsOrEmptiesTheValue() {
    QFETCH(int, from);
    QFETCH(QString, typed);
    QFETCH(int, to);
    QFETCH(QString, expected);
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.field->setCurrentIndex(from);
    c.value->SetText(typed);
    c.field->setCurrentIndex(to);
    QCOMPARE(c.value->Text(), expected);
    QCOMPARE(c.add->isEnabled(), !expected.isEmpty());
  }

  void EmptyNeedsNoValueAndStoresNone() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.op->setCurrentText("пусто");
    QVERIFY(c.value->isHidden());
    QVERIFY(c.add->isEnabled());
    c.value->SetText("забытый текст");
    c.no->setCurrentIndex(0);
    c.add->click();
    QCOMPARE(dialog.Conditions().size(), std::size_t{2});
    QVERIFY((dialog.Conditions()[0] == ConditionRow{"0", "0", "2", "", "0"}));
    c.op->setCurrentText("равно");
    QVERIFY(!c.value->isHidden());
  }

  void AddWritesCodesAndTheValueInTheBaseCodePage() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(1, 0, "равно", "ОАО", true);
    c.Add(2, 1, ">=", " 1990 ");
    c.Add(12, 1, "содержит", "станки ");
    const ConditionTable expected = {{"1", "0", "1", W("ОАО"), "1"},
                                     {"2", "1", "5", " 1990 ", "0"},
                                     {"12", "1", "0", W("станки "), "0"},
                                     {}};
    QVERIFY(dialog.Conditions() == expected);
    QVERIFY(!c.clear->isHidden() && c.clear->isEnabled());
    QVERIFY(!c.inBase->isHidden());
    QVERIFY(!c.inList->isHidden());
  }

  void ANumericFieldRefusesWhatIsNotAnInteger_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters in a year") << 2 << "19x5";
    QTest::newRow("fraction of staff") << 6 << "12.5";
    QTest::newRow("beyond 32 bits") << 6 << "3000000000";
    QTest::newRow("sign alone") << 2 << "-";
  }
  void ANumericFieldRefusesWhatIsNotAnInteger() {
    QFETCH(int, field);
    QFETCH(QString, text);
    ToldMessages boxes;
    TfrmSearch dialog(dm(), boxes.Prompts());
    const Controls c(dialog);
    c.field->setCurrentIndex(field);
    c.value->SetText(text);
    c.add->click();
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Text(), "Введено не числовое значение " + text);
    QCOMPARE(boxes.Icon(), MessageIcon::Critical);
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
    QCOMPARE(c.value->Text(), text);
  }

  void ATypedDictionaryValueStaysAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("start of an entry") << "минск";
    QTest::newRow("an entry's own start") << "Минская";
    QTest::newRow("inside an entry") << "обл";
  }
  void ATypedDictionaryValueStaysAsTyped() {
    QFETCH(QString, typed);
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.field->setCurrentIndex(kFieldRegion);
    c.op->setCurrentText("содержит");
    c.value->FocusEditor();
    QTRY_VERIFY(c.value->isAncestorOf(QApplication::focusWidget()));
    for (const QChar letter : typed) {
      QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                          static_cast<Qt::Key>(letter.toUpper().unicode()), QString(letter),
                          Qt::NoModifier);
    }
    QCOMPARE(c.value->Text(), typed);
    c.add->click();
    QCOMPARE(dialog.Conditions()[0][3], *To1251(typed));
    dialog.reject();
  }

  // The first click on "Добавить" while the list of entries holding the typed text is open
  // closes the list and adds the condition as typed.
  void AddingWhileTheSuggestionsAreOpenAddsAtOnce() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.field->setCurrentIndex(kFieldRegion);
    c.op->setCurrentText("содержит");
    c.value->FocusEditor();
    QTRY_VERIFY(c.value->isAncestorOf(QApplication::focusWidget()));
    for (const QChar letter : QStringLiteral("обл")) {
      QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                          static_cast<Qt::Key>(letter.toUpper().unicode()), QString(letter),
                          Qt::NoModifier);
    }
    auto* combo = c.value->findChild<QComboBox*>("cbValueList");
    QWidget* suggestions = combo->completer()->popup();
    QTRY_VERIFY(suggestions->isVisible());
    const QPoint onAdd = c.add->mapToGlobal(c.add->rect().center());
    QTest::mouseClick(suggestions, Qt::LeftButton, {}, suggestions->mapFromGlobal(onAdd));
    QTRY_VERIFY(!suggestions->isVisible());
    QCOMPARE(dialog.Conditions().size(), std::size_t{2});
    QCOMPARE(dialog.Conditions()[0][3], *To1251(QStringLiteral("обл")));
    dialog.reject();
  }

  void AValueTheBaseCannotHoldIsRefused() {
    ToldMessages boxes;
    TfrmSearch dialog(dm(), boxes.Prompts());
    const Controls c(dialog);
    c.value->SetText("завод ★");
    c.add->click();
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Text(), Not1251Message("завод ★"));
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
  }

  void EditingMovesTheConditionToTheEnd() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(4, 0, "равно", "Беларусь", true);
    c.Add(0, 1, "содержит", "завод");
    c.Add(6, 1, "<", "100");
    c.SelectRow(0);
    QVERIFY(c.edit->isEnabled());
    c.edit->click();
    QCOMPARE(c.field->currentIndex(), 4);
    QCOMPARE(c.no->currentIndex(), 0);
    QCOMPARE(c.op->currentText(), QString("равно"));
    QVERIFY(c.value->HasDropDown());
    QCOMPARE(c.value->Text(), QString("Беларусь"));
    QVERIFY(c.matchCase->isChecked());
    QCOMPARE(dialog.Conditions().size(), std::size_t{3});
    QCOMPARE(dialog.Conditions()[0][0], std::string("0"));
    c.value->SetText("Россия");
    c.add->click();
    const ConditionTable expected = {{"0", "1", "0", W("завод"), "0"},
                                     {"6", "1", "4", "100", "0"},
                                     {"4", "0", "1", W("Россия"), "1"},
                                     {}};
    QVERIFY(dialog.Conditions() == expected);
  }

  void EditingAnEmptyConditionHidesTheValue() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(9, 0, "пусто", "");
    c.field->setCurrentIndex(2);
    c.SelectRow(0);
    c.edit->click();
    QCOMPARE(c.field->currentIndex(), 9);
    QCOMPARE(c.op->currentText(), QString("пусто"));
    QVERIFY(c.value->isHidden());
    QVERIFY(c.add->isEnabled());
  }

  void DeleteAndEditNeedAConditionRowSelected() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(0, 1, "содержит", "а");
    c.Add(0, 1, "содержит", "б");
    c.SelectRow(2);  // the empty row
    QVERIFY(!c.del->isEnabled());
    QVERIFY(!c.edit->isEnabled());
    QVERIFY(c.clear->isEnabled());
    c.SelectRow(0);
    QVERIFY(c.del->isEnabled());
    c.del->click();
    QCOMPARE(dialog.Conditions().size(), std::size_t{2});
    QCOMPARE(dialog.Conditions()[0][3], W("б"));
    // The selection stays in place and now stands on the last condition.
    QVERIFY(c.del->isEnabled());
    c.del->click();
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
    QVERIFY(!c.del->isEnabled());
    QVERIFY(!c.edit->isEnabled());
    QVERIFY(!c.clear->isEnabled());
    QVERIFY(c.inBase->isHidden());
  }

  void ClearingLeavesTheEmptyRowAndHidesTheSearch() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(0, 1, "содержит", "а");
    c.Add(3, 1, "равно", "220000");
    c.clear->click();
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
    QVERIFY(dialog.Conditions()[0] == ConditionRow{});
    QVERIFY(c.inBase->isHidden());
    QVERIFY(c.inList->isHidden());
    QVERIFY(!c.clear->isEnabled());
  }

  void TheTableShowsTheMeaningsOfItsCodes_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("shown");
    QTest::newRow("field name") << 0 << "7"
                                << "Телефонный код города";
    QTest::newRow("negated") << 1 << "0"
                             << "не";
    QTest::newRow("as is") << 1 << "1" << QString(13, ' ');
    QTest::newRow("operator") << 2 << "5"
                              << ">=";
    QTest::newRow("value as stored") << 3 << "12"
                                     << "12";
    QTest::newRow("case-sensitive") << 4 << "1"
                                    << "Aa";
    QTest::newRow("ignore case") << 4 << "0"
                                 << "";
    QTest::newRow("empty row") << 0 << ""
                               << "";
  }
  void TheTableShowsTheMeaningsOfItsCodes() {
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(QString, shown);
    QCOMPARE(ConditionCellMeaning(column, cell), shown);
  }

  void ButtonsCloseWithTheirResults() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(0, 1, "содержит", "а");
    const std::pair<QPushButton*, int> cases[] = {
        {c.cancel, kSearchCancel}, {c.inBase, kSearchInBase}, {c.inList, kSearchInList}};
    for (const auto& [button, result] : cases) {
      dialog.show();
      button->click();
      QVERIFY(dialog.isHidden());
      QCOMPARE(dialog.result(), result);
    }
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), kSearchCancel);
    dialog.show();
    dialog.setResult(0);
    dialog.close();
    QCOMPARE(dialog.result(), kSearchCancel);
    dialog.SetSearchInListEnabled(false);
    QVERIFY(!c.inList->isEnabled());
    dialog.SetSearchInListEnabled(true);
    QVERIFY(c.inList->isEnabled());
  }

  void SearchInBaseGivesWhatTheMatcherGives() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.Add(0, 1, "содержит", "завод");
    c.Add(2, 0, ">", "1990");  // the negation does not apply to numbers
    dialog.show();
    c.inBase->click();
    QCOMPARE(dialog.result(), kSearchInBase);
    const SearchRequest request = dialog.Request();
    QCOMPARE(request.kind, SearchKind::Requisites);
    const ConditionTable table = {
        {"0", "1", "0", W("завод"), "0"}, {"2", "0", "3", "1990", "0"}, {}};
    QVERIFY(request.conditions == table);
    RecordList byCore = WholeBaseList(dm().RecordCount());
    MatchConditions(dm(), byCore, table);
    const RecordList found = RunSearch(dm(), WholeBaseList(dm().RecordCount()), request);
    QCOMPARE(found, byCore);
    QCOMPARE(found, (RecordList{0}));
    // Reopened, the dialog shows the same conditions.
    dialog.show();
    QVERIFY(dialog.Conditions() == table);
    dialog.reject();
  }

  void SearchInListKeepsTheListsOrder() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.field->setCurrentIndex(1);
    c.op->setCurrentText("равно");
    c.value->SetText("ОАО");  // typed over the drop-down
    c.add->click();
    dialog.show();
    c.inList->click();
    QCOMPARE(dialog.result(), kSearchInList);
    const RecordList source = {2, 1, 0};
    RecordList byCore = source;
    MatchConditions(dm(), byCore, {{"1", "1", "1", W("ОАО"), "0"}});
    const RecordList found = RunSearch(dm(), source, dialog.Request());
    QCOMPARE(found, byCore);
    // «оао» equals ОАО ignoring case; a record without a form passes; «ОАО Плюс» does not.
    QCOMPARE(found, (RecordList{2, 0}));
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchRequisitesTest)
#include "search_requisites_test.moc"
