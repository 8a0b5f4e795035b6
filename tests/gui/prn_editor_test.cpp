// The print form editor: naming, the modified mark, failed files, undo, random forms read back,
// and its design surface: snapping, the mark of a cut label, the mouse and the keys.
#include "print/prn_editor.h"

#include <unistd.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <map>
#include <random>

#include "print/page_setup.h"
#include "print/prn_pages.h"
#include "report/form_error.h"
#include "report/form_file.h"
#include "report/report.h"
#include "report/shared_printer.h"
#include "reportui/rep_designer.h"
#include "reportui/rep_standard_preview.h"
#include "reportui/report_surface.h"
#include "shell_test_support.h"

namespace zorel {

using namespace zorel::test_support;

QString PdfText(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

class PrnEditorTest : public QObject {
  Q_OBJECT

  struct Fixture {
    GuiBase base;
    std::shared_ptr<PromptLog> log = std::make_shared<PromptLog>();
    std::shared_ptr<UserPrompts> prompts = ScriptedPrompts(log);
    QString openPath, savePath;
    QFont font{QStringLiteral("Serif")};
    QColor color{Qt::red};
    RecordList list;
    std::unique_ptr<TfrmPrnEditor> editor;

    explicit Fixture(const BaseSource& source = SampleBase()) : base(source) {
      FormPrompts fp;
      fp.chooseToOpen = [this](QWidget*, const QString&, const QString&) { return openPath; };
      fp.chooseToSave = [this](QWidget*, const QString&, const QString&) { return savePath; };
      fp.chooseFont = [this](QWidget*, const QFont&) { return std::optional<QFont>(font); };
      fp.chooseColor = [this](QWidget*, const QColor&) { return std::optional<QColor>(color); };
      editor = std::make_unique<TfrmPrnEditor>(base.dm(), prompts, fp);
      base.dm().FillAllRecords(list);
      editor->SetPrintList(&list);
      editor->show();
    }
    QString Path(const char* name) const { return QString::fromStdString(base.dir() / name); }
    // Save As into the base's folder under this name.
    bool SaveAs(const char* name) {
      savePath = Path(name);
      return editor->SaveAs();
    }
    TRepBand& Band() const { return *editor->Report().DetailBand(); }
    TRepLabel* Label(const char* name) const {
      for (const auto& l : Band().Labels()) {
        if (l->Name == QLatin1String(name)) return l.get();
      }
      return nullptr;
    }
    void CreateField(int field) {
      Find<QComboBox>(editor.get(), "cbField")->setCurrentIndex(field);
      editor->Create();
    }
    void Select(TRepLabel* label) { editor->Designer().Select(DesignObject::Label(label)); }
    void Click(const char* button) const {
      QTest::mouseClick(Find<QToolButton>(editor.get(), button), Qt::LeftButton);
    }
    bool Activate() const {
      editor->activateWindow();
      return QTest::qWaitForWindowActive(editor.get());
    }
    QStringList Names() const {
      QStringList names;
      for (const auto& l : Band().Labels()) names << l->Name;
      return names;
    }
  };

  // A report whose band holds one label at 10, 20, 100 x 30 pixels.
  struct Surface {
    TReport report;
    ReportSurface surface;
    TRepDesigner designer;
    TRepLabel* label;
    Surface() {
      TRepBand& band = report.CreateBand(QStringLiteral("RepBand1"));
      label = &band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1")));
      label->SetBounds(10, 20, 100, 30);
      surface.SetReport(&report);
      surface.show();
      designer.SnapToGrid = false;
      designer.Attach(surface);
    }
    QPoint Band() const {
      const DragRect b = surface.BandRect();
      return {b.left, b.top};
    }
    QPoint InLabel() const { return Band() + QPoint(50, 35); }
    void Drag(QWidget* from, QPoint at, QPoint by) {
      QTest::mousePress(from, Qt::LeftButton, {}, at);
      const QPoint start = from->mapTo(&surface, at);
      QTest::mouseMove(&surface, start + by / 2);
      QTest::mouseMove(&surface, start + by);
      QTest::mouseRelease(&surface, Qt::LeftButton, {}, start + by);
    }
    QRect LabelRect() const {
      return {label->Left(), label->Top(), label->Width(), label->Height()};
    }
    QWidget* HandleWidget(int index) { return const_cast<TControlHandle*>(designer.Handle(index)); }
  };

 private slots:
  void ElementsAreNamedByLetterAndSmallestFreeNumber() {
    Fixture f;
    f.CreateField(0);
    f.CreateField(0);
    f.CreateField(17);
    QCOMPARE(f.Names(), (QStringList{"a1", "a2", "r1"}));
    f.Select(f.Label("a1"));
    f.editor->Designer().DeleteSelection();
    f.CreateField(0);
    QCOMPARE(f.Names(), (QStringList{"a2", "r1", "a1"}));
    // The caption is the current record's text; the user field its fixed text.
    QCOMPARE(f.Label("r1")->Caption, QStringLiteral("Строка пользователя"));
    QCOMPARE(f.Label("a1")->Caption, f.editor->FieldText(0, 0));
    QVERIFY(!f.Label("a1")->Caption.isEmpty());
    // With no record to show, a field's caption is its chooser text.
    RecordList empty;
    f.editor->SetPrintList(&empty);
    f.CreateField(8);
    QCOMPARE(f.Label("i1")->Caption, QStringLiteral("Адрес"));
  }

  void NewAsksWheneverTheFormIsModified() {
    Fixture f;
    f.editor->New();
    QVERIFY(f.log->questions.isEmpty());
    f.CreateField(0);
    QVERIFY(f.editor->FormModified());
    QCOMPARE(Find<QFrame>(f.editor.get(), "pFile")->palette().color(QPalette::Window),
             QColor(Qt::red));
    f.editor->New();  // answered No: the changes go
    QCOMPARE(f.log->questions, QStringList{QStringLiteral("Сохранить изменения ?")});
    QVERIFY(f.Band().Labels().empty());
    QVERIFY(!f.editor->FormModified());

    // A form with a file is asked about too, and Yes saves it there.
    f.savePath = f.Path("card.rpt");
    f.CreateField(0);
    QCOMPARE(f.editor->windowTitle(), QStringLiteral("Новая форма[*] — Редактор печатных форм"));
    QVERIFY(f.editor->isWindowModified());
    QVERIFY(f.editor->SaveAs());
    QCOMPARE(f.editor->windowTitle(), QStringLiteral("card.rpt[*] — Редактор печатных форм"));
    QVERIFY(!f.editor->isWindowModified());
    f.CreateField(17);
    f.log->answerYes = true;
    f.editor->New();
    QCOMPARE(f.log->questions.size(), 2);
    QCOMPARE(LoadFormFile(f.savePath.toStdString())->DetailBand()->Labels().size(), 2u);
    QVERIFY(!f.editor->HasFormFile());
    QVERIFY(f.editor->FormFileName().isEmpty());
  }

  void AFailedOpenOrSaveKeepsTheForm() {
    Fixture f;
    f.openPath = f.Path("broken.rpt");
    WriteBytes(f.openPath.toStdString(), "not a form");
    f.CreateField(0);
    const std::string form = WriteFormBytes(f.editor->Report());
    f.editor->Open();
    QVERIFY(f.log->questions.isEmpty());
    QCOMPARE(f.log->informations.size(), 1);
    QVERIFY(f.log->informations[0].contains(QStringLiteral("Invalid stream format")));
    QVERIFY(WriteFormBytes(f.editor->Report()) == form);
    QVERIFY(f.editor->FormFileName().isEmpty());
    QVERIFY(!f.editor->HasFormFile());
    QVERIFY(f.editor->FormModified());
    // A failed save keeps the form modified and the old file.
    QVERIFY(f.SaveAs("kept.rpt"));
    const std::string old = ReadFile(f.savePath.toStdString());
    f.CreateField(1);
    // Save As into a folder nobody can write: nothing changes but the message.
    f.savePath = QStringLiteral("/proc/zorel-none/new.rpt");
    QVERIFY(!f.editor->SaveAs());
    QVERIFY(f.editor->FormModified());
    QCOMPARE(f.editor->FormFileName(), f.Path("kept.rpt"));
    QCOMPARE(f.log->informations.size(), 2);
    QVERIFY(f.log->informations[1].contains(f.savePath));
    if (::geteuid() == 0) return;  // root writes into read-only folders
    namespace fs = std::filesystem;
    fs::permissions(f.base.dir().path(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool saved = f.editor->Save();
    fs::permissions(f.base.dir().path(), fs::perms::owner_all);
    QVERIFY(!saved);
    QVERIFY(f.editor->FormModified());
    QCOMPARE(ReadFile(f.Path("kept.rpt").toStdString()), old);
  }

  void EveryKindOfChangeIsUndoneAndRedone_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"create", "move", "resize", "delete", "caption", "font", "text colour",
                             "colour", "frame", "width", "band", "page"}) {
      QTest::newRow(kind) << QString::fromLatin1(kind);
    }
  }
  void EveryKindOfChangeIsUndoneAndRedone() {
    QFETCH(QString, kind);
    Fixture f;
    f.CreateField(17);
    TRepLabel* r1 = f.Label("r1");
    f.Select(r1);
    const std::map<QString, std::function<void()>> changes = {
        {"create", [&] { f.CreateField(2); }},
        {"move", [&] { f.editor->Designer().NudgeSelection(1, 1, false); }},
        {"resize", [&] { f.editor->Designer().NudgeSelection(2, 0, true); }},
        {"delete", [&] { f.editor->Designer().DeleteSelection(); }},
        {"caption",
         [&] {
           auto* info = Find<QLineEdit>(f.editor.get(), "eInfo");
           QVERIFY(info->isVisible());
           QTest::keyClicks(info, QStringLiteral("ok"));
         }},
        {"font", [&] { f.editor->ChooseFont(); }},
        {"text colour", [&] { f.Click("sbFontColor"); }},
        {"colour", [&] { f.editor->ChooseColor(); }},
        {"frame", [&] { f.editor->ToggleFrameSide(3); }},
        {"width", [&] { Find<QSpinBox>(f.editor.get(), "seWidth")->setValue(7); }},
        {"page",
         [&] {
           f.prompts->runModal = [](QDialog& dialog) {
             dynamic_cast<TfrmPageSetup&>(dialog).Margin(2)->setValue(25);
             return int(QDialog::Accepted);
           };
           f.editor->PageSetup();
           QCOMPARE(f.editor->Report().Page.LeftMargin(), 25.0);
         }},
        {"band",
         [&] {
           f.editor->Designer().Select(DesignObject::Band());
           f.editor->Designer().NudgeSelection(0, 3, true);
         }},
    };
    QVERIFY(f.Activate());
    const std::string before = WriteFormBytes(f.editor->Report());
    f.editor->UndoStack().clear();
    changes.at(kind)();
    const std::string after = WriteFormBytes(f.editor->Report());
    QVERIFY(after != before);
    QCOMPARE(f.editor->UndoStack().count(), 1);
    QTest::keyClick(f.editor.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(WriteFormBytes(f.editor->Report()) == before);
    QTest::keyClick(f.editor.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(WriteFormBytes(f.editor->Report()) == after);
    QVERIFY(f.editor->FormModified());
  }

  // A step whose form cannot be read back (here a measure beyond any page, which no operation
  // makes) is not applied: the form stays, the user is told, and later changes still count.
  void UndoThatCannotBeAppliedLeavesTheFormAndSaysSo() {
    Fixture f;
    ShownExceptions().clear();
    f.CreateField(0);
    f.Label("a1")->Size.Left = -2 * kMaxMeasureTenths;
    QVERIFY(f.SaveAs("far.rpt"));
    QVERIFY(f.Activate());
    f.Click("sbFrameTop");
    const std::string changed = WriteFormBytes(f.editor->Report());
    QTest::keyClick(f.editor.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(ShownExceptions().isEmpty());
    QCOMPARE(f.log->informations.size(), 1);
    QVERIFY(f.log->informations[0].contains(QStringLiteral("Invalid property value")));
    QVERIFY(WriteFormBytes(f.editor->Report()) == changed);
    QVERIFY(f.editor->FormModified());
    QVERIFY(f.editor->Save());
    f.Click("sbFrameLeft");
    QVERIFY(f.editor->FormModified());
    f.editor->New();
    QCOMPARE(f.log->questions.size(), 1);
  }

  // The text takes a colour of its own beside the font; choosing a font keeps it, and keeps the
  // charset the form file records. After the page dialog's OK nothing is selected.
  void TextColourBesideTheFontAndThePageDialogDeselects() {
    Fixture f;
    f.CreateField(0);
    TRepLabel* a1 = f.Label("a1");
    a1->Font.Charset = 161;
    ReportSurface& surface = f.editor->Surface();
    const DragRect band = surface.BandRect();
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(band.left + 30, band.top + 30));
    f.Click("sbFontColor");
    QCOMPARE(a1->Font.Color, RepColor(0x0000FF));
    f.Click("sbFont");
    QCOMPARE(a1->Font.Name, QStringLiteral("Serif"));
    QCOMPARE(a1->Font.Color, RepColor(0x0000FF));
    QCOMPARE(a1->Font.Charset, 161);
    QCOMPARE(f.editor->Designer().Selection(), DesignObject::Label(a1));
    f.prompts->runModal = [](QDialog&) { return int(QDialog::Accepted); };
    f.Click("sbPageSetup");
    QCOMPARE(f.editor->Designer().Selection(), DesignObject::None());
    QVERIFY(f.editor->StatusText().isEmpty());
    const TRepLabel::Measures before = a1->Size;
    QTest::keyClick(&surface, Qt::Key_Right);
    QCOMPARE(a1->Size, before);
  }

  void ElementsOutsideTheBandAreNamedAndTheBandStaysOnThePage() {
    Fixture f;
    f.CreateField(0);
    f.CreateField(17);
    f.Label("r1")->Size.Top = f.Band().HeightTenths - 10;
    QVERIFY(f.SaveAs("outside.rpt"));
    QVERIFY(f.editor->StatusText().contains(QStringLiteral("r1")));
    QVERIFY(!f.editor->StatusText().contains(QStringLiteral("a1")));
    QVERIFY(QFile::exists(f.savePath));
    // A band taller than the page is cut to it when selected: 297 mm less margins of 10 mm.
    f.Band().SetHeight(400);
    f.editor->Designer().Select(DesignObject::Band());
    QCOMPARE(f.Band().Height(), 277.0);
  }

  // Forms built at random through the editor's own operations (the mouse and the keys on the
  // design surface, the tool buttons, the page dialog, undo and redo) are saved, and every one
  // reads back byte for byte: whatever the editor makes, it can open again.
  void EveryFormTheEditorBuildsReadsBack() {
    Fixture f;
    ShownExceptions().clear();
    QVERIFY(f.Activate());
    ReportSurface& surface = f.editor->Surface();
    std::mt19937 random(20261207);
    auto pick = [&random](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto someLabel = [&]() -> TRepLabel* {
      const auto& labels = f.Band().Labels();
      return labels.empty() ? nullptr : labels[pick(0, int(labels.size()) - 1)].get();
    };
    auto centreOf = [&surface](const TRepLabel& label) {
      const DragRect band = surface.BandRect();
      return QPoint(band.left + label.Left() + label.Width() / 2,
                    band.top + label.Top() + label.Height() / 2);
    };
    f.prompts->runModal = [&pick](QDialog& dialog) {
      auto& setup = dynamic_cast<TfrmPageSetup&>(dialog);
      setup.PaperList()->setCurrentIndex(pick(0, kPaperCount - 1));
      setup.OrientationList()->setCurrentIndex(pick(0, 1));
      for (int i = 0; i < 4; ++i) setup.Margin(i)->setValue(pick(0, 99));
      setup.Columns()->setValue(pick(1, 20));
      setup.ColumnSpace()->setValue(pick(0, 99));
      return int(QDialog::Accepted);
    };
    const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    const char* families[] = {"Serif", "Sans Serif", "Monospace"};
    const char* sides[] = {"sbFrameLeft", "sbFrameBottom", "sbFrameRigth", "sbFrameTop"};
    for (int form = 0; form < 24; ++form) {
      f.editor->New();  // the question answered No
      QString trace;
      for (int step = 0; step < 30; ++step) {
        const int op = pick(0, 11);
        trace += QString::number(op) + QLatin1Char(' ');
        TRepLabel* label = someLabel();
        switch (op) {
          case 0:  // a new element of any field
            Find<QComboBox>(f.editor.get(), "cbField")->setCurrentIndex(pick(0, 17));
            f.Click("sbCreate");
            break;
          case 1:  // a move by the mouse, anywhere, also off the band and the page
            if (!label) break;
            QTest::mousePress(&surface, Qt::LeftButton, {}, centreOf(*label));
            QTest::mouseMove(&surface, centreOf(*label) + QPoint(pick(-400, 400), pick(-400, 400)));
            QTest::mouseRelease(&surface, Qt::LeftButton, {},
                                centreOf(*label) + QPoint(pick(-400, 400), pick(-400, 400)));
            break;
          case 2: {  // a handle drag of the selection, which may turn it inside out
            auto* handle = const_cast<TControlHandle*>(f.editor->Designer().Handle(pick(1, 8)));
            QTest::mousePress(handle, Qt::LeftButton, {}, {2, 2});
            const QPoint to =
                handle->mapTo(&surface, QPoint(2, 2)) + QPoint(pick(-300, 300), pick(-300, 300));
            QTest::mouseMove(&surface, to);
            QTest::mouseRelease(&surface, Qt::LeftButton, {}, to);
            break;
          }
          case 3: {  // arrow keys, with Shift resizing, many times over
            const Qt::Key key = arrows[pick(0, 3)];
            const auto shift = pick(0, 1) ? Qt::ShiftModifier : Qt::NoModifier;
            for (int n = pick(1, 120); n > 0; --n) QTest::keyClick(&surface, key, shift);
            break;
          }
          case 4:
            f.Click(sides[pick(0, 3)]);
            break;
          case 5:
            f.font = QFont(QLatin1String(families[pick(0, 2)]));
            f.font.setPixelSize(pick(1, 3000));
            f.font.setBold(pick(0, 1));
            f.font.setItalic(pick(0, 1));
            f.Click("sbFont");
            break;
          case 6:
            f.color = QColor::fromRgb(pick(0, 0xFFFFFF));
            f.Click(pick(0, 1) ? "sbColor" : "sbFontColor");
            break;
          case 7:
            Find<QSpinBox>(f.editor.get(), "seWidth")->setValue(pick(1, 50));
            break;
          case 8:
            f.Click("sbPageSetup");
            break;
          case 9:  // a press selects the element, the band or the report
            if (label) {
              QTest::mouseClick(&surface, Qt::LeftButton, {}, centreOf(*label));
            } else {
              QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(pick(0, 900), pick(0, 900)));
            }
            if (auto* info = Find<QLineEdit>(f.editor.get(), "eInfo"); info->isVisible())
              QTest::keyClicks(info, QStringLiteral("ok %1").arg(pick(0, 99)));
            break;
          case 10:
            QTest::keyClick(&surface, Qt::Key_Delete);
            break;
          default:
            QTest::keyClick(
                f.editor.get(), Qt::Key_Z,
                pick(0, 1) ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            break;
        }
      }
      QVERIFY2(f.SaveAs("random.rpt"), qPrintable(trace));
      try {
        const auto read = LoadFormFile(f.savePath.toStdString());
        QVERIFY2(WriteFormBytes(*read) == WriteFormBytes(f.editor->Report()), qPrintable(trace));
      } catch (const FormError& e) {
        QFAIL(qPrintable(trace + QString::fromUtf8(e.what())));
      }
    }
    QVERIFY(f.log->informations.isEmpty());
    QVERIFY(ShownExceptions().isEmpty());

#ifdef ZOREL_CLI
    // The command-line tool prints the last one as well.
    QProcess cli;
    cli.start(QStringLiteral(ZOREL_CLI),
              {QStringLiteral("--db"), QString::fromStdString(f.base.DbDir()),
               QStringLiteral("print"), f.savePath, QStringLiteral("--pdf"), f.Path("last.pdf")});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
#endif

    // Opened again, the form is the same and unmodified.
    const std::string saved = WriteFormBytes(f.editor->Report());
    f.editor->New();
    f.openPath = f.savePath;
    f.editor->Open();
    QVERIFY(WriteFormBytes(f.editor->Report()) == saved);
    QVERIFY(f.editor->HasFormFile());
    QVERIFY(!f.editor->FormModified());
  }

  void PreviewWritesEveryRecordOfTheListToPdf() {
    Fixture f(NumberedBase(7));
    f.CreateField(0);
    f.Label("a1")->Size.Width = 1500;
    f.CreateField(17);
    f.Label("r1")->Size.Left = 1600;
    const QString pdf = f.Path("list.pdf");
    f.prompts->runModal = [&pdf](QDialog& dialog) {
      if (auto* range = dynamic_cast<TfrmPrnPages*>(&dialog)) {
        range->SetAllRecords(true);
        return int(QDialog::Accepted);
      }
      if (auto* preview = dynamic_cast<TRepStandardPreview*>(&dialog)) {
        preview->choosePdfFile = [&pdf](QWidget*, const QString&) { return pdf; };
        preview->SaveToPdf();
      }
      return int(QDialog::Rejected);
    };
    f.editor->Preview();
    QString text = PdfText(pdf);
    int at = 0;
    for (int i = 0; i < 7; ++i) {
      at = text.indexOf(QStringLiteral("Предприятие %1").arg(i), at);
      QVERIFY2(at >= 0, qPrintable(text));
    }
    QCOMPARE(text.count(QStringLiteral("пользователя")), 7);  // the user field, wrapped
    // Single mode prints the current record only.
    Find<QRadioButton>(f.editor.get(), "rbSingle")->setChecked(true);
    f.editor->SetCurrentIndex(4);
    f.editor->Preview();
    text = PdfText(pdf);
    QCOMPARE(text.count(QStringLiteral("Предприятие")), 1);
    QVERIFY(text.contains(QStringLiteral("Предприятие 4")));
  }

  // Printing shows the engine's progress page by page, and a cancel ends the run.
  void PrintShowsProgressAndCancels() {
    Fixture f(NumberedBase(9));
    f.CreateField(0);
    f.Band().SetHeight(200);  // a page for each record
    const QString pdf = f.Path("printed.pdf");
    SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    SharedPrinter().setOutputFileName(pdf);
    f.prompts->runModal = [](QDialog& dialog) {
      dynamic_cast<TfrmPrnPages&>(dialog).SetAllRecords(true);
      return int(QDialog::Accepted);
    };
    QStringList seen;
    bool cancel = true;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      auto* progress = f.editor->findChild<QProgressDialog*>(QStringLiteral("PrintProgress"));
      if (!progress || !progress->isVisible()) return;
      seen << progress->labelText();
      if (cancel) progress->cancel();
    });
    watch.start(0);
    f.Click("sbPrint");
    QVERIFY(!seen.isEmpty());
    QVERIFY(!QFile::exists(pdf));  // cancelled before anything was printed
    cancel = false;
    seen.clear();
    f.Click("sbPrint");
    watch.stop();
    SharedPrinter().setOutputFileName(QString());
    QVERIFY2(seen.contains(QStringLiteral("Печать: страница 9 из 9")), qPrintable(seen.join('|')));
    QCOMPARE(PdfText(pdf).count(QStringLiteral("Предприятие")), 9);
  }

  void MainWindowOpensTheEditorOverTheActiveList() {
    Shell shell(NumberedBase(6));
    struct Seen {
      RecordList list;
      std::int32_t current = -1;
      TfrmPrnEditor* editor = nullptr;
    };
    std::vector<Seen> seen;
    auto prompts = ScriptedPrompts(shell.log);
    prompts->runModal = [&seen](QDialog& dialog) {
      auto& editor = dynamic_cast<TfrmPrnEditor&>(dialog);
      seen.push_back({*editor.PrintList(), editor.CurrentIndex(), &editor});
      return 0;
    };
    shell.form->SetPrompts(prompts);
    shell.Active()->SetCurrentRow(3);
    shell.form->Actions().FileFormEdit->trigger();
    shell.Active()->parentWidget()->close();
    QTRY_VERIFY(shell.form->ActiveChild() == nullptr);
    shell.form->Actions().FileFormEdit->trigger();
    QCOMPARE(seen.size(), 2u);
    QCOMPARE(seen[0].list, (RecordList{0, 1, 2, 3, 4, 5}));
    QCOMPARE(seen[0].current, 3);
    QCOMPARE(seen[1].list.size(), 6u);
    QCOMPARE(seen[1].current, 0);
    QCOMPARE(seen[0].editor, seen[1].editor);  // kept between openings
  }

  void SnapRoundsHalvesToEven() {
    QCOMPARE(SnapToGrid(12.6, GridUnit::Millimetres), 13.0);
    QCOMPARE(SnapToGrid(12.5, GridUnit::Millimetres), 12.0);
    QCOMPARE(SnapToGrid(13.5, GridUnit::Millimetres), 14.0);
    QCOMPARE(SnapToGrid(1.0126, GridUnit::Inches), 1.025);
    QCOMPARE(SnapToGrid(1.0125, GridUnit::Inches), 1.0);
  }

  // A word longer than its label is cut on paper; the surface marks the label with a red
  // corner and names it, judged by the text the label prints for the current record.
  void ALabelWhoseTextIsCutIsMarked() {
    Surface f;
    f.label->Caption = QStringLiteral("Интернациональная");
    QString printed = QStringLiteral("ул. Мира");
    f.surface.printedText = [&printed](const TRepLabel&) { return printed; };
    const QPoint corner = f.Band() + QPoint(10 + 100 - 2, 20 + 30 - 2);
    auto marked = [&f, corner] {
      return f.surface.grab().toImage().pixelColor(corner) == QColor(0xD0, 0x10, 0x10);
    };
    QCOMPARE(f.surface.CutLabels(), QStringList());
    QVERIFY(!marked());
    printed = QStringLiteral("Интернациональная Интернациональная");
    f.label->SetBounds(10, 20, 60, 30);
    QCOMPARE(f.surface.CutLabels(), QStringList{QStringLiteral("a1")});
    const QPoint cutCorner = f.Band() + QPoint(10 + 60 - 2, 20 + 30 - 2);
    QCOMPARE(f.surface.grab().toImage().pixelColor(cutCorner), QColor(0xD0, 0x10, 0x10));
    f.label->SetBounds(10, 20, 300, 30);
    QCOMPARE(f.surface.CutLabels(), QStringList());
    f.label->SetBounds(10, 20, 300, 8);  // lower than one line
    QCOMPARE(f.surface.CutLabels(), QStringList{QStringLiteral("a1")});
  }

  void PressSelectsTheObjectUnderIt() {
    Surface f;
    QSignalSpy selected(&f.designer, &TRepDesigner::SelectComponent);
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    QCOMPARE(f.designer.Selection(), DesignObject::Label(f.label));
    QVERIFY(f.designer.Handle(8)->isVisible());
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.Band() + QPoint(300, 5));
    QCOMPARE(f.designer.Selection(), DesignObject::Band());
    // The page outside the band selects the report, and no handles show.
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.Band() + QPoint(5, 400));
    QCOMPARE(f.designer.Selection(), DesignObject::Report());
    QVERIFY(!f.designer.Handle(1)->isVisible());
    QCOMPARE(selected.count(), 3);
    // The right button selects nothing, and on a handle starts no drag.
    QTest::mouseClick(&f.surface, Qt::RightButton, {}, f.InLabel());
    QCOMPARE(f.designer.Selection(), DesignObject::Report());
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    QTest::mousePress(f.HandleWidget(8), Qt::RightButton, {}, {2, 2});
    QVERIFY(!f.designer.Dragging());
    QTest::mouseRelease(f.HandleWidget(8), Qt::RightButton, {}, {2, 2});
  }

  void MovingKeepsTheSizeAndSnapsToWholeMillimetres() {
    Surface f;
    QSignalSpy changed(&f.designer, &TRepDesigner::Changed);
    f.Drag(&f.surface, f.InLabel(), {30, 0});
    QCOMPARE(f.LabelRect(), QRect(40, 20, 100, 30));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.designer.Handle(1)->pos(), f.Band() + QPoint(38, 18));
    // Snapped: 48 pixels are 12.7 mm and end at 13 mm.
    f.designer.SnapToGrid = true;
    f.Drag(&f.surface, f.InLabel() + QPoint(30, 0), {8, 0});
    QCOMPARE(f.label->Size.Left, 130.0);
  }

  // A move rounds both the left and the top, whichever changed, and a press without movement
  // rounds them too.
  void MoveSnapsLeftAndTop() {
    Surface f;
    f.designer.SnapToGrid = true;
    // The click snaps the element to 3 mm, 5 mm; handle 1 dragged by 5, 5 leaves its top at
    // 24 pixels (6.35 mm), which a horizontal move rounds.
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    f.Drag(f.HandleWidget(1), {2, 2}, {5, 5});
    QVERIFY(f.label->Size.Top != 60.0);
    f.Drag(&f.surface, f.InLabel(), {40, 0});
    QCOMPARE(f.label->Size.Top, 60.0);
    QCOMPARE(f.label->Size.Left, 150.0);  // 56 pixels are 14.8 mm
    f.label->Size.Left = 13;
    f.label->Size.Top = 57;
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    QCOMPARE(f.label->Size.Left, 10.0);
    QCOMPARE(f.label->Size.Top, 60.0);
  }

  // Each handle, dragged by 15, 5, moves its own sides only.
  void HandleDragResizesTheElement_data() {
    QTest::addColumn<int>("handle");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("top left") << 1 << QRect(25, 25, 85, 25);
    QTest::newRow("top") << 2 << QRect(10, 25, 100, 25);
    QTest::newRow("top right") << 3 << QRect(10, 25, 115, 25);
    QTest::newRow("left") << 4 << QRect(25, 20, 85, 30);
    QTest::newRow("right") << 5 << QRect(10, 20, 115, 30);
    QTest::newRow("bottom left") << 6 << QRect(25, 20, 85, 35);
    QTest::newRow("bottom") << 7 << QRect(10, 20, 100, 35);
    QTest::newRow("bottom right") << 8 << QRect(10, 20, 115, 35);
  }
  void HandleDragResizesTheElement() {
    QFETCH(int, handle);
    QFETCH(QRect, expected);
    Surface f;
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    f.Drag(f.HandleWidget(handle), {2, 2}, {15, 5});
    QCOMPARE(f.LabelRect(), expected);
    QVERIFY(!f.designer.Dragging());
    QVERIFY(f.designer.Handle(handle)->isVisible());
  }

  void BandChangesOnlyItsHeight() {
    Surface f;
    const int height = f.surface.BandRect().Height();
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.Band() + QPoint(300, 5));
    QSignalSpy changed(&f.designer, &TRepDesigner::Changed);
    f.Drag(f.HandleWidget(5), {2, 2}, {40, 0});
    f.Drag(&f.surface, f.Band() + QPoint(300, 5), {25, 17});
    QCOMPARE(changed.count(), 0);
    f.Drag(f.HandleWidget(7), {2, 2}, {0, 12});
    QCOMPARE(f.surface.BandRect().Height(), height + 12);
    QCOMPARE(f.surface.BandRect().left, f.Band().x());
    QCOMPARE(changed.count(), 1);
  }

  // Arrows step one millimetre, with Shift resizing; Delete frees the selected label only.
  void KeysMoveResizeAndDelete() {
    Surface f;
    f.surface.setFocus();
    QTest::keyClick(&f.surface, Qt::Key_Delete);  // the report: nothing
    QCOMPARE(f.report.DetailBand()->Labels().size(), 1u);
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    const TRepLabel::Measures before = f.label->Size;
    QTest::keyClick(&f.surface, Qt::Key_Right);
    QTest::keyClick(&f.surface, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f.label->Size.Left, before.Left + 10);
    QCOMPARE(f.label->Size.Height, before.Height + 10);
    QCOMPARE(f.label->Size.Width, before.Width);
    QTest::keyClick(&f.surface, Qt::Key_Delete);
    QVERIFY(f.report.DetailBand()->Labels().empty());
    QCOMPARE(f.designer.Selection(), DesignObject::Report());
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::PrnEditorTest)
#include "prn_editor_test.moc"
