// The product search dialog as a user meets it: the fragment grid with its compaction and
// lower-casing, the item-name scan and its 10000 limit, the found-name list with its count,
// selection and hints, and the request of the selected names.
#include "search/search_products.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "data/data_module.h"
#include "data/item_scan.h"
#include "search/search_text.h"
#include "search_testing.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "textconv/text_convert.h"

namespace zorel {

using test_support::OpenBase;
using test_support::ToldMessages;
using test_support::Type;
using test_support::W;

namespace {

// Longer than the list is wide in the hint test.
const QString kLongName = "шуруп" + QString(" длинный").repeated(7);

BaseSource ProductsBase() {
  BaseSource base = test_support::SampleBase();
  base.items.push_back(W(kLongName.toStdString()));  // item 8
  return base;
}

struct Controls {
  TfrmSearchItems& d;
  QTableWidget* grid = d.findChild<QTableWidget*>("sgList2");
  QToolButton* clear = d.findChild<QToolButton*>("sbClear");
  QToolButton* execute = d.findChild<QToolButton*>("sbExecute");
  QToolButton* selectAll = d.findChild<QToolButton*>("sbSelectAll");
  QListView* result = d.findChild<QListView*>("lbResult");
  QLabel* count = d.findChild<QLabel*>("lResult");
  QPushButton* inList = d.findChild<QPushButton*>("bbSearchInList");
  QPushButton* inBase = d.findChild<QPushButton*>("bbSearchInBD");

  void Select(int row) const {
    result->selectionModel()->select(result->model()->index(row, 0), QItemSelectionModel::Select);
  }
  QStringList Fragments() const {
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row) texts << grid->item(row, 1)->text();
    return texts;
  }
};

struct Scan {
  QStringList fragments;
  QList<int> items;   // found
  QStringList shown;  // the fragments afterwards
  QString told;
};

QStringList Padded(QStringList texts) {
  while (texts.size() < kFragmentRows) texts << QString();
  return texts;
}

}  // namespace

class SearchProductsTest : public QObject {
  Q_OBJECT

 private:
  OpenBase base_{ProductsBase()};
  Tdm& dm() { return base_.dm(); }
  // For the dialogs whose messages a test does not read.
  ToldMessages told_;

 private slots:
  static bool ShownWithTheGridFocused(TfrmSearchItems& dialog, const Controls& c) {
    dialog.show();
    if (!QTest::qWaitForWindowActive(&dialog)) return false;
    c.grid->setFocus();
    return QTest::qWaitFor([&c] { return c.grid->hasFocus(); });
  }

  // The buttons need a fragment that is not blank. "Очистить" right after typing: the open cell
  // is closed first, so nothing typed comes back and the buttons follow the empty fragments.
  void ClearingWhileACellIsOpenEmptiesEveryFragment() {
    TfrmSearchItems dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    c.grid->item(4, 1)->setText("   ");
    for (QToolButton* b : {c.clear, c.execute, c.selectAll}) QVERIFY(!b->isEnabled());
    QVERIFY(ShownWithTheGridFocused(dialog, c));
    Type("труба");
    for (QToolButton* b : {c.clear, c.execute, c.selectAll}) QVERIFY(b->isEnabled());
    QTest::failOnWarning(QRegularExpression("commitData"));
    QTest::mouseClick(c.clear, Qt::LeftButton);
    for (QToolButton* b : {c.clear, c.execute, c.selectAll}) QVERIFY(!b->isEnabled());
    c.result->setFocus();
    QTest::qWait(50);
    QCOMPARE(c.Fragments(), Padded({}));
    dialog.reject();
  }

  void LeavingTheGridMovesFragmentsUp_data() {
    QTest::addColumn<QList<int>>("rows");  // 1-based rows typed into
    QTest::addColumn<int>("currentRow");   // 1-based row current afterwards
    QTest::newRow("rows 3 and 7") << QList<int>{3, 7} << 1;
    QTest::newRow("six rows") << QList<int>{2, 4, 9, 10, 30, 50} << 3;
  }
  void LeavingTheGridMovesFragmentsUp() {
    QFETCH(QList<int>, rows);
    QFETCH(int, currentRow);
    TfrmSearchItems dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    QStringList typed;
    for (int row : rows) {
      typed << QString("фрагмент %1").arg(row);
      c.grid->item(row - 1, 1)->setText(typed.back());
    }
    c.grid->item(4, 1)->setText("  ");  // blank: dropped
    QVERIFY(ShownWithTheGridFocused(dialog, c));
    QCOMPARE(c.grid->item(rows[0] - 1, 1)->text(), typed[0]);
    c.result->setFocus();
    QTRY_VERIFY(c.result->hasFocus());
    QCOMPARE(c.Fragments(), Padded(typed));
    QCOMPARE(c.grid->currentRow(), currentRow - 1);
    QCOMPARE(c.grid->currentColumn(), 1);
    dialog.reject();
  }

  // However the cell was entered, every key typed into it lands, with the dialog's own
  // delayed editing on a click given time to act in between.
  void EveryTypedLetterLands_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("entry");
    QTest::newRow("click on the current row") << 0 << "click";
    QTest::newRow("click on another row") << 3 << "click";
    QTest::newRow("arrow key") << 1 << "arrow";
    QTest::newRow("straight away") << 0 << "none";
  }
  void EveryTypedLetterLands() {
    QFETCH(int, row);
    QFETCH(QString, entry);
    TfrmSearchItems dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    QVERIFY(ShownWithTheGridFocused(dialog, c));
    const QPoint cell = c.grid->visualRect(c.grid->model()->index(row, 1)).center();
    if (entry == "click") QTest::mouseClick(c.grid->viewport(), Qt::LeftButton, {}, cell);
    if (entry == "arrow") QTest::keyClick(c.grid, Qt::Key_Down);
    Type("тр");
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    Type("уб");
    // Before the cell is committed, the search button already knows there is a fragment.
    QVERIFY(c.execute->isEnabled());
    c.execute->click();
    QCOMPARE(c.grid->item(0, 1)->text(), QString("труб"));
    dialog.reject();
  }

  // The scan's own rules are tested on the core; here what the dialog shows of its answer.
  void ScanListsLowerCaseNamesContainingAFragment_data() {
    QTest::addColumn<Scan>("c");
    // «Станки» and «Станок фрезерный» begin with a capital and are never listed.
    QTest::newRow("capitals skipped") << Scan{{"СТАН"}, {1}, {"стан"}, ""};
    QTest::newRow("item order") << Scan{{"м12", "ГАЙКА"}, {2, 5}, {"м12", "гайка"}, ""};
    QTest::newRow("nothing") << Scan{{"сталь"}, {}, {"сталь"}, ""};
    QTest::newRow("beyond the code page")
        << Scan{{"гайка", "болт ★"}, {}, {"гайка", "болт ★"}, Not1251Message("болт ★")};
  }
  void ScanListsLowerCaseNamesContainingAFragment() {
    QFETCH(Scan, c);
    ToldMessages boxes;
    TfrmSearchItems dialog(dm(), boxes.Prompts());
    const Controls d{dialog};
    for (int i = 0; i < c.fragments.size(); ++i)
      d.grid->item(2 * i + 1, 1)->setText(c.fragments[i]);
    d.execute->click();
    QCOMPARE(boxes.Text(), c.told);
    QCOMPARE(d.Fragments(), Padded(c.shown));
    QCOMPARE(QList<int>(dialog.FoundItems().begin(), dialog.FoundItems().end()), c.items);
    for (int row = 0; row < c.items.size(); ++row) {
      QCOMPARE(d.result->model()->index(row, 0).data().toString(),
               FromCp(dm().ItemName(c.items[row])));
    }
    QCOMPARE(d.count->text(), QString("0/%1").arg(c.items.size()));
    QVERIFY(d.inBase->isHidden());
  }

  void SelectingShowsTheCountAndTheSearchButtons() {
    TfrmSearchItems dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    c.grid->item(0, 1)->setText("о");
    c.execute->click();
    // станок токарный, болт м12, анкерный болт, 1С-программа
    QCOMPARE(dialog.FoundItems(), (std::vector<std::int32_t>{1, 2, 3, 6}));
    QCOMPARE(c.count->text(), QString("0/4"));
    c.Select(3);
    c.Select(1);
    QCOMPARE(c.count->text(), QString("2/4"));
    QVERIFY(!c.inBase->isHidden());
    QVERIFY(!c.inList->isHidden());
    QCOMPARE(dialog.SelectedKeys(), (std::vector<ProductKey>{{0, 2}, {0, 6}}));
    c.result->selectionModel()->setCurrentIndex(c.result->model()->index(2, 0),
                                                QItemSelectionModel::NoUpdate);
    c.selectAll->click();
    QCOMPARE(c.count->text(), QString("4/4"));
    QCOMPARE(c.result->currentIndex().row(), 2);
    QCOMPARE(dialog.SelectedKeys().size(), std::size_t{4});
    c.result->clearSelection();
    QCOMPARE(c.count->text(), QString("0/4"));
    QVERIFY(c.inBase->isHidden());
  }

  void ALongNameShowsItselfAsAHintOverTheItem() {
    TfrmSearchItems dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    c.grid->item(0, 1)->setText("гайка");
    c.grid->item(1, 1)->setText("шуруп");
    c.execute->click();
    QCOMPARE(dialog.FoundItems(), (std::vector<std::int32_t>{5, 8}));
    dialog.resize(300, 500);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QWidget* viewport = c.result->viewport();
    QVERIFY(c.result->fontMetrics().horizontalAdvance(kLongName) > viewport->width());
    auto hover = [&](int row) {
      const QPoint pos = c.result->visualRect(c.result->model()->index(row, 0)).center();
      QHelpEvent help(QEvent::ToolTip, pos, viewport->mapToGlobal(pos));
      QApplication::sendEvent(viewport, &help);
    };
    auto* tip = viewport->findChild<QLabel*>("NameHint");
    hover(0);
    QVERIFY(!tip->isVisible());
    hover(1);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), kLongName);
    const QRect row = c.result->visualRect(c.result->model()->index(1, 0));
    const QPoint rowStart = viewport->mapToGlobal(row.topLeft());
    QCOMPARE(tip->pos(), rowStart);
    // Opened under the pointer, the hint makes the window system report a leave: it stays
    // while the pointer is on the row, through small moves, and goes when the pointer leaves.
    QEvent leave(QEvent::Leave);
    for (const QPoint offset : {QPoint(5, 3), QPoint(9, 4)}) {
      QCursor::setPos(rowStart + offset);
      QTest::mouseMove(viewport, row.topLeft() + offset);
      QCoreApplication::sendEvent(viewport, &leave);
      QVERIFY(tip->isVisible());
    }
    QCursor::setPos(rowStart + QPoint(5, -row.height()));
    QTest::mouseMove(viewport, row.topLeft() + QPoint(5, -row.height()));
    QVERIFY(!tip->isVisible());
    hover(1);
    QVERIFY(tip->isVisible());
    QCursor::setPos(viewport->mapToGlobal(QPoint(-40, row.center().y())));
    QCoreApplication::sendEvent(viewport, &leave);
    QVERIFY(!tip->isVisible());
    dialog.reject();
  }

  void SearchAsksForTheSelectedNames() {
    TfrmSearchItems dialog(dm(), told_.Prompts());
    const Controls c{dialog};
    c.grid->item(0, 1)->setText("болт");
    c.execute->click();
    c.Select(0);  // болт м12: the first enterprise makes it (kind 2)
    dialog.show();
    c.inBase->click();
    QCOMPARE(dialog.result(), kSearchInBase);
    const SearchRequest request = dialog.Request();
    QCOMPARE(request.kind, SearchKind::Products);
    QCOMPARE(request.keys, (std::vector<ProductKey>{{0, 2}}));
    QCOMPARE(RunSearch(dm(), WholeBaseList(dm().RecordCount()), request), (RecordList{0}));

    // Reopened, the dialog keeps its names and selection; add гайка (second enterprise).
    c.grid->item(1, 1)->setText("гайка");
    c.execute->click();
    QCOMPARE(dialog.FoundItems(), (std::vector<std::int32_t>{2, 3, 5}));
    c.Select(0);
    c.Select(2);
    dialog.show();
    c.inList->click();
    QCOMPARE(dialog.result(), kSearchInList);
    QCOMPARE(RunSearch(dm(), {2, 1, 0}, dialog.Request()), (RecordList{1, 0}));
  }

  // Among names that match and names that do not, the first 10000 matching are listed; each
  // scan shows its list from the top.
  void AtMostTenThousandNamesAreListedFromTheTop() {
    const int matching = kItemScanLimit + 5;
    BaseSource source = test_support::SampleBase();
    source.items.clear();
    std::vector<std::int32_t> expected;
    for (int found = 0; found < matching; ++found) {
      if (found % 1000 == 7) source.items.push_back(W("винт"));
      if (expected.size() < std::size_t{kItemScanLimit}) {
        expected.push_back(static_cast<std::int32_t>(source.items.size()));
      }
      source.items.push_back(W("деталь " + std::to_string(found)));
    }
    source.items.push_back(W("Деталь крупная"));
    source.items.push_back(W("шайба"));
    source.classes.clear();
    OpenBase base(source);
    ToldMessages boxes;
    TfrmSearchItems dialog(base.dm(), boxes.Prompts());
    const Controls c{dialog};
    c.grid->item(0, 1)->setText("Деталь");
    c.execute->click();
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Text(), QString::fromUtf8(kItemScanLimitMessage));
    QCOMPARE(boxes.Icon(), MessageIcon::Information);
    QCOMPARE(dialog.FoundItems(), expected);
    QCOMPARE(c.count->text(), QString("0/%1").arg(expected.size()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    c.result->setFocus();
    QTest::keyClick(c.result, Qt::Key_End);
    QVERIFY(c.result->verticalScrollBar()->value() > 0);
    c.grid->item(0, 1)->setText("деталь 1");
    c.execute->click();
    QCOMPARE(c.result->verticalScrollBar()->value(), 0);
    QCOMPARE(c.result->indexAt(QPoint(2, 2)).row(), 0);
    QCOMPARE(boxes.Count(), 1);
    dialog.reject();
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchProductsTest)
#include "search_products_test.moc"
