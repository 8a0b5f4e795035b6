// The name grid over long lists: moves, clicks and scrolling, painting, the names shown.
#include "shell/name_grid.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <set>

#include "shell/record_grid_model.h"
#include "shell_test_support.h"
#include "textconv/text_convert.h"

namespace zorel {

using namespace test_support;

namespace {

constexpr int kRows = 1000;

// A main window over kRows enterprises, its list window and grid.
struct Grid {
  Shell s{NumberedBase(kRows)};
  TMDIChild* w = s.Active();
  NameGrid* grid = Find<NameGrid>(w, "dgInfo");
  int PageRows() const { return grid->viewport()->height() / grid->rowHeight(0); }
};

struct KeyMove {
  int start;
  Qt::Key key;
  int pages, rows;  // the expected move in pages of whole rows plus rows
  int expected;     // or this row when not -1
};

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
    QTest::addColumn<KeyMove>("move");
    QTest::newRow("down") << KeyMove{10, Qt::Key_Down, 0, 1, -1};
    QTest::newRow("up") << KeyMove{10, Qt::Key_Up, 0, -1, -1};
    QTest::newRow("up at the first row") << KeyMove{0, Qt::Key_Up, 0, 0, 0};
    QTest::newRow("down at the last row") << KeyMove{kRows - 1, Qt::Key_Down, 0, 0, kRows - 1};
    QTest::newRow("page down") << KeyMove{10, Qt::Key_PageDown, 1, 0, -1};
    QTest::newRow("page up") << KeyMove{500, Qt::Key_PageUp, -1, 0, -1};
    QTest::newRow("page up near the top") << KeyMove{3, Qt::Key_PageUp, 0, 0, 0};
    QTest::newRow("page down near the end")
        << KeyMove{kRows - 3, Qt::Key_PageDown, 0, 0, kRows - 1};
    QTest::newRow("end") << KeyMove{10, Qt::Key_End, 0, 0, kRows - 1};
    QTest::newRow("home") << KeyMove{700, Qt::Key_Home, 0, 0, 0};
  }
  void KeysMoveByRowsAndPagesAndKeepTheCurrentRowInView() {
    QFETCH(KeyMove, move);
    Grid g;
    g.w->SetCurrentRow(move.start);
    QVERIFY(InView(g.grid, move.start));
    QVERIFY(g.PageRows() > 3);
    QTest::keyClick(g.grid, move.key);
    const int want =
        move.expected >= 0 ? move.expected : move.start + move.pages * g.PageRows() + move.rows;
    QCOMPARE(g.w->CurrentRow(), want);
    QVERIFY(InView(g.grid, want));
    QCOMPARE(g.s.form->StatusText(1), QStringLiteral("%1/%2").arg(want + 1).arg(kRows));
  }

  void AClickMakesTheRowUnderTheMouseCurrent() {
    Grid g;
    g.w->SetCurrentRow(400);
    const int top = g.grid->rowAt(0);
    const int h = g.grid->rowHeight(0);
    Click(g.grid->viewport(), QPoint(10, 3 * h + h / 2));
    QCOMPARE(g.w->CurrentRow(), top + 3);
    QVERIFY(g.grid->selectionModel()->isRowSelected(top + 3));
    QCOMPARE(g.grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(g.grid->visualRect(g.grid->currentIndex()).top(), 3 * h);
  }

  void TheScrollBarCountsRowsUpToTheLastPage() {
    Grid g;
    QScrollBar* bar = g.grid->verticalScrollBar();
    QCOMPARE(bar->maximum(), kRows - g.PageRows());
    bar->setValue(250);
    QCOMPARE(g.grid->rowAt(0), 250);
    QCOMPARE(g.grid->rowViewportPosition(252), 2 * g.grid->rowHeight(0));
    g.w->SetCurrentRow(kRows - 1);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(RowsInView(g.grid).second, kRows - 1);
    // A shorter list shrinks the range and brings the rows back into view.
    g.w->SetSearchResult({5, 6, 7}, QStringLiteral("Поиск"));
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(g.grid->rowAt(0), 0);
    QCOMPARE(g.w->CurrentRow(), 2);
    // A click below the last row leaves the current row.
    g.w->SetCurrentRow(1);
    Click(g.grid->viewport(), QPoint(10, 10 * g.grid->rowHeight(0)));
    QCOMPARE(g.w->CurrentRow(), 1);
  }

  void PaintingReadsOnlyTheRowsInView() {
    Grid g;
    auto* model = static_cast<RecordGridModel*>(g.grid->model());
    std::multiset<int> fetched;
    model->SetFetchObserver([&fetched](int row) { fetched.insert(row); });
    g.w->SetCurrentRow(600);
    g.grid->viewport()->repaint();
    const auto [first, last] = RowsInView(g.grid);
    QCOMPARE(static_cast<int>(fetched.size()), last - first + 1);
    QCOMPARE(*fetched.begin(), first);
    QCOMPARE(*fetched.rbegin(), last);
    // Repainting the same rows, or moving the selection within them, reads nothing again.
    fetched.clear();
    QTest::keyClick(g.grid, Qt::Key_Up);
    g.grid->viewport()->repaint();
    QVERIFY(fetched.empty());
    model->SetFetchObserver({});
  }

  void NamesBelongToTheRowsRecordsAfterTheListChanges() {
    Grid g;
    g.grid->viewport()->repaint();
    QCOMPARE(ShownName(g.grid, 0), QStringLiteral("Предприятие 0"));
    // Records that share a place among the kept names must not show each other's names.
    g.w->SetSearchResult({256, 0, 512, 3}, QStringLiteral("Поиск"));
    g.grid->viewport()->repaint();
    const QStringList expected = {
        QStringLiteral("Предприятие 256"), QStringLiteral("Предприятие 0"),
        QStringLiteral("Предприятие 512"), QStringLiteral("Предприятие 3")};
    for (int round = 0; round < 2; ++round) {
      for (int row = 0; row < expected.size(); ++row)
        QCOMPARE(ShownName(g.grid, row), expected[row]);
    }
    QCOMPARE(static_cast<RecordGridModel*>(g.grid->model())->NameAt(2), expected[2]);
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::NameGridTest)
#include "name_grid_test.moc"
