// The list window: its list files, the save question, details at idle, panels, remarks and hints.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <cerrno>

#include "data/file_system.h"
#include "data/list_file.h"
#include "shell/name_grid.h"
#include "shell/record_grid_model.h"
#include "shell/split_bar.h"
#include "shell_test_support.h"
#include "support/faulty_files.h"
#include "textconv/text_convert.h"

namespace zorel {

using namespace test_support;

namespace {

// Writes a list file of these records and answers the next choice of a list with it.
void OfferList(Shell& s, const char* name, const std::vector<std::int32_t>& records) {
  SaveListFile(s.base.ListPath(name).toStdString(), {}, records);
  s.log->fileToOpen = s.base.ListPath(name);
}

// A list of records 2 and 0 saved with this header and opened in a new window.
TMDIChild* OpenWithHeader(Shell& s, const ListFileHeader& h) {
  SaveListFile(s.base.ListPath("f.lst").toStdString(), h, {2, 0});
  s.form->OpenListWindow(s.base.ListPath("f.lst"));
  return s.form->LastChild();
}

QString Text(TMDIChild* w, const char* name) {
  if (auto* edit = Find<QLineEdit>(w, name)) return edit->text();
  if (auto* memo = Find<QPlainTextEdit>(w, name)) return memo->toPlainText();
  return Find<QLabel>(w, name)->text();
}

// The boxes' texts, trimmed: the city code is kept as padded as the base stores it.
QStringList Texts(TMDIChild* w, std::initializer_list<const char*> names) {
  QStringList texts;
  for (const char* name : names) texts << Text(w, name).trimmed();
  return texts;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

// The active window's remark memo, once the idle moment has shown the record's remark.
QPlainTextEdit* RemarkMemo(const Shell& s) {
  s.Idle();
  return Find<QPlainTextEdit>(s.Active(), "mRemark");
}

void AskForHint(QWidget* viewport, QPoint at) {
  QHelpEvent tip(QEvent::ToolTip, at, viewport->mapToGlobal(at));
  QCoreApplication::sendEvent(viewport, &tip);
}

// A press, a move to `to` and a release on a splitter bar (coordinates relative to it).
void DragBar(QWidget* bar, QPoint to) {
  SendMouse(bar, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
  SendMouse(bar, QEvent::MouseMove, to, Qt::LeftButton);
  SendMouse(bar, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Refuses to open remark.dat for writing, as a base the user may only read does.
class ReadOnlyRemarks : public FileSystem {
 public:
  int Open(const std::string& path, int flags, mode_t mode) override {
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT)) != 0 && path.ends_with("/remark.dat")) {
      errno = EACCES;
      return -1;
    }
    return FileSystem::Open(path, flags, mode);
  }
};

BaseSource BaseWithLongName() {
  BaseSource b = SampleBase();
  b.enterprises[1].name = W("Открытое акционерное общество с очень длинным названием ") +
                          W("Брестский комбинат строительных материалов и конструкций");
  b.enterprises[0].address = W("ул. Ленина, 1\r\nкорпус 2\r\nподъезд 3\r\nэтаж 4");
  return b;
}

}  // namespace

class ListWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { ShownExceptions().clear(); }

  // Save leaves an unchanged list alone; Save As offers the lists folder and the list's name;
  // once the list has a file, Save writes back to it without asking, and Open brings the list
  // back with its panels.
  void SaveWritesAChangedListThatOpensWithItsPanels() {
    Shell s;
    TMDIChild* w = s.Active();
    s.log->fileToSave = s.base.ListPath("мой.lst");
    s.Action("FileSaveItem")->trigger();
    QVERIFY(s.log->saveDirs.isEmpty());
    QVERIFY(!QFileInfo::exists(s.log->fileToSave));
    s.Action("FileSaveAsItem")->trigger();
    QCOMPARE(s.log->saveDirs, QStringList{QString::fromStdString(s.base.dm().ListsDir())});
    QCOMPARE(s.log->saveNames, QStringList{"Вся база.lst"});
    QCOMPARE(w->windowTitle(), QStringLiteral("мой"));
    w->DeleteCurrent();
    w->SetInfoVisible(false);
    w->SetLowerPanelHeight(140);
    w->SetAdvertPanelWidth(200);
    s.Action("FileSaveItem")->trigger();
    QCOMPARE(s.log->saveDirs.size(), 1);
    QVERIFY(w->HasFile() && !w->Modified());

    s.log->fileToOpen = s.log->fileToSave;
    s.Action("FileOpenItem")->trigger();
    QCOMPARE(s.form->ListWindows().size(), 2);
    TMDIChild* opened = s.form->LastChild();
    QCOMPARE(s.form->ActiveChild(), opened);
    QCOMPARE(opened->windowTitle(), QStringLiteral("мой"));
    QCOMPARE(opened->Records(), (RecordList{1, 2}));
    QVERIFY(opened->HasFile() && !opened->Modified());
    QVERIFY(!opened->InfoVisible() && opened->ItemVisible());
    QCOMPARE(opened->LowerPanelHeight(), 140);
    QCOMPARE(opened->AdvertPanelWidth(), 200);
  }

  void PanelFlagsComeFromTheListFile_data() {
    QTest::addColumn<ListFileHeader>("h");  // the shown flags: requisites, lower, advertising
    QTest::newRow("all") << ListFileHeader{true, true, true};
    QTest::newRow("none") << ListFileHeader{false, false, false};
    QTest::newRow("lower without advert") << ListFileHeader{true, true, false};
    QTest::newRow("advert needs lower") << ListFileHeader{false, false, true};
  }
  void PanelFlagsComeFromTheListFile() {
    QFETCH(ListFileHeader, h);
    Shell s;
    TMDIChild* w = OpenWithHeader(s, h);
    QCOMPARE(w->Records(), (RecordList{2, 0}));  // in the file's order
    QCOMPARE(w->InfoVisible(), h.requisitesShown);
    QCOMPARE(w->ItemVisible(), h.lowerShown);
    QCOMPARE(w->ReklamaVisible(), h.advertShown);
    QCOMPARE(Find<QWidget>(w, "pInfo")->isVisible(), h.requisitesShown);
    QCOMPARE(Find<QWidget>(w, "pDetail2")->isVisible(), h.lowerShown);
    QCOMPARE(Find<QWidget>(w, "pReklama")->isVisibleTo(w), h.lowerShown && h.advertShown);
    QVERIFY(!w->Modified());
  }

  void PanelSizesFromTheListFileStayWithinTheSplittersLimits_data() {
    QTest::addColumn<ListFileHeader>("h");  // lower height, advert width, window size
    QTest::addColumn<bool>("kept");
    QTest::newRow("sizes that fit") << ListFileHeader{true, true, true, 150, 200, 800, 560} << true;
    QTest::newRow("negative") << ListFileHeader{true, true, true, -500, -30, 800, 560} << false;
    QTest::newRow("too large") << ListFileHeader{true, true, true, 30000, 30000, 800, 560} << false;
  }
  void PanelSizesFromTheListFileStayWithinTheSplittersLimits() {
    QFETCH(ListFileHeader, h);
    QFETCH(bool, kept);
    Shell s;
    TMDIChild* w = OpenWithHeader(s, h);
    QTRY_VERIFY(w->isVisible());
    QWidget* lower = Find<QWidget>(w, "pDetail2");
    if (kept) {
      QCOMPARE(w->LowerPanelHeight(), int(h.lowerHeight));
      QCOMPARE(w->AdvertPanelWidth(), int(h.advertWidth));
    }
    // As far as the splitters could take them: the names keep 100 pixels above the lower panel
    // and the advertising 150 beside it, each about 150 at least.
    QVERIFY(w->LowerPanelHeight() >= 90);
    QVERIFY(lower->y() >= 100);
    QVERIFY(w->AdvertPanelWidth() >= 140);
    QVERIFY(w->AdvertPanelWidth() <= lower->width() - 150);
    QCOMPARE(Find<QWidget>(w, "pReklama")->width(), w->AdvertPanelWidth());
  }

  void AppendAndSubtractKeepTheListAscendingAndMarkIt() {
    Shell s;
    TMDIChild* w = s.Active();
    w->SetSearchResult({1}, QStringLiteral("Поиск"));
    w->SetFileState(false, false);
    OfferList(s, "more.lst", {2, 0, 7, -1, 2});
    s.Action("FileAppendItem")->trigger();
    QCOMPARE(w->Records(), (RecordList{0, 1, 2}));
    QVERIFY(w->Modified());
    QCOMPARE(s.form->StatusText(1), QStringLiteral("1/3"));

    OfferList(s, "less.lst", {1, 5});
    s.Action("FileSubItem")->trigger();
    QCOMPARE(w->Records(), (RecordList{0, 2}));
    QCOMPARE(s.log->openDirs.size(), 2);
    // A file of the wrong format is reported and changes nothing.
    WriteBytes(s.base.ListPath("bad.lst").toStdString(), "ISL");
    s.log->fileToOpen = s.base.ListPath("bad.lst");
    s.Action("FileAppendItem")->trigger();
    QCOMPARE(s.log->informations, QStringList{"Файл списка неверного формата"});
    QCOMPARE(w->Records(), (RecordList{0, 2}));
    QVERIFY(ShownExceptions().isEmpty());
  }

  void ASearchWindowAsksToSaveOnClose() {
    Shell s;
    TMDIChild* w = s.form->NewListWindow();
    w->SetSearchResult({1, 2}, QStringLiteral("Поиск (01.01.2024 10:00:00)"));
    s.log->answerYes = false;
    w->parentWidget()->close();
    QCOMPARE(s.log->questions, QStringList{"Вы хотите сохранить изменения перед закрытием окна "
                                           "\"Поиск (01.01.2024 10:00:00)\""});
    QVERIFY(s.log->saveDirs.isEmpty());
    QTRY_COMPARE(s.form->ListWindows().size(), 1);

    s.form->NewListWindow()->SetSearchResult({2}, QStringLiteral("Поиск"));
    s.log->answerYes = true;
    s.log->fileToSave = s.base.ListPath("найдено.lst");
    s.Action("FileCloseItem")->trigger();
    QTRY_COMPARE(s.form->ListWindows().size(), 1);
    QCOMPARE(LoadListFile(s.base.ListPath("найдено.lst").toStdString(), 3).records,
             (RecordList{2}));
    // A failed save is reported and the window still closes.
    TMDIChild* third = s.form->NewListWindow();
    third->SetSearchResult({1}, QStringLiteral("Поиск"));
    s.log->fileToSave = QString::fromStdString(s.base.dir() / "нет папки/x.lst");
    third->parentWidget()->close();
    QCOMPARE(ShownExceptions().size(), 1);
    QVERIFY(ShownExceptions().first().startsWith("Не могу сохранить список в файле "));
    QTRY_COMPARE(s.form->ListWindows().size(), 1);
    // The whole base window was never changed: it closes without a question.
    s.log->questions.clear();
    s.Active()->parentWidget()->close();
    QVERIFY(s.log->questions.isEmpty());
  }

  void DetailsAreFetchedOnlyWhenInputStops() {
    Shell s(NumberedBase(50));
    TMDIChild* w = s.Active();
    s.Idle();
    QCOMPARE(Text(w, "ePeople"), QStringLiteral("0"));
    auto* grid = Find<NameGrid>(w, "dgInfo");
    for (int i = 1; i <= 5; ++i) {
      QTest::keyClick(grid, Qt::Key_Down);
      QCOMPARE(s.form->StatusText(1), QStringLiteral("%1/50").arg(i + 1));
      QCOMPARE(Text(w, "ePeople"), QStringLiteral("0"));
      QVERIFY(w->DetailPending());
    }
    s.Idle();
    QCOMPARE(Text(w, "ePeople"), QStringLiteral("5"));
    QVERIFY(!w->DetailPending());
    // A window that is not active waits for its turn.
    TMDIChild* second = s.form->NewListWindow();
    QTest::keyClick(grid, Qt::Key_Down);
    s.Idle();
    QVERIFY(w->DetailPending());
    QVERIFY(!second->DetailPending());
  }

  void AValueTooWideForItsBoxEndsInAnEllipsisWithTheWholeTextAsHint_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("value");
    QTest::newRow("region") << "eRegion"
                            << "Беларусь, Гродненская обл.";
    QTest::newRow("manager") << "ePrinciple"
                             << "Константинопольский Константин Константинович, ген. директор";
    QTest::newRow("short manager") << "ePrinciple"
                                   << "Иванов И.И.";
  }
  void AValueTooWideForItsBoxEndsInAnEllipsisWithTheWholeTextAsHint() {
    QFETCH(QString, box);
    QFETCH(QString, value);
    BaseSource source = SampleBase();
    source.regions[0] = W("Гродненская обл.");
    source.enterprises[0].head = W(value.toStdString());
    Shell s(source);
    TMDIChild* w = s.Active();
    s.Idle();
    auto* edit = Find<QLineEdit>(w, box.toLatin1().constData());
    const QString shown = edit->text();
    // The text the box shows fits it, beside the two-pixel margins and the frame.
    QVERIFY(edit->fontMetrics().horizontalAdvance(shown) <= edit->width() - 4);
    if (edit->fontMetrics().horizontalAdvance(value) <= edit->width() - 8) {
      QCOMPARE(shown, value);
      QVERIFY(edit->toolTip().isEmpty());
    } else {
      QVERIFY(shown.endsWith(QChar(0x2026)));
      QVERIFY(value.startsWith(shown.chopped(1)));
      QCOMPARE(edit->toolTip(), value);
    }
  }

  void RequisitesShowEveryField() {
    Shell s(BaseWithLongName());
    TMDIChild* w = s.Active();
    s.Idle();
    const int longTop = Find<QWidget>(w, "ePrinciple")->y();
    const int longUrl = Find<QWidget>(w, "eURL")->y();
    QCOMPARE(
        Texts(w, {"eOrgForm", "eYear", "ePeople", "eIndex", "eRegion", "mAddress", "ePrinciple",
                  "eCode", "eFax", "mPhones", "lMail", "eURL", "lReklama"}),
        (QStringList{"оао", "1995", "1200", "220000", "Беларусь, Минская обл.",
                     "ул. Ленина, 1\nкорпус 2\nподъезд 3\nэтаж 4", "Иванов И.И.", "017",
                     "222-33-44", "222-33-45", "info@zavod.by", "www.zavod.by", "Лучшие станки"}));
    QVERIFY(Find<QScrollArea>(w, "sbReklama")->isVisible());
    const QString products = "1. пр-во - станок токарный\n2. опт - болт м12\n";
    QCOMPARE(Text(w, "lItem"), products);

    // Hidden, the lower panel keeps the old products; shown again, it catches up at idle.
    w->SetItemVisible(false);
    w->SetCurrentRow(1);
    s.Idle();
    QCOMPARE(Text(w, "lItem"), products);
    w->SetItemVisible(true);
    // A country without a region, no advertising: the publisher's contact shows.
    s.Idle();
    QCOMPARE(Texts(w, {"eRegion", "ePeople", "lItem"}),
             (QStringList{"Украина,", "0", "1. торг - гайка"}));
    QVERIFY(!Find<QScrollArea>(w, "sbReklama")->isVisible());
    QVERIFY(Find<QLabel>(w, "lReklamaOwner")->isVisible());
    QCOMPARE(Text(w, "lReklamaOwner").count('\n'), 3);

    // No year, no form, no products.
    w->SetCurrentRow(2);
    s.Idle();
    QCOMPARE(Texts(w, {"eYear", "eOrgForm", "ePeople", "lItem"}), (QStringList{"", "", "15", ""}));
    // The four-line address had pushed the blocks below it down, all by the same amount.
    const int grown = longTop - Find<QWidget>(w, "ePrinciple")->y();
    QVERIFY(grown > 0);
    QCOMPARE(longUrl - Find<QWidget>(w, "eURL")->y(), grown);
  }

  // An edited remark is stored when the selection moves and on close; one only shown (trimmed)
  // is stored as it was.
  void RemarksAreStoredWhenTheSelectionMovesAndOnClose() {
    BaseSource b = SampleBase();
    b.remarks = std::vector<std::pair<std::int32_t, std::string>>{{2, W("  старое  ")}};
    Shell s(b);
    TMDIChild* w = s.Active();
    auto* memo = RemarkMemo(s);
    memo->insertPlainText(QStringLiteral("звонить утром"));
    QCOMPARE(w->PendingRemark(), 0);
    QCOMPARE(s.base.dm().GetRemark(0), std::string());
    w->SetCurrentRow(1);
    QCOMPARE(s.base.dm().GetRemark(0), W("звонить утром"));
    QCOMPARE(w->PendingRemark(), -1);
    s.Idle();
    QCOMPARE(memo->toPlainText(), QString());
    w->SetCurrentRow(2);
    s.Idle();
    QCOMPARE(memo->toPlainText(), QStringLiteral("старое"));
    QCOMPARE(w->PendingRemark(), -1);
    w->SetCurrentRow(1);
    QCOMPARE(s.base.dm().GetRemark(2), W("  старое  "));
    s.Idle();
    memo->insertPlainText(QStringLiteral("второй"));
    w->parentWidget()->close();
    QCOMPARE(s.base.dm().GetRemark(1), W("второй"));

    s.CloseForm();
    s.base.Reopen();
    QCOMPARE(s.base.dm().GetRemark(0), W("звонить утром"));
    QCOMPARE(s.base.dm().GetRemark(1), W("второй"));
  }

  void ARemarkThatCannotBeStoredIsReportedAndStaysInTheMemo() {
    Shell s;
    TMDIChild* w = s.Active();
    auto* memo = RemarkMemo(s);
    memo->insertPlainText(QStringLiteral("на полный диск"));
    {
      FaultyFiles full(Fault::ShortWriteThenFull, 1);
      ScopedFileSystem use(full);
      w->SetCurrentRow(1);
      s.Idle();
    }
    QCOMPARE(s.log->informations.size(), 1);
    QVERIFY(s.log->informations.first().contains(QStringLiteral("No space left on device")));
    QCOMPARE(memo->toPlainText(), QStringLiteral("на полный диск"));
    QCOMPARE(w->PendingRemark(), 0);
    // With room again the next move stores it.
    w->SetCurrentRow(0);
    QCOMPARE(s.base.dm().GetRemark(0), W("на полный диск"));
    QCOMPARE(w->PendingRemark(), -1);
  }

  void TheRemarkMemoOfAReadOnlyStoreIsReadOnlyWithANote() {
    BaseSource b = SampleBase();
    b.remarks = std::vector<std::pair<std::int32_t, std::string>>{{0, W("есть")}};
    ReadOnlyRemarks files;
    ScopedFileSystem use(files);
    Shell s(b);
    auto* memo = RemarkMemo(s);
    QVERIFY(memo->isReadOnly());
    QVERIFY(memo->toolTip().contains(QStringLiteral("только для чтения")));
    QCOMPARE(memo->toPlainText(), QStringLiteral("есть"));
  }

  void TheRemarkMemoTakesNoLineBreakAndStopsAtItsLimit() {
    Shell s;
    auto* memo = RemarkMemo(s);
    QTest::keyClicks(memo, QStringLiteral("a"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("b"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("ab"));
    memo->selectAll();
    QGuiApplication::clipboard()->setText(QString(5000, QChar('x')));
    memo->paste();
    QCOMPARE(memo->toPlainText().size(), 4096);
    QTest::keyClicks(memo, QStringLiteral("y"));
    QCOMPARE(memo->toPlainText().size(), 4096);
  }

  void LongNamesGetAHintOverTheirRow() {
    Shell s(BaseWithLongName());
    TMDIChild* w = s.Active();
    auto* grid = Find<NameGrid>(w, "dgInfo");
    QWidget* viewport = grid->viewport();
    const QPoint onRow(5, grid->rowHeight(0) + 2);
    SendMouse(viewport, QEvent::MouseMove, onRow, Qt::NoButton);
    QCOMPARE(grid->HintRow(), 1);
    QVERIFY(grid->HintText().startsWith(QStringLiteral("Открытое акционерное общество")));
    QCOMPARE(grid->HintTop(), grid->rowViewportPosition(1));
    QCOMPARE(w->HintPosition(), viewport->mapToGlobal(QPoint(0, grid->rowViewportPosition(1))));
    AskForHint(viewport, onRow);
    QVERIFY(grid->HintShown());
    // The hint opening under the pointer makes the window system report the mouse leaving
    // the grid; while the pointer is still over the row the hint stays.
    QCursor::setPos(viewport->mapToGlobal(onRow));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(viewport, &leave);
    QVERIFY(grid->HintShown());
    // Leaving for real takes it away.
    QCursor::setPos(viewport->mapToGlobal(QPoint(-50, onRow.y())));
    QCoreApplication::sendEvent(viewport, &leave);
    QVERIFY(!grid->HintShown());
    AskForHint(viewport, onRow);
    QVERIFY(grid->HintShown());

    // A name that fits gets none; nor does any row once the option is off.
    SendMouse(viewport, QEvent::MouseMove, QPoint(5, 2), Qt::NoButton);
    QCOMPARE(grid->HintRow(), 0);
    QVERIFY(grid->HintText().isEmpty());
    QVERIFY(!grid->HintShown());
    w->SetFullNameHints(false);
    SendMouse(viewport, QEvent::MouseMove, onRow, Qt::NoButton);
    QVERIFY(grid->HintText().isEmpty());
    // Below the last record there is no hint row at all.
    SendMouse(viewport, QEvent::MouseMove, QPoint(5, 10 * grid->rowHeight(0)), Qt::NoButton);
    QCOMPARE(grid->HintRow(), -1);
  }

  // A shown long-name hint goes as soon as its row is left behind: the pointer on another
  // part of the window or outside the program, and the window minimised, tiled or cascaded.
  void TheHintGoesWhenItsRowIsLeft_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("pointer onto the requisites panel") << "panel";
    QTest::newRow("pointer outside the program") << "outside";
    QTest::newRow("minimised") << "WindowMinimizeItem";
    QTest::newRow("tiled") << "WindowTileItem";
    QTest::newRow("cascaded") << "WindowCascadeItem";
  }
  void TheHintGoesWhenItsRowIsLeft() {
    QFETCH(QString, how);
    Shell s(BaseWithLongName());
    s.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.form.get()));
    TMDIChild* w = s.Active();
    auto* grid = Find<NameGrid>(w, "dgInfo");
    QWidget* viewport = grid->viewport();
    const QPoint onRow(5, grid->rowHeight(0) + 2);
    QCursor::setPos(viewport->mapToGlobal(onRow));
    SendMouse(viewport, QEvent::MouseMove, onRow, Qt::NoButton);
    AskForHint(viewport, onRow);
    QVERIFY(grid->HintShown());
    if (how == "panel") {
      QWidget* panel = Find<QWidget>(w, "pInfo");
      QCursor::setPos(panel->mapToGlobal(QPoint(10, 10)));
      SendMouse(panel, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
      QVERIFY(!grid->HintShown());
    } else if (how == "outside") {
      QCursor::setPos(s.form->mapToGlobal(QPoint(-100, -100)));
      QTRY_VERIFY(!grid->HintShown());
    } else {
      s.form->NewListWindow();
      s.form->findChild<QMdiArea*>()->setActiveSubWindow(
          qobject_cast<QMdiSubWindow*>(w->parentWidget()));
      QCursor::setPos(viewport->mapToGlobal(onRow));
      AskForHint(viewport, onRow);
      QVERIFY(grid->HintShown());
      s.Action(how.toLatin1().constData())->trigger();
      QVERIFY(!grid->HintShown());
    }
  }

  void TheGridAndTheClipboardShowTheRecord() {
    Shell s;
    TMDIChild* w = s.Active();
    s.Idle();
    QAbstractItemModel* m = Find<NameGrid>(w, "dgInfo")->model();
    QVERIFY(m->index(0, 0).data(RecordGridModel::HasAdvertRole).toBool());
    QVERIFY(!m->index(1, 0).data(RecordGridModel::HasAdvertRole).toBool());
    w->CopyNameToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Минский ЗАВОД"));
    Find<QAction>(w, "pmEMailCopy")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("info@zavod.by"));
    // An empty list keeps one row without a record.
    w->SetSearchResult({}, QStringLiteral("Поиск"));
    QCOMPARE(m->rowCount(), 1);
    QVERIFY(!m->index(0, 0).data().isValid());
    w->CopyNameToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
  }

  void SplittersStopAtTheirLimits() {
    Shell s;
    TMDIChild* w = s.Active();
    auto* split = Find<SplitBar>(w, "PanelSplit");
    const int client = w->height();
    DragBar(split, QPoint(1, -10000));
    QCOMPARE(w->LowerPanelHeight(), client - 100 - 4);
    QTRY_COMPARE(Find<QWidget>(w, "pDetail2")->height(), client - 104);
    DragBar(split, QPoint(1, 10000));
    QCOMPARE(w->LowerPanelHeight(), 96);
    QVERIFY(!Find<QWidget>(w, "PanelSplitDrag")->isVisible());

    auto* split2 = Find<SplitBar>(w, "PanelSplit2");
    const int before = w->AdvertPanelWidth();
    SendMouse(split2, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
    SendMouse(split2, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::NoButton);
    QCOMPARE(w->AdvertPanelWidth(), before - 4);
    QTRY_COMPARE(split2->x(), before - 4);
    DragBar(split2, QPoint(-10000, 1));
    QCOMPARE(w->AdvertPanelWidth(), 146);
    QTRY_COMPARE(split2->x(), 146);
    DragBar(split2, QPoint(10000, 1));
    QCOMPARE(w->AdvertPanelWidth(), Find<QWidget>(w, "pDetail2")->width() - 150 - 4);
    QVERIFY(w->DetailPending());
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::ListWindowTest)
#include "list_window_test.moc"
