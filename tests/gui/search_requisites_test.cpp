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
#include "textconv/text_convert.h"

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
    QCOMPARE(c.field->currentIndex(), 0);
    QCOMPARE(c.no->currentText(), QString(13, ' '));
    QCOMPARE(c.Operations(), kTextOps);
    QCOMPARE(c.op->currentText(), QString("содержит"));
    QCOMPARE(c.value->Text(), QString());
    for (QToolButton* b : {c.add, c.del, c.clear, c.edit}) QVERIFY(!b->isEnabled());
    QVERIFY(c.inList->isHidden());
    QVERIFY(c.inBase->isHidden());
    QCOMPARE(dialog.Conditions().size(), std::size_t{1});
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

  // Switching fields keeps the operation and the value where the new field takes them.
  void SwitchingFieldsKeepsWhatTheNewFieldTakes_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("keptOperation");
    QTest::addColumn<QString>("keptValue");
    // name, field and operation, value typed, new field, the operation and value it keeps
    const auto row = [](const char* name, int from, const char* op, const char* typed, int to,
                        const char* keptOp, const char* keptValue) {
      QTest::newRow(name) << from << QString(op) << QString(typed) << to << QString(keptOp)
                          << QString(keptValue);
    };
    row("равно and a number kept", 0, "равно", "120", 6, "равно", "120");
    row("содержит and text gone", 0, "содержит", "abc", 2, "равно", "");
    row("пусто gone", 8, "пусто", "-5", 6, "равно", "-5");
    row("> gone", 2, ">", "-5", 0, "содержит", "-5");
    row("<= kept", 2, "<=", "7", 6, "<=", "7");
    row("text to dictionary", 3, "пусто", "abc", 4, "пусто", "");
    row("text to text", 0, "равно", "abc", 9, "равно", "abc");
    row("dictionary to text", 4, "равно", "Россия", 8, "равно", "Россия");
    row("dictionary to number", 1, "равно", "ОАО", 2, "равно", "");
  }
  void SwitchingFieldsKeepsWhatTheNewFieldTakes() {
    QFETCH(int, from);
    QFETCH(QString, operation);
    QFETCH(QString, typed);
    QFETCH(int, to);
    QFETCH(QString, keptOperation);
    QFETCH(QString, keptValue);
    TfrmSearch dialog(dm(), told_.Prompts());
    const Controls c(dialog);
    c.field->setCurrentIndex(from);
    c.op->setCurrentText(operation);
    QCOMPARE(c.op->currentText(), operation);
    c.value->SetText(typed);
    c.field->setCurrentIndex(to);
    QCOMPARE(c.op->currentText(), keptOperation);
    QCOMPARE(c.value->Text(), keptValue);
    QCOMPARE(c.add->isEnabled(), !keptValue.isEmpty() || keptOperation == "пусто");
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

  // The dialog on screen with "содержит" on the region chosen and the value's editor focused.
  static bool ReadyForARegionValue(TfrmSearch& dialog, const Controls& c) {
    dialog.show();
    if (!QTest::qWaitForWindowActive(&dialog)) return false;
    c.field->setCurrentIndex(kFieldRegion);
    c.op->setCurrentText("содержит");
    c.value->FocusEditor();
    return QTest::qWaitFor([&c] { return c.value->isAncestorOf(QApplication::focusWidget()); });
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
    QVERIFY(ReadyForARegionValue(dialog, c));
    test_support::Type(typed);
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
    QVERIFY(ReadyForARegionValue(dialog, c));
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
