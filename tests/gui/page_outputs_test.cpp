// One form on the preview's page and in a PDF rendered back by pdftoppm: the same lines and dots.
#include <QImage>
#include <QProcess>
#include <utility>
#include <vector>

#include "report/page_generator.h"
#include "report/printer_output.h"
#include "reportui/rep_preview.h"
#include "shell_test_support.h"

namespace zorel {
namespace {

constexpr int kZoom = 300;  // the preview at three times 96 pixels per inch

bool Ink(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

struct Line {
  int top, bottom, right;
};

// The text lines inside a rectangle: runs of rows with ink, and the rightmost ink of each.
std::vector<Line> TextLines(const QImage& img, QRect r) {
  std::vector<Line> lines;
  int gap = 2;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    int right = -1;
    for (int x = r.left(); x <= r.right(); ++x) {
      if (Ink(img, x, y)) right = x;
    }
    if (right < 0) {
      ++gap;
      continue;
    }
    if (gap > 1) lines.push_back({y, y, right});
    lines.back().bottom = y;
    lines.back().right = std::max(lines.back().right, right);
    gap = 0;
  }
  return lines;
}

// Lengths of the runs of ink along a row.
std::vector<int> Runs(const QImage& img, int y, int left, int right) {
  std::vector<int> runs;
  bool in = false;
  for (int x = left; x < right; ++x) {
    const bool ink = Ink(img, x, y);
    if (ink && !in) runs.push_back(0);
    if (ink) ++runs.back();
    in = ink;
  }
  return runs;
}

std::unique_ptr<TReport> Form() {
  auto r = std::make_unique<TReport>();
  TRepBand& band = r->CreateBand(QStringLiteral("DetailBand"));
  band.HeightTenths = 600;
  auto& address = band.AddLabel(std::make_unique<TRepLabel>(QStringLiteral("i1")));
  address.Caption = QStringLiteral("Железнодорожная улица, дом 9, корпус 2, строение 15");
  address.Size = {300, 100, 0, 330};
  address.Frame.DrawTop = address.Frame.DrawLeft = true;
  address.Frame.Width = 2;
  auto& dotted = band.AddLabel(std::make_unique<TRepLabel>(QStringLiteral("r1")));
  dotted.Size = {100, 600, 400, 600};
  dotted.Frame.DrawTop = true;
  dotted.Frame.Style = PenStyle::Dot;
  auto done = std::make_shared<bool>(false);  // one band
  r->BeforePrint = [done](TReport&, bool&) { *done = false; };
  r->OnNeedData = [done](TReport&, bool& more) { more = !std::exchange(*done, true); };
  return r;
}

}  // namespace

class PageOutputsTest : public QObject {
  Q_OBJECT

 private slots:
  void PreviewAndPdfDrawLabelsAlike() {
    auto form = Form();
    PageGenerator shown(*form);
    shown.RunToEnd();
    TRepPreview preview;
    preview.resize(800, 600);
    preview.Attach(form.get(), &shown);
    preview.SetZoom(kZoom);
    const QImage screen = preview.PageImage()->grab().toImage();
    const double f = preview.FactorX() * kZoom / 100;

    test_support::TempDir dir;
    const QString pdf = QString::fromStdString(dir / "page.pdf");
    PageGenerator printed(*form);
    WritePdf(pdf.toStdString(), {}, *form, printed);
    const QString png = QString::fromStdString(dir / "page");
    const int dpi = static_cast<int>(std::lround(f * 254));
    QCOMPARE(
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"),
                           QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                           QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png}),
        0);
    const QImage paper(png + QStringLiteral(".png"));
    QVERIFY(!paper.isNull());

    auto px = [f](double tenths) { return static_cast<int>(std::lround(tenths * f)); };
    // The address inside its frame lines (two points, about 7 tenths), in the first band.
    const QRect text(px(100 + 100 + 10), px(100 + 10), px(330 - 10) - 4, px(300 - 10) - 4);
    const std::vector<Line> onScreen = TextLines(screen, text);
    const std::vector<Line> onPaper = TextLines(paper, text);
    QVERIFY(onScreen.size() >= 3);
    QCOMPARE(onPaper.size(), onScreen.size());
    for (std::size_t i = 0; i < onScreen.size(); ++i) {
      QVERIFY2(std::abs(onScreen[i].right - onPaper[i].right) <= px(5),
               qPrintable(QStringLiteral("line %1 ends at %2 on screen and %3 on paper")
                              .arg(i)
                              .arg(onScreen[i].right)
                              .arg(onPaper[i].right)));
      QVERIFY(std::abs(onScreen[i].top - onPaper[i].top) <= px(5));
    }
    // The thick frame lies above the text: nothing of it in the text's rectangle's top row.
    QCOMPARE(Runs(screen, text.top(), text.left(), text.right()).size(), 0u);

    // The dotted top line: dots of one point (about 3.5 tenths), as many on paper as on screen.
    const int y = px(100 + 400) + 1;
    const std::vector<int> dotsOnScreen = Runs(screen, y, px(720), px(1280));
    const std::vector<int> dotsOnPaper = Runs(paper, y, px(720), px(1280));
    QVERIFY(dotsOnScreen.size() > 20);
    QVERIFY(std::abs(int(dotsOnScreen.size()) - int(dotsOnPaper.size())) <= 1);
    for (std::size_t i = 1; i + 1 < dotsOnPaper.size(); ++i)  // the ends may be cut
      QVERIFY2(std::abs(dotsOnPaper[i] - px(254.0 / 72)) <= 1,
               qPrintable(QString::number(dotsOnPaper[i])));
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::PageOutputsTest)
#include "page_outputs_test.moc"
