// The two visual components: the banded gradient and the memo whose height follows its lines.
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "components/auto_height_memo.h"
#include "components/gradient_fill.h"

namespace zorel {

struct MulDivCase {
  int x, y, z, expected;
};

// The picture of a gradient of this size, colours, direction and number of bands.
QImage Gradient(QSize size, QColor begin, QColor end, TGradientFill::Direction direction,
                int colours) {
  TGradientFill fill;
  fill.resize(size);
  fill.SetBeginColor(begin);
  fill.SetEndColor(end);
  fill.SetFillDirection(direction);
  fill.SetNumberOfColors(colours);
  return fill.grab().toImage();
}

class ComponentsTest : public QObject {
  Q_OBJECT

 private slots:
  void MulDivRoundsHalvesAwayFromZero_data() {
    QTest::addColumn<MulDivCase>("c");
    QTest::newRow("half up") << MulDivCase{1, 11, 2, 6};
    QTest::newRow("half down negative") << MulDivCase{-1, 11, 2, -6};
    QTest::newRow("below half") << MulDivCase{1, 1, 3, 0};
    QTest::newRow("above half") << MulDivCase{2, 1, 3, 1};
    QTest::newRow("no overflow") << MulDivCase{2000000000, 3, 4, 1500000000};
    QTest::newRow("negative divisor") << MulDivCase{5, 1, -2, -3};
    QTest::newRow("zero divisor") << MulDivCase{5, 1, 0, -1};
  }
  void MulDivRoundsHalvesAwayFromZero() {
    QFETCH(MulDivCase, c);
    QCOMPARE(MulDiv(c.x, c.y, c.z), c.expected);
  }

  void OneColourFillsWithTheStartSide_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("top to bottom") << int(TGradientFill::fdTopToBottom) << QColor(Qt::red);
    QTest::newRow("left to right") << int(TGradientFill::fdLeftToRight) << QColor(Qt::red);
    QTest::newRow("bottom to top") << int(TGradientFill::fdBottomToTop) << QColor(Qt::green);
    QTest::newRow("right to left") << int(TGradientFill::fdRightToLeft) << QColor(Qt::green);
  }
  void OneColourFillsWithTheStartSide() {
    QFETCH(int, direction);
    QFETCH(QColor, expected);
    const QImage image =
        Gradient({20, 15}, Qt::red, Qt::green, TGradientFill::Direction(direction), 1);
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 20; ++x) QCOMPARE(image.pixelColor(x, y), expected);
  }

  void TwoBandsSplitAtTheRoundedMiddle() {
    const QImage image = Gradient({4, 11}, Qt::black, Qt::white, TGradientFill::fdTopToBottom, 2);
    for (int y = 0; y < 11; ++y) {
      QCOMPARE(image.pixelColor(2, y), y <= 5 ? QColor(Qt::black) : QColor(Qt::white));
    }
  }

  // A red ramp with a distinct colour per band shows every band edge.
  void BandsAreSpreadEvenlyOverWholePixels() {
    const QImage image =
        Gradient({1040, 8}, QColor(0, 0, 0), QColor(198, 0, 0), TGradientFill::fdLeftToRight, 100);
    int bands = 0;
    int start = 0;
    for (int x = 1; x <= 1040; ++x) {
      if (x == 1040 || image.pixelColor(x, 4) != image.pixelColor(x - 1, 4)) {
        const int width = x - start;
        QVERIFY2(width == 10 || width == 11, qPrintable(QString::number(width)));
        QCOMPARE(image.pixelColor(start, 4).red(), 2 * bands);
        ++bands;
        start = x;
      }
    }
    QCOMPARE(bands, 100);
  }

  // Shown at once, the memo is as high as its lines and shows all of them; otherwise one line.
  void MemoHeightFollowsItsLines() {
    TAutoHeightMemo memo;
    memo.setPlainText("one\ntwo\nthree");
    const int h = memo.LineHeight();
    const int a = memo.BorderAllowance();
    QCOMPARE(memo.height(), h + a);
    memo.resize(300, 10);
    memo.SetShowAtOnce(true);
    memo.setPlainText("one\ntwo\nthree\nfour");
    QCOMPARE(memo.height(), 4 * h + a);
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    QCOMPARE(memo.verticalScrollBar()->maximum(), 0);
    memo.setPlainText("one\ntwo");
    QCOMPARE(memo.height(), 2 * h + a);
    memo.setPlainText("");
    QCOMPARE(memo.height(), h + a);
  }

  void MemoCountsWrappedLines() {
    TAutoHeightMemo memo;
    memo.setFrameShape(QFrame::NoFrame);
    memo.resize(120, 10);
    memo.SetShowAtOnce(true);
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    const QString word = "слово";
    QString text;
    // About one and a half widths of text.
    while (memo.fontMetrics().horizontalAdvance(text) < 170) text += word + " ";
    memo.setPlainText(text.trimmed());
    QCOMPARE(memo.VisibleLineCount(), 2);
    QCOMPARE(memo.height(), 2 * memo.LineHeight() + memo.BorderAllowance());
    memo.resize(400, memo.height());
    QCOMPARE(memo.height(), memo.LineHeight() + memo.BorderAllowance());
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::ComponentsTest)
#include "components_test.moc"
