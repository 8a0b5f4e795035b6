// The requisites search dialog: the selectors, the condition table, its buttons and request.
#include "search/search_requisites.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include "data/data_module.h"
#include "search/condition_model.h"
#include "search/search_text.h"
#include "search/value_box.h"
#include "search_testing.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "textconv/text_convert.h"

namespace zorel {

using namespace test_support;

namespace {

struct FieldSwitch {
  int from;
  QString operation, typed;
  int to;
  QString keptOperation, keptValue;
};

// The dialog with its controls at hand.
struct Dialog : TfrmSearch {
  using TfrmSearch::TfrmSearch;
  QComboBox* field = findChild<QComboBox*>("cbField");
  QComboBox* no = findChild<QComboBox*>("cbNo");
  QComboBox* op = findChild<QComboBox*>("cbOperation");
  ValueBox* value = findChild<ValueBox*>("cbValue");
  QCheckBox* matchCase = findChild<QCheckBox*>("cbCase");
  QTableView* list = findChild<QTableView*>("sgList");
  QToolButton* add = findChild<QToolButton*>("sbAdd");
  QToolButton* del = findChild<QToolButton*>("sbDelete");
  QToolButton* clear = findChild<QToolButton*>("sbClear");
  QToolButton* edit = findChild<QToolButton*>("sbEdit");
  QPushButton* inList = findChild<QPushButton*>("bbSearchInList");
  QPushButton* inBase = findChild<QPushButton*>("bbSearchInBD");
  QPushButton* cancel = findChild<QPushButton*>("bbCancel");

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
};

QStringList Utf8List(const std::vector<std::string>& cp1251) {
  QStringList list;
  for (const std::string& s : cp1251) list << FromCp(s);
  return list;
}

}  // namespace

class SearchRequisitesTest : public QObject {
  Q_OBJECT

 private:
  OpenBase base_{SampleBase()};
  Tdm& dm() { return base_.dm(); }
  // For the dialogs whose messages a test does not read.
  ToldMessages told_;

 private slots:
  // Switching fields keeps the operation and the value where the new field takes them.
  void SwitchingFieldsKeepsWhatTheNewFieldTakes_data() {
    QTest::addColumn<FieldSwitch>("change");
    QTest::newRow("равно and a number kept") << FieldSwitch{0, "равно", "120", 6, "равно", "120"};
    QTest::newRow("содержит and text gone") << FieldSwitch{0, "содержит", "abc", 2, "равно", ""};
    QTest::newRow("пусто gone") << FieldSwitch{8, "пусто", "-5", 6, "равно", "-5"};
    QTest::newRow("> gone") << FieldSwitch{2, ">", "-5", 0, "содержит", "-5"};
    QTest::newRow("<= kept") << FieldSwitch{2, "<=", "7", 6, "<=", "7"};
    QTest::newRow("text to dictionary") << FieldSwitch{3, "пусто", "abc", 4, "пусто", ""};
    QTest::newRow("text to text") << FieldSwitch{0, "равно", "abc", 9, "равно", "abc"};
    QTest::newRow("dictionary to text") << FieldSwitch{4, "равно", "Россия", 8, "равно", "Россия"};
    QTest::newRow("dictionary to number") << FieldSwitch{1, "равно", "ОАО", 2, "равно", ""};
  }
  void SwitchingFieldsKeepsWhatTheNewFieldTakes() {
    QFETCH(FieldSwitch, change);
    Dialog d(dm(), told_.Prompts());
    d.field->setCurrentIndex(change.from);
    d.op->setCurrentText(change.operation);
    QCOMPARE(d.op->currentText(), change.operation);
    d.value->SetText(change.typed);
    d.field->setCurrentIndex(change.to);
    QCOMPARE(d.op->currentText(), change.keptOperation);
    QCOMPARE(d.value->Text(), change.keptValue);
    QCOMPARE(d.add->isEnabled(), !change.keptValue.isEmpty() || change.keptOperation == "пусто");
  }

  void AddWritesCodesAndTheValueInTheBaseCodePage() {
    Dialog d(dm(), told_.Prompts());
    d.Add(1, 0, "равно", "ОАО", true);
    d.Add(2, 1, ">=", " 1990 ");
    d.Add(12, 1, "содержит", "станки ");
    // "пусто" hides the value box and stores no value, whatever was left in it.
    d.op->setCurrentText("пусто");
    QVERIFY(d.value->isHidden());
    d.Add(0, 0, "пусто", "забытый текст");
    const ConditionTable expected = {{"1", "0", "1", W("ОАО"), "1"},
                                     {"2", "1", "5", " 1990 ", "0"},
                                     {"12", "1", "0", W("станки "), "0"},
                                     {"0", "0", "2", "", "0"},
                                     {}};
    QVERIFY(d.Conditions() == expected);
    QVERIFY(!d.clear->isHidden() && d.clear->isEnabled());
    QVERIFY(!d.inBase->isHidden());
    QVERIFY(!d.inList->isHidden());
  }

  void AValueTheFieldCannotHoldIsRefused_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString number = "Введено не числовое значение ";
    QTest::newRow("letters in a year") << 2 << "19x5" << number + "19x5";
    QTest::newRow("fraction of staff") << 6 << "12.5" << number + "12.5";
    QTest::newRow("beyond 32 bits") << 6 << "3000000000" << number + "3000000000";
    QTest::newRow("sign alone") << 2 << "-" << number + "-";
    QTest::newRow("beyond the code page") << 0 << "завод ★" << Not1251Message("завод ★");
  }
  void AValueTheFieldCannotHoldIsRefused() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ToldMessages boxes;
    Dialog d(dm(), boxes.Prompts());
    d.field->setCurrentIndex(field);
    d.value->SetText(text);
    d.add->click();
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Text(), message);
    QCOMPARE(boxes.Icon(), MessageIcon::Critical);
    QCOMPARE(d.Conditions().size(), std::size_t{1});
    QCOMPARE(d.value->Text(), text);
  }

  // A value typed for a dictionary field is added as typed, also by a first click on
  // "Добавить" while the list of entries holding the text is open: it closes and adds at once.
  void ATypedDictionaryValueIsAddedAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("suggestionsOpen");
    QTest::newRow("start of an entry") << "минск" << false;
    QTest::newRow("an entry's own start") << "Минская" << false;
    QTest::newRow("inside an entry") << "обл" << false;
    QTest::newRow("added while the suggestions are open") << "обл" << true;
  }
  void ATypedDictionaryValueIsAddedAsTyped() {
    QFETCH(QString, typed);
    QFETCH(bool, suggestionsOpen);
    Dialog d(dm(), told_.Prompts());
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.field->setCurrentIndex(kFieldRegion);
    d.op->setCurrentText("содержит");
    d.value->FocusEditor();
    QTRY_VERIFY(d.value->isAncestorOf(QApplication::focusWidget()));
    Type(typed);
    QCOMPARE(d.value->Text(), typed);
    if (suggestionsOpen) {
      QWidget* suggestions = d.value->findChild<QComboBox*>("cbValueList")->completer()->popup();
      QTRY_VERIFY(suggestions->isVisible());
      const QPoint onAdd = d.add->mapToGlobal(d.add->rect().center());
      QTest::mouseClick(suggestions, Qt::LeftButton, {}, suggestions->mapFromGlobal(onAdd));
      QTRY_VERIFY(!suggestions->isVisible());
    } else {
      d.add->click();
    }
    QCOMPARE(d.Conditions().size(), std::size_t{2});
    QCOMPARE(d.Conditions()[0][3], *To1251(typed));
    d.reject();
  }

  void EditingMovesTheConditionToTheEnd() {
    Dialog d(dm(), told_.Prompts());
    d.Add(4, 0, "равно", "Беларусь", true);
    d.Add(0, 1, "содержит", "завод");
    d.Add(6, 1, "<", "100");
    d.SelectRow(0);
    QVERIFY(d.edit->isEnabled());
    d.edit->click();
    QCOMPARE(d.field->currentIndex(), 4);
    QCOMPARE(d.no->currentIndex(), 0);
    QCOMPARE(d.op->currentText(), QString("равно"));
    QCOMPARE(d.value->Choices(), Utf8List(dm().Countries()));
    QCOMPARE(d.value->Text(), QString("Беларусь"));
    QVERIFY(d.matchCase->isChecked());
    QCOMPARE(d.Conditions().size(), std::size_t{3});
    QCOMPARE(d.Conditions()[0][0], std::string("0"));
    d.value->SetText("Россия");
    d.add->click();
    const ConditionTable expected = {{"0", "1", "0", W("завод"), "0"},
                                     {"6", "1", "4", "100", "0"},
                                     {"4", "0", "1", W("Россия"), "1"},
                                     {}};
    QVERIFY(d.Conditions() == expected);
  }

  void DeleteAndEditNeedAConditionRowSelected() {
    Dialog d(dm(), told_.Prompts());
    d.Add(0, 1, "содержит", "а");
    d.Add(0, 1, "содержит", "б");
    d.SelectRow(2);  // the empty row
    QVERIFY(!d.del->isEnabled());
    QVERIFY(!d.edit->isEnabled());
    QVERIFY(d.clear->isEnabled());
    d.SelectRow(0);
    QVERIFY(d.del->isEnabled());
    d.del->click();
    QCOMPARE(d.Conditions().size(), std::size_t{2});
    QCOMPARE(d.Conditions()[0][3], W("б"));
    // The selection stays in place and now stands on the last condition.
    QVERIFY(d.del->isEnabled());
    d.del->click();
    QCOMPARE(d.Conditions().size(), std::size_t{1});
    QVERIFY(!d.del->isEnabled());
    QVERIFY(!d.edit->isEnabled());
    QVERIFY(!d.clear->isEnabled());
    QVERIFY(d.inBase->isHidden());
    // Clear leaves the empty row alone.
    d.Add(0, 1, "содержит", "а");
    d.Add(3, 1, "равно", "220000");
    d.clear->click();
    QVERIFY(d.Conditions() == ConditionTable{ConditionRow{}});
    QVERIFY(d.inBase->isHidden());
    QVERIFY(!d.clear->isEnabled());
  }

  void ButtonsCloseWithTheirResults() {
    Dialog d(dm(), told_.Prompts());
    d.Add(0, 1, "содержит", "а");
    const std::pair<QPushButton*, int> cases[] = {
        {d.cancel, kSearchCancel}, {d.inBase, kSearchInBase}, {d.inList, kSearchInList}};
    for (const auto& [button, result] : cases) {
      d.show();
      button->click();
      QVERIFY(d.isHidden());
      QCOMPARE(d.result(), result);
    }
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    QCOMPARE(d.result(), kSearchCancel);
    d.show();
    d.setResult(0);
    d.close();
    QCOMPARE(d.result(), kSearchCancel);
  }

  void SearchAsksForTheTable() {
    Dialog d(dm(), told_.Prompts());
    d.Add(0, 1, "содержит", "завод");
    d.Add(2, 0, ">", "1990");  // the negation does not apply to numbers
    d.show();
    d.inBase->click();
    QCOMPARE(d.result(), kSearchInBase);
    const SearchRequest request = d.Request();
    QCOMPARE(request.kind, SearchKind::Requisites);
    const ConditionTable table = {
        {"0", "1", "0", W("завод"), "0"}, {"2", "0", "3", "1990", "0"}, {}};
    QVERIFY(request.conditions == table);
    QCOMPARE(RunSearch(dm(), WholeBaseList(dm().RecordCount()), request), (RecordList{0}));
    // Reopened, the dialog shows the same conditions.
    d.show();
    QVERIFY(d.Conditions() == table);
    // In a list the list's order is kept: «оао» equals ОАО ignoring case, a record without a
    // form passes, «ОАО Плюс» does not.
    d.clear->click();
    d.Add(1, 1, "равно", "ОАО");  // typed over the drop-down
    d.inList->click();
    QCOMPARE(d.result(), kSearchInList);
    QCOMPARE(RunSearch(dm(), {2, 1, 0}, d.Request()), (RecordList{2, 0}));
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchRequisitesTest)
#include "search_requisites_test.moc"
