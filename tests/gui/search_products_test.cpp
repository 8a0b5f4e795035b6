// The product search dialog: the fragment grid, the item-name scan, the found names, the request.
#include "search/search_products.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
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

using namespace test_support;

namespace {

// Longer than the list is wide in the hint test.
const QString kLongName = "шуруп" + QString(" длинный").repeated(7);

BaseSource ProductsBase() {
  BaseSource base = SampleBase();
  base.items.push_back(W(kLongName.toStdString()));  // item 8
  return base;
}

// The dialog with its controls at hand.
struct Dialog : TfrmSearchItems {
  using TfrmSearchItems::TfrmSearchItems;
  QTableWidget* grid = findChild<QTableWidget*>("sgList2");
  QToolButton* clear = findChild<QToolButton*>("sbClear");
  QToolButton* execute = findChild<QToolButton*>("sbExecute");
  QToolButton* selectAll = findChild<QToolButton*>("sbSelectAll");
  QListView* found = findChild<QListView*>("lbResult");
  QLabel* count = findChild<QLabel*>("lResult");
  QPushButton* inList = findChild<QPushButton*>("bbSearchInList");
  QPushButton* inBase = findChild<QPushButton*>("bbSearchInBD");

  void Select(int row) const {
    found->selectionModel()->select(found->model()->index(row, 0), QItemSelectionModel::Select);
  }
  bool ShownWithTheGridFocused() {
    show();
    if (!QTest::qWaitForWindowActive(this)) return false;
    grid->setFocus();
    return QTest::qWaitFor([this] { return grid->hasFocus(); });
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
  // The buttons need a fragment that is not blank. "Очистить" right after typing: the open cell
  // is closed first, so nothing typed comes back and the buttons follow the empty fragments.
  void ClearingWhileACellIsOpenEmptiesEveryFragment() {
    Dialog d(dm(), told_.Prompts());
    d.grid->item(4, 1)->setText("   ");
    for (QToolButton* b : {d.clear, d.execute, d.selectAll}) QVERIFY(!b->isEnabled());
    QVERIFY(d.ShownWithTheGridFocused());
    Type("труба");
    for (QToolButton* b : {d.clear, d.execute, d.selectAll}) QVERIFY(b->isEnabled());
    QTest::failOnWarning(QRegularExpression("commitData"));
    QTest::mouseClick(d.clear, Qt::LeftButton);
    for (QToolButton* b : {d.clear, d.execute, d.selectAll}) QVERIFY(!b->isEnabled());
    d.found->setFocus();
    QTest::qWait(50);
    QCOMPARE(d.Fragments(), Padded({}));
    d.reject();
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
    Dialog d(dm(), told_.Prompts());
    QStringList typed;
    for (int row : rows) {
      typed << QString("фрагмент %1").arg(row);
      d.grid->item(row - 1, 1)->setText(typed.back());
    }
    d.grid->item(4, 1)->setText("  ");  // blank: dropped
    QVERIFY(d.ShownWithTheGridFocused());
    QCOMPARE(d.grid->item(rows[0] - 1, 1)->text(), typed[0]);
    d.found->setFocus();
    QTRY_VERIFY(d.found->hasFocus());
    QCOMPARE(d.Fragments(), Padded(typed));
    QCOMPARE(d.grid->currentRow(), currentRow - 1);
    QCOMPARE(d.grid->currentColumn(), 1);
    d.reject();
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
    Dialog d(dm(), told_.Prompts());
    QVERIFY(d.ShownWithTheGridFocused());
    const QPoint cell = d.grid->visualRect(d.grid->model()->index(row, 1)).center();
    if (entry == "click") QTest::mouseClick(d.grid->viewport(), Qt::LeftButton, {}, cell);
    if (entry == "arrow") QTest::keyClick(d.grid, Qt::Key_Down);
    Type("тр");
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    Type("уб");
    // Before the cell is committed, the search button already knows there is a fragment.
    QVERIFY(d.execute->isEnabled());
    d.execute->click();
    QCOMPARE(d.grid->item(0, 1)->text(), QString("труб"));
    d.reject();
  }

  // The scan's own rules are tested on the core; here what the dialog shows of its answer.
  void ScanListsLowerCaseNamesContainingAFragment_data() {
    QTest::addColumn<Scan>("scan");
    // «Станки» and «Станок фрезерный» begin with a capital and are never listed.
    QTest::newRow("capitals skipped") << Scan{{"СТАН"}, {1}, {"стан"}, ""};
    QTest::newRow("item order") << Scan{{"м12", "ГАЙКА"}, {2, 5}, {"м12", "гайка"}, ""};
    QTest::newRow("nothing") << Scan{{"сталь"}, {}, {"сталь"}, ""};
    QTest::newRow("beyond the code page")
        << Scan{{"гайка", "болт ★"}, {}, {"гайка", "болт ★"}, Not1251Message("болт ★")};
  }
  void ScanListsLowerCaseNamesContainingAFragment() {
    QFETCH(Scan, scan);
    ToldMessages boxes;
    Dialog d(dm(), boxes.Prompts());
    for (int i = 0; i < scan.fragments.size(); ++i)
      d.grid->item(2 * i + 1, 1)->setText(scan.fragments[i]);
    d.execute->click();
    QCOMPARE(boxes.Text(), scan.told);
    QCOMPARE(d.Fragments(), Padded(scan.shown));
    QCOMPARE(QList<int>(d.FoundItems().begin(), d.FoundItems().end()), scan.items);
    for (int row = 0; row < scan.items.size(); ++row) {
      QCOMPARE(d.found->model()->index(row, 0).data().toString(),
               FromCp(dm().ItemName(scan.items[row])));
    }
    QCOMPARE(d.count->text(), QString("0/%1").arg(scan.items.size()));
    QVERIFY(d.inBase->isHidden());
  }

  void SelectingShowsTheCountAndTheSearchButtons() {
    Dialog d(dm(), told_.Prompts());
    d.grid->item(0, 1)->setText("о");
    d.execute->click();
    // станок токарный, болт м12, анкерный болт, 1С-программа
    QCOMPARE(d.FoundItems(), (std::vector<std::int32_t>{1, 2, 3, 6}));
    QCOMPARE(d.count->text(), QString("0/4"));
    d.Select(3);
    d.Select(1);
    QCOMPARE(d.count->text(), QString("2/4"));
    QVERIFY(!d.inBase->isHidden());
    QVERIFY(!d.inList->isHidden());
    QCOMPARE(d.SelectedKeys(), (std::vector<ProductKey>{{0, 2}, {0, 6}}));
    d.found->selectionModel()->setCurrentIndex(d.found->model()->index(2, 0),
                                               QItemSelectionModel::NoUpdate);
    d.selectAll->click();
    QCOMPARE(d.count->text(), QString("4/4"));
    QCOMPARE(d.found->currentIndex().row(), 2);
    QCOMPARE(d.SelectedKeys().size(), std::size_t{4});
    d.found->clearSelection();
    QCOMPARE(d.count->text(), QString("0/4"));
    QVERIFY(d.inBase->isHidden());
  }

  void ALongNameShowsItselfAsAHintOverTheItem() {
    Dialog d(dm(), told_.Prompts());
    d.grid->item(0, 1)->setText("гайка");
    d.grid->item(1, 1)->setText("шуруп");
    d.execute->click();
    QCOMPARE(d.FoundItems(), (std::vector<std::int32_t>{5, 8}));
    d.resize(300, 500);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QWidget* viewport = d.found->viewport();
    QVERIFY(d.found->fontMetrics().horizontalAdvance(kLongName) > viewport->width());
    auto hover = [&](int row) {
      const QPoint pos = d.found->visualRect(d.found->model()->index(row, 0)).center();
      QHelpEvent help(QEvent::ToolTip, pos, viewport->mapToGlobal(pos));
      QApplication::sendEvent(viewport, &help);
    };
    auto* tip = viewport->findChild<QLabel*>("NameHint");
    hover(0);
    QVERIFY(!tip->isVisible());
    hover(1);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), kLongName);
    const QRect row = d.found->visualRect(d.found->model()->index(1, 0));
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
    d.reject();
  }

  void SearchAsksForTheSelectedNames() {
    Dialog d(dm(), told_.Prompts());
    d.grid->item(0, 1)->setText("болт");
    d.execute->click();
    d.Select(0);  // болт м12: the first enterprise makes it (kind 2)
    d.show();
    d.inBase->click();
    QCOMPARE(d.result(), kSearchInBase);
    const SearchRequest request = d.Request();
    QCOMPARE(request.kind, SearchKind::Products);
    QCOMPARE(request.keys, (std::vector<ProductKey>{{0, 2}}));
    QCOMPARE(RunSearch(dm(), WholeBaseList(dm().RecordCount()), request), (RecordList{0}));

    // Reopened, the dialog keeps its names and selection; add гайка (second enterprise).
    d.grid->item(1, 1)->setText("гайка");
    d.execute->click();
    QCOMPARE(d.FoundItems(), (std::vector<std::int32_t>{2, 3, 5}));
    d.Select(0);
    d.Select(2);
    d.show();
    d.inList->click();
    QCOMPARE(d.result(), kSearchInList);
    QCOMPARE(RunSearch(dm(), {2, 1, 0}, d.Request()), (RecordList{1, 0}));
  }

  // Among names that match and names that do not, the first 10000 matching are listed; each
  // scan shows its list from the top.
  void AtMostTenThousandNamesAreListedFromTheTop() {
    const int matching = kItemScanLimit + 5;
    BaseSource source = SampleBase();
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
    Dialog d(base.dm(), boxes.Prompts());
    d.grid->item(0, 1)->setText("Деталь");
    d.execute->click();
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Text(), QString::fromUtf8(kItemScanLimitMessage));
    QCOMPARE(boxes.Icon(), MessageIcon::Information);
    QCOMPARE(d.FoundItems(), expected);
    QCOMPARE(d.count->text(), QString("0/%1").arg(expected.size()));
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.found->setFocus();
    QTest::keyClick(d.found, Qt::Key_End);
    QVERIFY(d.found->verticalScrollBar()->value() > 0);
    d.grid->item(0, 1)->setText("деталь 1");
    d.execute->click();
    QCOMPARE(d.found->verticalScrollBar()->value(), 0);
    QCOMPARE(d.found->indexAt(QPoint(2, 2)).row(), 0);
    QCOMPARE(boxes.Count(), 1);
    d.reject();
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchProductsTest)
#include "search_products_test.moc"
