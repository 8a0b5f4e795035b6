// The main window's search commands open a new, modified list window with what a search finds.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "data/matcher.h"
#include "search/class_tree.h"
#include "search/search_branches.h"
#include "search/search_dialog.h"
#include "search/search_requisites.h"
#include "search/search_run.h"
#include "search/value_box.h"
#include "shell_test_support.h"
#include "support/open_base.h"

namespace zorel {

using namespace test_support;

class MainSearchTest : public QObject {
  Q_OBJECT

 private:
  // Answers every search dialog by pressing the button of `result`, after letting `prepare`
  // fill the dialog in.
  static void Answer(Shell& s, int result, std::function<void(QDialog&)> prepare = {}) {
    s.form->Prompts()->runModal = [result, prepare](QDialog& dialog) {
      if (prepare) prepare(dialog);
      const char* button = result == kSearchInBase   ? "bbSearchInBD"
                           : result == kSearchInList ? "bbSearchInList"
                                                     : "bbCancel";
      dialog.findChild<QPushButton*>(button)->click();
      return dialog.result();
    };
  }
  static void AddStaffAbove(QDialog& dialog, int staff) {
    auto* field = dialog.findChild<QComboBox*>("cbField");
    field->setCurrentIndex(6);
    dialog.findChild<QComboBox*>("cbOperation")->setCurrentText(">");
    dialog.findChild<ValueBox*>("cbValue")->SetText(QString::number(staff));
    dialog.findChild<QToolButton*>("sbAdd")->click();
  }

 private slots:
  void RequisitesSearchInBaseOpensAModifiedWindowWithWhatItFinds() {
    Shell s(NumberedBase(40));
    Answer(s, kSearchInBase, [](QDialog& d) { AddStaffAbove(d, 29); });
    s.Action("MISearch1")->trigger();
    QCOMPARE(s.form->ListWindows().size(), 2);
    TMDIChild* result = s.Active();
    QCOMPARE(result, s.form->LastChild());
    QCOMPARE(result->Records(), (RecordList{30, 31, 32, 33, 34, 35, 36, 37, 38, 39}));
    QVERIFY(result->Modified());
    QVERIFY(!result->HasFile());
    QVERIFY(QRegularExpression(R"(^Поиск \(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\)$)")
                .match(result->windowTitle())
                .hasMatch());
    QCOMPARE(s.form->StatusText(1), QStringLiteral("1/10"));
    // Cancel opens nothing; a search that finds nothing still opens its empty window.
    Answer(s, kSearchCancel, [](QDialog& d) { AddStaffAbove(d, 100); });
    s.Action("MISearch1")->trigger();
    QCOMPARE(s.form->ListWindows().size(), 2);
    Answer(s, kSearchInBase);
    s.Action("MISearch1")->trigger();
    QCOMPARE(s.form->ListWindows().size(), 3);
    QVERIFY(s.Active()->Records().empty());
    QCOMPARE(s.form->StatusText(1), QStringLiteral("1/0"));
  }

  void SearchInListFiltersTheActiveListAndLeavesItAlone() {
    Shell s(NumberedBase(40));
    TMDIChild* source = s.Active();
    source->SetSearchResult(RecordList{39, 5, 31}, QStringLiteral("Мой список"));
    Answer(s, kSearchInList, [](QDialog& d) { AddStaffAbove(d, 29); });
    s.Action("MISearch1")->trigger();
    QCOMPARE(s.Active()->Records(), (RecordList{39, 31}));
    QCOMPARE(source->Records(), (RecordList{39, 5, 31}));
  }

  void TheDialogIsKeptAndOffersSearchInListOnlyWithAnActiveWindow() {
    Shell s(NumberedBase(5));
    QList<QDialog*> seen;
    QList<bool> inListEnabled;
    s.form->Prompts()->runModal = [&](QDialog& d) {
      seen.append(&d);
      inListEnabled.append(d.findChild<QWidget*>("bbSearchInList")->isEnabled());
      return kSearchCancel;
    };
    s.Action("MISearch1")->trigger();
    s.Active()->parentWidget()->close();
    QTRY_COMPARE(s.form->ListWindows().size(), 0);
    s.Action("MISearch1")->trigger();
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0], seen[1]);
    QCOMPARE(inListEnabled, (QList<bool>{true, false}));
  }

  void BranchSearchOfTheRootKeepsEveryRecordWithAClassifiedProduct() {
    Shell s;
    Answer(s, kSearchInBase, [](QDialog& d) {
      auto& dialog = static_cast<TfrmSearchClass&>(d);
      d.findChild<QTreeWidget*>("tvClass")->setCurrentItem(dialog.Root());
      d.findChild<QToolButton*>("sbAdd")->click();
    });
    s.Action("MISearch3")->trigger();
    const auto* dialog = s.form->findChild<TfrmSearchClass*>();
    QVERIFY(!dialog->Keys().empty());
    RecordList expected = WholeBaseList(s.base.dm().RecordCount());
    MatchProducts(s.base.dm(), expected, dialog->Keys());
    QVERIFY(!expected.empty());
    QCOMPARE(s.Active()->Records(), expected);
    QVERIFY(s.Active()->windowTitle().startsWith(QStringLiteral("Поиск по рубрикатору (")));
  }

  void CaptionsNameTheSearchAndItsTime_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("requisites") << int(SearchKind::Requisites) << "Поиск (05.03.2024 07:08:09)";
    QTest::newRow("products") << int(SearchKind::Products)
                              << "Поиск по продукции (05.03.2024 07:08:09)";
    QTest::newRow("branches") << int(SearchKind::Branches)
                              << "Поиск по рубрикатору (05.03.2024 07:08:09)";
  }
  void CaptionsNameTheSearchAndItsTime() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9));
    QCOMPARE(SearchCaption(SearchKind(kind), when), caption);
  }

  // What each kind finds is the dialogs' test; a request without keys finds nothing.
  void ARequestWithoutKeysFindsNothing() {
    test_support::OpenBase base(test_support::SampleBase());
    QCOMPARE(RunSearch(base.dm(), {2, 0, 1}, SearchRequest{SearchKind::Branches, {}, {}}),
             RecordList{});
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::MainSearchTest)
#include "main_search_test.moc"
