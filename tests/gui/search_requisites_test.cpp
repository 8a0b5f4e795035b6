// The requisites search dialog as a user meets it: the selectors and their rules, the condition
// table and its buttons, the dialog's results and its request.
#include "search/search_requisites.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QPushButton>
#include <QTableView>
#include <QTest>
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

using test_support::OpenBase;
using test_support::ToldMessages;
using test_support::W;

namespace {

struct FieldSwitch {
  int from;
  QString operation, typed;
  int to;
  QString keptOperation, keptValue;
};

struct Controls {
  TfrmSearch& d;
  QComboBox* field = d.findChild<QComboBox*>("cbField");
  QComboBox* no = d.findChild<QComboBox*>("cbNo");
  QComboBox* op = d.findChild<QComboBox*>("cbOperation");
  ValueBox* value = d.findChild<ValueBox*>("cbValue");
  QCheckBox* matchCase = d.findChild<QCheckBox*>("cbCase");
  QTableView* list = d.findChild<QTableView*>("sgList");
  QToolButton* add = d.findChild<QToolButton*>("sbAdd");
  QToolButton* del = d.findChild<QToolButton*>("sbDelete");
  QToolButton* clear = d.findChild<QToolButton*>("sbClear");
  QToolButton* edit = d.findChild<QToolButton*>("sbEdit");
  QPushButton* inList = d.findChild<QPushButton*>("bbSearchInList");
  QPushButton* inBase = d.findChild<QPushButton*>("bbSearchInBD");
  QPushButton* cancel = d.findChild<QPushButton*>("bbCancel");

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
  OpenBase base_{test_support::SampleBase()};
  Tdm& dm() { return base_.dm(); }
  // For the dialogs whose messages a test does not read.
  ToldMessages told_;

 private slots:
  // Switching fields keeps the operation and the value where the new field takes them.
  void SwitchingFieldsKeepsWhatTheNewFieldTakes_data() {
    QTest::addColumn<FieldSwitch>("c");
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
    QFETCH(FieldSwitch, c);
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls d{dialog};
    d.field->setCurrentIndex(c.from);
    d.op->setCurrentText(c.operation);
    QCOMPARE(d.op->currentText(), c.operation);
    d.value->SetText(c.typed);
    d.field->setCurrentIndex(c.to);
    QCOMPARE(d.op->currentText(), c.keptOperation);
    QCOMPARE(d.value->Text(), c.keptValue);
    QCOMPARE(d.add->isEnabled(), !c.keptValue.isEmpty() || c.keptOperation == "пусто");
  }

  void AddWritesCodesAndTheValueInTheBaseCodePage() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    c.Add(1, 0, "равно", "ОАО", true);
    c.Add(2, 1, ">=", " 1990 ");
    c.Add(12, 1, "содержит", "станки ");
    // "пусто" hides the value box and stores no value, whatever was left in it.
    c.op->setCurrentText("пусто");
    QVERIFY(c.value->isHidden());
    c.Add(0, 0, "пусто", "забытый текст");
    const ConditionTable expected = {{"1", "0", "1", W("ОАО"), "1"},
                                     {"2", "1", "5", " 1990 ", "0"},
                                     {"12", "1", "0", W("станки "), "0"},
                                     {"0", "0", "2", "", "0"},
                                     {}};
    QVERIFY(dialog.Conditions() == expected);
    QVERIFY(!c.clear->isHidden() && c.clear->isEnabled());
    QVERIFY(!c.inBase->isHidden());
    QVERIFY(!c.inList->isHidden());
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
    TfrmSearch dialog(dm(), boxes.Prompts());
    const Controls c{dialog};
    c.field->setCurrentIndex(field);
    c.value->SetText(text);
    c.add->click();
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Text(), message);
    QCOMPARE(boxes.Icon(), MessageIcon::Critical);
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
    QCOMPARE(c.value->Text(), text);
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
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.field->setCurrentIndex(kFieldRegion);
    c.op->setCurrentText("содержит");
    c.value->FocusEditor();
    QTRY_VERIFY(c.value->isAncestorOf(QApplication::focusWidget()));
    test_support::Type(typed);
    QCOMPARE(c.value->Text(), typed);
    if (suggestionsOpen) {
      QWidget* suggestions = c.value->findChild<QComboBox*>("cbValueList")->completer()->popup();
      QTRY_VERIFY(suggestions->isVisible());
      const QPoint onAdd = c.add->mapToGlobal(c.add->rect().center());
      QTest::mouseClick(suggestions, Qt::LeftButton, {}, suggestions->mapFromGlobal(onAdd));
      QTRY_VERIFY(!suggestions->isVisible());
    } else {
      c.add->click();
    }
    QCOMPARE(dialog.Conditions().size(), std::size_t{2});
    QCOMPARE(dialog.Conditions()[0][3], *To1251(typed));
    dialog.reject();
  }

  void EditingMovesTheConditionToTheEnd() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    c.Add(4, 0, "равно", "Беларусь", true);
    c.Add(0, 1, "содержит", "завод");
    c.Add(6, 1, "<", "100");
    c.SelectRow(0);
    QVERIFY(c.edit->isEnabled());
    c.edit->click();
    QCOMPARE(c.field->currentIndex(), 4);
    QCOMPARE(c.no->currentIndex(), 0);
    QCOMPARE(c.op->currentText(), QString("равно"));
    QCOMPARE(c.value->Choices(), Utf8List(dm().Countries()));
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

  void DeleteAndEditNeedAConditionRowSelected() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c{dialog};
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
    // Clear leaves the empty row alone.
    c.Add(0, 1, "содержит", "а");
    c.Add(3, 1, "равно", "220000");
    c.clear->click();
    QVERIFY(dialog.Conditions() == ConditionTable{ConditionRow{}});
    QVERIFY(c.inBase->isHidden());
    QVERIFY(!c.clear->isEnabled());
  }

  void ButtonsCloseWithTheirResults() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c{dialog};
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
  }

  void SearchAsksForTheTable() {
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c{dialog};
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
    QCOMPARE(RunSearch(dm(), WholeBaseList(dm().RecordCount()), request), (RecordList{0}));
    // Reopened, the dialog shows the same conditions.
    dialog.show();
    QVERIFY(dialog.Conditions() == table);
    // In a list the list's order is kept: «оао» equals ОАО ignoring case, a record without a
    // form passes, «ОАО Плюс» does not.
    c.clear->click();
    c.Add(1, 1, "равно", "ОАО");  // typed over the drop-down
    c.inList->click();
    QCOMPARE(dialog.result(), kSearchInList);
    QCOMPARE(RunSearch(dm(), {2, 1, 0}, dialog.Request()), (RecordList{2, 0}));
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchRequisitesTest)
#include "search_requisites_test.moc"
