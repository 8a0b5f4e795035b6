// The preview window, the page setup and record range dialogs, printing a list, and one page
// drawn alike in the preview and in a PDF rendered back by pdftoppm.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <cmath>
#include <utility>
#include <vector>

#include "data/file_util.h"
#include "print/list_printing.h"
#include "print/page_setup.h"
#include "print/prn_pages.h"
#include "report/form_file.h"
#include "report/page_generator.h"
#include "report/printer_output.h"
#include "report/sample_forms.h"
#include "report/shared_printer.h"
#include "reportui/printer_setup.h"
#include "reportui/rep_preview.h"
#include "reportui/rep_standard_preview.h"
#include "shell_test_support.h"
#include "support/open_base.h"

namespace zorel {

using namespace test_support;
namespace {

int Round(double x) { return static_cast<int>(std::nearbyint(x)); }

// An A4 report of n bands, five to a page.
std::unique_ptr<TReport> Bands(int n) {
  auto r = std::make_unique<TReport>();
  r->CreateBand(QStringLiteral("B")).HeightTenths = 500;
  auto left = std::make_shared<int>(n);
  r->BeforePrint = [left, n](TReport&, bool&) { *left = n; };  // each run starts over
  r->OnNeedData = [left](TReport&, bool& more) { more = (*left)-- > 0; };
  return r;
}

std::shared_ptr<UserPrompts> Prompts(std::function<int(QDialog&)> runModal) {
  auto p = std::make_shared<UserPrompts>();
  p->runModal = std::move(runModal);
  p->inform = [](QWidget*, const QString& text) { QFAIL(qPrintable(text)); };
  p->tell = [](QWidget*, MessageIcon, const QString& text) { QFAIL(qPrintable(text)); };
  return p;
}

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

std::unique_ptr<TReport> TwoLabelForm() {
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

class PrintPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void ZoomModesFollowTheirFormulas() {
    auto report = Bands(1);
    PageGenerator pages(*report);
    pages.RunToEnd();
    TRepPreview preview;
    preview.Attach(report.get(), &pages);
    if (preview.logicalDpiX() == 96) QCOMPARE(preview.PageWidthPx(), 794);  // A4 at 100 %
    struct Case {
      QSize size;
      bool widthDecides;
    } cases[] = {{{400, 1200}, true}, {{1200, 400}, false}};
    for (const Case& c : cases) {
      preview.resize(c.size);
      preview.show();
      const QSize client = preview.viewport()->size();
      preview.ZoomToWidth();
      QCOMPARE(preview.Zoom(), Round(client.width() / double(preview.PageWidthPx()) * 90));
      QCOMPARE(preview.Mode(), TRepPreview::ZoomMode::Width);
      preview.ZoomToFit();
      const QSize fitClient = preview.viewport()->size();
      const int zw = Round(fitClient.width() / double(preview.PageWidthPx()) * 95);
      const int zh = Round(fitClient.height() / double(preview.PageHeightPx()) * 95);
      QCOMPARE(preview.Zoom(), c.widthDecides ? zw : zh);
      QCOMPARE(preview.Mode(), TRepPreview::ZoomMode::Fit);
    }
    for (const int bad : {1, 2001}) {
      preview.SetZoom(bad);
      QVERIFY(preview.Zoom() != bad);
      QCOMPARE(preview.Mode(), TRepPreview::ZoomMode::Fit);
    }
    for (const int good : {2, 2000}) {
      preview.SetZoom(good);
      QCOMPARE(preview.Zoom(), good);
      QCOMPARE(preview.Mode(), TRepPreview::ZoomMode::Fixed);
    }
    preview.resize(1200, 1300);
    preview.SetZoom(20);  // smaller than the area: centred
    const QRect image = preview.PageImage()->geometry();
    QCOMPARE(image.width(), Round(preview.FactorX() * (2100 / 100.0 * 20)) + 4);
    QCOMPARE(image.left(), (preview.viewport()->width() - image.width()) / 2);
    QCOMPARE(image.top(), (preview.viewport()->height() - image.height()) / 2);
    preview.SetZoom(300);  // larger: top left, scroll bars at 0
    QCOMPARE(preview.PageImage()->pos(), QPoint(0, 0));
    QCOMPARE(preview.horizontalScrollBar()->value(), 0);
    QCOMPARE(preview.verticalScrollBar()->value(), 0);
  }

  void FirstPageShowsBeforeTheRunEnds() {
    auto report = Bands(30);
    PageGenerator pages(*report, 30);
    TRepPreview preview;
    preview.Attach(report.get(), &pages);
    QVERIFY(pages.Step());
    preview.PagesAdded();
    QCOMPARE(preview.PageNumber(), 1);
    QCOMPARE(preview.PageCount(), 1);
    QVERIFY(!pages.Finished());
    preview.SetPageNumber(2);  // not generated yet
    QCOMPARE(preview.PageNumber(), 1);
  }

  void KeysAndButtonsPageThrough() {
    auto report = Bands(23);  // five pages
    TRepStandardPreview window(*report, 23, Prompts([](QDialog&) { return 0; }));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.FinishRun();
    QVERIFY(!window.Gauge()->isVisible());
    const struct {
      QKeySequence key;
      int page;
    } steps[] = {
        {QKeySequence(Qt::Key_PageUp), 1},
        {QKeySequence(Qt::Key_PageDown), 2},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 5},
        {QKeySequence(Qt::Key_PageDown), 5},
        {QKeySequence(Qt::Key_Home), 1},
        {QKeySequence(Qt::Key_End), 5},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), 1},
    };
    for (const auto& s : steps) {
      QTest::keySequence(window.Preview(), s.key);
      QCOMPARE(window.Preview()->PageNumber(), s.page);
    }
    window.NextPage();
    window.NextPage();
    QCOMPARE(window.StatusText(), QStringLiteral("Страница 3 из 5"));
    // Enter presses no button; printing wears the printer icon, not a floppy disk.
    bool asked = false;
    window.choosePdfFile = [&asked](QWidget*, const QString&) {
      asked = true;
      return QString();
    };
    QTest::keyClick(&window, Qt::Key_Return);
    QVERIFY(!asked);
    const QIcon print = window.findChild<QToolButton*>(QStringLiteral("Print"))->icon();
    const QIcon save = window.style()->standardIcon(QStyle::SP_DialogSaveButton);
    QVERIFY(print.pixmap(16).toImage() != save.pixmap(16).toImage());
    QVERIFY(QIcon::fromTheme(QStringLiteral("document-print")).isNull() ||
            print.name() == QStringLiteral("document-print"));
  }

  void PageSetupRules() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    TfrmPageSetup dialog(printer);
    dialog.PaperList()->setCurrentIndex(PaperPosition(PaperSize::A4));
    dialog.OrientationList()->setCurrentIndex(1);
    QCOMPARE(dialog.WidthText(), QStringLiteral("297"));
    QCOMPARE(dialog.HeightText(), QStringLiteral("210"));

    const QString before = dialog.PaperList()->itemText(5);
    dialog.show();
    dialog.hide();
    dialog.show();
    for (int i = 0; i < kPaperCount; ++i) {
      const QString item = dialog.PaperList()->itemText(i);
      QVERIFY(item.startsWith(QStringLiteral("* ")) || item.startsWith(QStringLiteral("  ")));
    }
    QCOMPARE(dialog.PaperList()->itemText(5).mid(2), before.mid(2));
    dialog.hide();

    TRepPage page;
    page.SetPaperSize(PaperSize::A4Small);
    page.SetLeftMargin(12.5);
    page.SetTopMargin(13.5);
    dialog.LoadFromPage(page);
    QCOMPARE(dialog.WidthText(), QStringLiteral("210"));  // the page's own, not the paper's
    QCOMPARE(dialog.Margin(2)->value(), 12);
    QCOMPARE(dialog.Margin(0)->value(), 14);
    dialog.show();  // no paper for A4Small: Letter, but still the page's own size
    QCOMPARE(dialog.PaperList()->currentIndex(), 0);
    QCOMPARE(dialog.WidthText(), QStringLiteral("210"));
    QCOMPARE(dialog.HeightText(), QStringLiteral("297"));
    dialog.StoreToPage(page);
    QCOMPARE(page.LeftMargin(), 12.0);
    QCOMPARE(page.Paper(), PaperSize::Letter);
    QCOMPARE(page.Width(), 216.0);
  }

  void RangeDialogRules() {
    TfrmPrnPages dialog;
    dialog.show();
    QVERIFY(!dialog.RangePanel()->isVisible());
    dialog.SetAllRecords(false);
    QVERIFY(dialog.RangePanel()->isVisible());
    dialog.SetRangeLimit(40);
    QCOMPARE(dialog.RangeFrom(), 1);
    QCOMPARE(dialog.RangeTo(), 40);
    dialog.SetRangeLimit(100);
    QCOMPARE(dialog.RangeTo(), 40);  // the limit grows, the value stays
    dialog.FromField()->setValue(7);
    dialog.ToField()->setValue(3);
    emit dialog.ToField()->editingFinished();
    QCOMPARE(dialog.RangeFrom(), 3);
    dialog.FromField()->setValue(9);
    emit dialog.FromField()->editingFinished();
    QCOMPARE(dialog.RangeTo(), 9);
  }

  void ListPreviewedThroughASavedFormAndSavedAsPdf() {
    OpenBase base(SampleBase());
    TempDir dir;
    SaveFormFile(dir / "card.rpt", *EnterpriseCardForm());
    const std::string pdf = dir / "out.pdf";
    // A PDF among the base's files is refused, as everywhere.
    const std::string intoBase = base.dm().DbDir() + "/into-base.pdf";
    QStringList shown, told, proposed;
    auto prompts = Prompts([&](QDialog& d) {
      if (auto* range = qobject_cast<TfrmPrnPages*>(&d)) {
        range->SetAllRecords(false);
        range->FromField()->setValue(2);
        range->ToField()->setValue(3);
        return int(QDialog::Accepted);
      }
      auto* preview = qobject_cast<TRepStandardPreview*>(&d);
      preview->FinishRun();
      shown << preview->StatusText();
      proposed << preview->ProposedPdfPath();
      for (const std::string& target : {pdf, intoBase}) {
        preview->choosePdfFile = [&target](QWidget*, const QString&) {
          return QString::fromStdString(target);
        };
        preview->SaveToPdf();
        if (target == pdf) proposed << preview->ProposedPdfPath();
      }
      return int(QDialog::Rejected);
    });
    prompts->tell = [&told](QWidget*, MessageIcon, const QString& text) { told << text; };
    ListPrinting printing(base.dm(), prompts, nullptr);
    printing.chooseForm = [&dir](QWidget*, const QString&) {
      return QString::fromStdString(dir / "card.rpt");
    };
    printing.documentName = QStringLiteral("Мой список");
    printing.PreviewListThroughForm({2, 1, 0}, 0);
    QCOMPARE(shown, QStringList{QStringLiteral("Страница 1 из 1")});
    QVERIFY(ReadWholeFile(pdf).value_or("").starts_with("%PDF"));
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains(QStringLiteral("файл базы данных")), qPrintable(told[0]));
    QVERIFY(!FileExists(intoBase));
    // The PDF is named after the list, in the documents folder, then where the last one went.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(proposed, (QStringList{QDir(documents).filePath(QStringLiteral("Мой список.pdf")),
                                    QString::fromStdString(dir / "Мой список.pdf")}));

    // The editor's own range dialog offers the range chosen there.
    ListPrinting editor(base.dm(), Prompts([](QDialog& d) {
                          auto* range = qobject_cast<TfrmPrnPages*>(&d);
                          const bool same = range && !range->AllRecords() &&
                                            range->RangeFrom() == 2 && range->RangeTo() == 3;
                          return int(same ? QDialog::Accepted : QDialog::Rejected);
                        }),
                        nullptr);
    const RecordList list = {2, 1, 0};
    ListPrintLoop loop(base.dm(), list);
    QVERIFY(editor.ChooseRange(loop));
    QCOMPARE(loop.FirstIndex(), 1);
  }

  // With no printer installed, printing says so with a warning and names the way out.
  void NoPrinterIsSaidWithAWarning() {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed here");
    OpenBase base(SampleBase());
    SharedPrinter().setOutputFileName(QString());
    std::vector<std::pair<MessageIcon, QString>> told;
    auto prompts = Prompts([](QDialog&) { return int(QDialog::Rejected); });
    prompts->tell = [&told](QWidget*, MessageIcon icon, const QString& text) {
      told.emplace_back(icon, text);
    };
    ListPrinting printing(base.dm(), prompts, nullptr);
    auto form = EnterpriseCardForm();
    const RecordList list = {0};
    ListPrintLoop loop(base.dm(), list);
    loop.SetAllRecords();
    printing.Print(*form, loop, {});
    TRepStandardPreview window(*form, 1, prompts);
    window.Print();
    QCOMPARE(told.size(), 2u);
    for (const auto& [icon, text] : told) {
      QCOMPARE(icon, MessageIcon::Warning);
      QVERIFY(text.contains(QStringLiteral("Не установлен ни один принтер")));
      QVERIFY(text.contains(QStringLiteral("Сохранить в PDF ...")));
    }
  }

  // Print goes to the shared printer (here a PDF file); single mode outside the list is
  // refused with a message and prints nothing, and so is a file of the base.
  void PrintGoesToTheChosenPrinter() {
    OpenBase base(SampleBase());
    TempDir dir;
    const std::string pdf = dir / "printed.pdf";
    SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    SharedPrinter().setOutputFileName(QString::fromStdString(pdf));
    QStringList told;
    auto prompts = Prompts([](QDialog&) { return int(QDialog::Rejected); });
    prompts->inform = [&told](QWidget*, const QString& text) { told << text; };
    ListPrinting printing(base.dm(), prompts, nullptr);
    auto form = EnterpriseCardForm();
    const RecordList list = {2, 0};
    ListPrintLoop loop(base.dm(), list);
    loop.Mode = PrintMode::Single;
    loop.CurrentIndex = 2;
    printing.Print(*form, loop, {});
    QCOMPARE(told.size(), 1);
    QVERIFY(!ReadWholeFile(pdf).has_value());
    loop.CurrentIndex = 1;
    printing.Print(*form, loop, {});
    QVERIFY(ReadWholeFile(pdf).value_or("").starts_with("%PDF"));
    // Printing into a file writes a PDF like "Сохранить в PDF ...": never onto the base.
    const std::string factory = base.dm().DbDir() + "/factory.dat";
    const std::string before = ReadWholeFile(factory).value_or("");
    SharedPrinter().setOutputFileName(QString::fromStdString(factory));
    printing.Print(*form, loop, {});
    QCOMPARE(told.size(), 2);
    QVERIFY2(told[1].contains(QStringLiteral("файл базы данных")), qPrintable(told[1]));
    QCOMPARE(ReadWholeFile(factory).value_or(""), before);
    SharedPrinter().setOutputFileName(QString());
  }

  // "Установки принтера" chooses a printer and nothing else (no page range, no copies, no
  // print button); with none installed it says so.
  void MainWindowCommands() {
    Shell s;
    QStringList modal;
    QString note;
    bool choiceShown = false;
    s.form->Prompts()->runModal = [&](QDialog& d) {
      modal << d.metaObject()->className() + QStringLiteral(":") + d.windowTitle();
      if (auto* setup = qobject_cast<PrinterSetupDialog*>(&d)) {
        note = setup->Note()->isVisibleTo(setup) ? setup->Note()->text() : QString();
        choiceShown = setup->PrinterChoice()->isVisibleTo(setup);
      }
      return int(QDialog::Rejected);
    };
    s.Action("FilePrinterSetup")->trigger();
    QCOMPARE(modal, QStringList{QStringLiteral("zorel::PrinterSetupDialog:Установки принтера")});
    QCOMPARE(choiceShown, note.isEmpty());
    if (QPrinterInfo::availablePrinterNames().isEmpty())
      QVERIFY(note.startsWith(QStringLiteral("Не установлен ни один принтер")));
    QVERIFY(s.Action("FilePrint")->isEnabled());
  }

  void PreviewAndPdfDrawLabelsAlike() {
    auto form = TwoLabelForm();
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

ZOREL_GUI_TEST_MAIN(zorel::PrintPreviewTest)
#include "print_preview_test.moc"
