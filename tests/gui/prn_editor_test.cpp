// The print form editor: element naming, the field chooser, the modified mark and the
// questions of New and Open, a broken file, a failed save, undo and redo of every kind of
// change, and a form built through the editor's own tools, saved and read back.
#include "print/prn_editor.h"

#include <unistd.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <map>

#include "print/page_setup.h"
#include "print/prn_pages.h"
#include "report/form_file.h"
#include "report/report.h"
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
    QStringList Names() const {
      QStringList names;
      for (const auto& l : Band().Labels()) names << l->Name;
      return names;
    }
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
    QVERIFY(!f.Label("a1")->AutoSize);
    QCOMPARE(f.Label("a1")->Width(), 100);
    QCOMPARE(f.Label("a1")->Height(), 50);
  }

  void ChooserOffersTheEighteenFields() {
    Fixture f;
    auto* chooser = Find<QComboBox>(f.editor.get(), "cbField");
    QCOMPARE(chooser->count(), 18);
    QCOMPARE(chooser->currentIndex(), 0);
    QCOMPARE(chooser->itemText(0), QStringLiteral("Наименование предприятия"));
    QCOMPARE(chooser->itemText(11), QStringLiteral("Все контактные телефоны"));
    QCOMPARE(chooser->itemText(17), QStringLiteral("Поле пользователя"));
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
    QCOMPARE(Find<QToolButton>(f.editor.get(), "sbSaveAs")->text(),
             QStringLiteral("Сохранить как..."));
    f.CreateField(17);
    f.log->answerYes = true;
    f.editor->New();
    QCOMPARE(f.log->questions.size(), 2);
    QCOMPARE(LoadFormFile(f.savePath.toStdString())->DetailBand()->Labels().size(), 2u);
    QVERIFY(!f.editor->HasFormFile());
    QVERIFY(f.editor->FormFileName().isEmpty());
  }

  void OpenOfABrokenFileLeavesAFreshForm() {
    Fixture f;
    f.openPath = f.Path("broken.rpt");
    QFile file(f.openPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a form");
    file.close();
    f.CreateField(0);
    f.editor->Open();  // the question answered No
    QCOMPARE(f.log->questions.size(), 1);
    QCOMPARE(f.log->informations.size(), 1);
    QVERIFY(f.log->informations[0].contains(QStringLiteral("Invalid stream format")));
    QVERIFY(f.editor->Report().HasDetail());
    QVERIFY(f.Band().Labels().empty());
    QVERIFY(f.editor->FormFileName().isEmpty());
    QVERIFY(!f.editor->HasFormFile());
    QVERIFY(!f.editor->FormModified());
    f.CreateField(0);  // the band in use is the fresh one
    QCOMPARE(f.Names(), QStringList{"a1"});
  }

  void FailedSaveKeepsTheFormModifiedAndTheOldFile() {
    Fixture f;
    f.savePath = f.Path("kept.rpt");
    f.CreateField(0);
    QVERIFY(f.editor->SaveAs());
    const std::string old = ReadFile(f.savePath.toStdString());
    f.CreateField(1);
    // Save As into a folder nobody can write: nothing changes but the message.
    f.savePath = QStringLiteral("/proc/zorel-none/new.rpt");
    QVERIFY(!f.editor->SaveAs());
    QVERIFY(f.editor->FormModified());
    QCOMPARE(f.editor->FormFileName(), f.Path("kept.rpt"));
    QCOMPARE(f.log->informations.size(), 1);
    QVERIFY(f.log->informations[0].contains(f.savePath));
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
    for (const char* kind : {"create", "move", "resize", "delete", "caption", "font", "colour",
                             "frame", "width", "band", "page"}) {
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
    f.editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.editor.get()));
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

  void BandTallerThanThePageIsCutWhenSelected() {
    Fixture f;
    f.Band().SetHeight(400);
    f.editor->Designer().Select(DesignObject::Band());
    QCOMPARE(f.Band().Height(), 277.0);  // 297 mm less the margins of 10 mm
  }

  void SavingNamesElementsOutsideTheBand() {
    Fixture f;
    f.CreateField(0);
    f.CreateField(17);
    f.Label("r1")->Size.Top = f.Band().HeightTenths - 10;
    f.savePath = f.Path("outside.rpt");
    QVERIFY(f.editor->SaveAs());
    QVERIFY(f.editor->StatusText().contains(QStringLiteral("r1")));
    QVERIFY(!f.editor->StatusText().contains(QStringLiteral("a1")));
    QVERIFY(QFile::exists(f.savePath));
  }

  void FormBuiltWithTheToolsReadsBackWhole() {
    Fixture f;
    ReportSurface& surface = f.editor->Surface();
    f.CreateField(0);
    const DragRect band = surface.BandRect();
    // Move a1 by 40, 20 pixels (snapped to whole millimetres), then widen it by handle 5.
    const QPoint at(band.left + 30, band.top + 30);
    QTest::mousePress(&surface, Qt::LeftButton, {}, at);
    QTest::mouseMove(&surface, at + QPoint(40, 20));
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, at + QPoint(40, 20));
    TRepLabel* a1 = f.Label("a1");
    QCOMPARE(a1->Size.Left, 110.0);
    QCOMPARE(a1->Size.Top, 50.0);
    auto* handle = const_cast<TControlHandle*>(f.editor->Designer().Handle(5));
    QTest::mousePress(handle, Qt::LeftButton, {}, {2, 2});
    const QPoint h = handle->mapTo(&surface, QPoint(2, 2));
    QTest::mouseMove(&surface, h + QPoint(60, 0));
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, h + QPoint(60, 0));
    QCOMPARE(a1->Width(), 160);
    f.editor->ChooseFont();
    f.editor->ToggleFrameSide(1);
    f.CreateField(17);
    f.Select(a1);
    f.savePath = f.Path("built.rpt");
    QVERIFY(f.editor->SaveAs());
    QVERIFY(!f.editor->FormModified());

    const auto read = LoadFormFile(f.savePath.toStdString());
    QVERIFY(WriteFormBytes(*read) == WriteFormBytes(f.editor->Report()));
    const TRepLabel& back = *read->DetailBand()->Labels()[0];
    QCOMPARE(back.Name, QStringLiteral("a1"));
    QCOMPARE(back.ClassName(), std::string_view("TRepPrnLabel"));
    QCOMPARE(back.Caption, a1->Caption);
    QCOMPARE(back.Size, a1->Size);
    QCOMPARE(back.Font.Name, QStringLiteral("Serif"));
    QVERIFY(back.Frame.DrawBottom);
    QCOMPARE(read->DetailBand()->Labels()[1]->Caption, QStringLiteral("Строка пользователя"));

#ifdef ZOREL_CLI
    // The command-line tool prints the saved form as well.
    const QString pdf = f.Path("built.pdf");
    QProcess cli;
    cli.start(QStringLiteral(ZOREL_CLI),
              {QStringLiteral("--db"), QString::fromStdString(f.base.DbDir()),
               QStringLiteral("print"), f.savePath, QStringLiteral("--pdf"), pdf});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY(PdfText(pdf).contains(f.editor->FieldText(0, 0).left(10)));
#endif

    // Opened again, the form is the same and unmodified.
    f.editor->New();
    f.openPath = f.savePath;
    f.editor->Open();
    QVERIFY(WriteFormBytes(f.editor->Report()) == WriteFormBytes(*read));
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
    QCOMPARE(shell.form->Actions().FileFormEdit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
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
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::PrnEditorTest)
#include "prn_editor_test.moc"
