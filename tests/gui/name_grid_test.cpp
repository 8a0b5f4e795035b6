// The name grid over long lists: keyboard moves, clicks and the scroll bar work on computed
// rows; painting reads only the rows in view; the names shown always belong to the rows' own
// records, also after the list changed.
#include "shell/name_grid.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <set>

#include "shell/record_grid_model.h"
#include "shell_test_support.h"
#include "textconv/text_convert.h"

namespace zorel {

using test_support::Find;
using test_support::NumberedBase;
using test_support::Shell;

namespace {

constexpr int kRows = 1000;

NameGrid* GridOf(TMDIChild* w) { return Find<NameGrid>(w, "dgInfo"); }

// The rows lying at least partly inside the viewport.
std::pair<int, int> RowsInView(const NameGrid* grid) {
  const int last = grid->rowAt(grid->viewport()->height() - 1);
  return {grid->rowAt(0), last < 0 ? grid->model()->rowCount() - 1 : last};
}

bool InView(const NameGrid* grid, int row) {
  const auto [first, last] = RowsInView(grid);
  return row >= first && row <= last;
}

void Click(QWidget* viewport, QPoint pos) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, pos, viewport->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
  }
}

QString ShownName(NameGrid* grid, int row) {
  return grid->model()->index(row, 0).data().toString();
}

}  // namespace

class NameGridTest : public QObject {
  Q_OBJECT

 private slots:
  void KeysMoveByRowsAndPagesAndKeepTheCurrentRowInView_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("pages");     // the expected move in pages of whole rows
    QTest::addColumn<int>("rows");      // plus this many rows
    QTest::addColumn<int>("expected");  // or this row when not -1
    QTest::newRow("down") << 10 << int(Qt::Key_Down) << 0 << 1 << -1;
    QTest::newRow("up") << 10 << int(Qt::Key_Up) << 0 << -1 << -1;
    QTest::newRow("up at the first row") << 0 << int(Qt::Key_Up) << 0 << 0 << 0;
    QTest::newRow("down at the last row") << kRows - 1 << int(Qt::Key_Down) << 0 << 0 << kRows - 1;
    QTest::newRow("page down") << 10 << int(Qt::Key_PageDown) << 1 << 0 << -1;
    QTest::newRow("page up") << 500 << int(Qt::Key_PageUp) << -1 << 0 << -1;
    QTest::newRow("page up near the top") << 3 << int(Qt::Key_PageUp) << 0 << 0 << 0;
    QTest::newRow("page down near the end")
        << kRows - 3 << int(Qt::Key_PageDown) << 0 << 0 << kRows - 1;
    QTest::newRow("end") << 10 << int(Qt::Key_End) << 0 << 0 << kRows - 1;
    QTest::newRow("home") << 700 << int(Qt::Key_Home) << 0 << 0 << 0;
  }
  void KeysMoveByRowsAndPagesAndKeepTheCurrentRowInView() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, pages);
    QFETCH(int, rows);
    QFETCH(int, expected);
    Shell s(NumberedBase(kRows));
    TMDIChild* w = s.Active();
    NameGrid* grid = GridOf(w);
    w->SetCurrentRow(start);
    QVERIFY(InView(grid, start));
    const int page = grid->viewport()->height() / grid->rowHeight(0);
    QVERIFY(page > 3);
    QTest::keyClick(grid, static_cast<Qt::Key>(key));
    const int want = expected >= 0 ? expected : start + pages * page + rows;
    QCOMPARE(w->CurrentRow(), want);
    QVERIFY(InView(grid, want));
    QCOMPARE(s.form->StatusText(1), QStringLiteral("%1/%2").arg(want + 1).arg(kRows));
  }

  void AClickMakesTheRowUnderTheMouseCurrent() {
    Shell s(NumberedBase(kRows));
    TMDIChild* w = s.Active();
    NameGrid* grid = GridOf(w);
    w->SetCurrentRow(400);
    const int top = grid->rowAt(0);
    const int h = grid->rowHeight(0);
    Click(grid->viewport(), QPoint(10, 3 * h + h / 2));
    QCOMPARE(w->CurrentRow(), top + 3);
    QVERIFY(grid->selectionModel()->isRowSelected(top + 3));
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(grid->visualRect(grid->currentIndex()).top(), 3 * h);
  }

  void TheScrollBarCountsRowsUpToTheLastPage() {
    Shell s(NumberedBase(kRows));
    TMDIChild* w = s.Active();
    NameGrid* grid = GridOf(w);
    QScrollBar* bar = grid->verticalScrollBar();
    const int page = grid->viewport()->height() / grid->rowHeight(0);
    QCOMPARE(bar->maximum(), kRows - page);
    bar->setValue(250);
    QCOMPARE(grid->rowAt(0), 250);
    QCOMPARE(grid->rowViewportPosition(252), 2 * grid->rowHeight(0));
    w->SetCurrentRow(kRows - 1);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(RowsInView(grid).second, kRows - 1);
    // A shorter list shrinks the range and brings the rows back into view.
    w->SetSearchResult({5, 6, 7}, QStringLiteral("Поиск"));
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(grid->rowAt(0), 0);
    QCOMPARE(w->CurrentRow(), 2);
    // A click below the last row leaves the current row.
    w->SetCurrentRow(1);
    Click(grid->viewport(), QPoint(10, 10 * grid->rowHeight(0)));
    QCOMPARE(w->CurrentRow(), 1);
  }

  void PaintingReadsOnlyTheRowsInView() {
    Shell s(NumberedBase(kRows));
    TMDIChild* w = s.Active();
    NameGrid* grid = GridOf(w);
    auto* model = static_cast<RecordGridModel*>(grid->model());
    std::multiset<int> fetched;
    model->SetFetchObserver([&fetched](int row) { fetched.insert(row); });
    w->SetCurrentRow(600);
    grid->viewport()->repaint();
    const auto [first, last] = RowsInView(grid);
    QCOMPARE(static_cast<int>(fetched.size()), last - first + 1);
    QCOMPARE(*fetched.begin(), first);
    QCOMPARE(*fetched.rbegin(), last);
    // Repainting the same rows, or moving the selection within them, reads nothing again.
    fetched.clear();
    QTest::keyClick(grid, Qt::Key_Up);
    grid->viewport()->repaint();
    QVERIFY(fetched.empty());
    model->SetFetchObserver({});
  }

  void NamesBelongToTheRowsRecordsAfterTheListChanges() {
    Shell s(NumberedBase(kRows));
    TMDIChild* w = s.Active();
    NameGrid* grid = GridOf(w);
    grid->viewport()->repaint();
    QCOMPARE(ShownName(grid, 0), QStringLiteral("Предприятие 0"));
    // Records that share a place among the kept names must not show each other's names.
    w->SetSearchResult({256, 0, 512, 3}, QStringLiteral("Поиск"));
    grid->viewport()->repaint();
    const QStringList expected = {
        QStringLiteral("Предприятие 256"), QStringLiteral("Предприятие 0"),
        QStringLiteral("Предприятие 512"), QStringLiteral("Предприятие 3")};
    for (int round = 0; round < 2; ++round) {
      for (int row = 0; row < expected.size(); ++row) QCOMPARE(ShownName(grid, row), expected[row]);
    }
    QCOMPARE(static_cast<RecordGridModel*>(grid->model())->NameAt(2), expected[2]);
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::NameGridTest)
#include "name_grid_test.moc"
