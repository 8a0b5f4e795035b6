// The main window: start-up, menus and tool bar, command states, status bar, idle, windows, about.
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "data/errors.h"
#include "data/logger.h"
#include "shell/about_box.h"
#include "shell/command_states.h"
#include "shell/program_start.h"
#include "shell/tool_panel.h"
#include "shell_test_support.h"

namespace zorel {

using namespace test_support;

// Records the message of the splash at each of its paints that reaches the screen.
class SplashWatch : public QObject {
 public:
  QStringList painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<TAboutBox*>(watched);
    if (event->type() == QEvent::Paint && box != nullptr && box->windowHandle() != nullptr &&
        box->windowHandle()->isExposed()) {
      const QString message = box->findChild<QLabel*>("lMessage")->text();
      if (!message.isEmpty() && (painted.isEmpty() || painted.last() != message)) {
        painted.append(message);
      }
    }
    return false;
  }
};

// Throws from its event handler, as a failing command would.
class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EChildError("Не могу найти файл со списком x.lst");
    return QObject::event(e);
  }
};

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { ShownExceptions().clear(); }

  // The splash is on the screen, painted with each loading message as it comes, before the
  // work the message announces starts, and gone once the main window exists; a base that fails
  // to open still had its first message, and the error names the file and the system's reason.
  void StartUpShowsEachStepAndOpensTheBase_data() {
    QTest::addColumn<bool>("baseOpens");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("base opens") << true
                                << QStringList{"Загрузка базовой библиотеки ...",
                                               "Загрузка программы ...",
                                               "Загрузка главной формы ...",
                                               "Загрузка дополнительных систем ..."};
    QTest::newRow("base missing") << false << QStringList{"Загрузка базовой библиотеки ..."};
  }
  void StartUpShowsEachStepAndOpensTheBase() {
    QFETCH(bool, baseOpens);
    QFETCH(QStringList, messages);
    GuiBase base;
    base.Close();
    auto& app = *qobject_cast<Application*>(qApp);
    SplashWatch watch;
    app.installEventFilter(&watch);
    StartOptions options;
    options.dbDir = QString::fromStdString(baseOpens ? base.DbDir() : base.DbDir() + "/none");
    QString error;
    const std::unique_ptr<Program> program = StartProgram(app, options, &error);
    app.removeEventFilter(&watch);
    QCOMPARE(watch.painted, messages);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<TAboutBox*>(w));
    if (!baseOpens) {
      QVERIFY(!program);
      QCOMPARE(error, "Не могу открыть файл данных !!!\n" + options.dbDir +
                          "/factory.dat: No such file or directory");
      return;
    }
    QVERIFY2(program, qPrintable(error));
    QCOMPARE(program->mainForm->windowTitle(), QStringLiteral("Зорель 2003"));
    QCOMPARE(app.Title(), QStringLiteral("Зорель 2003"));
    program->mainForm->show();
    QTRY_COMPARE(program->mainForm->ListWindows().size(), 1);
    QCOMPARE(program->mainForm->ActiveChild()->windowTitle(), QStringLiteral("Вся база"));
    QCOMPARE(program->mainForm->ActiveChild()->Records().size(), 3u);
    program->mainForm->close();
  }

  void StartOptionsNameTheDatabaseFolder_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("dbDir");
    QTest::newRow("none") << QStringList{} << true << "../db/";
    QTest::newRow("debug") << QStringList{"/debug"} << true << "../db/";
    QTest::newRow("db") << QStringList{"--db", "/tmp/x"} << true << "/tmp/x";
    QTest::newRow("db=") << QStringList{"/debug", "--db=/tmp/y"} << true << "/tmp/y";
    QTest::newRow("db without folder") << QStringList{"--db"} << false << "";
    QTest::newRow("empty db=") << QStringList{"--db="} << false << "";
    QTest::newRow("debug second") << QStringList{"--db", "d", "/debug"} << false << "";
    QTest::newRow("unknown") << QStringList{"-x"} << false << "";
  }
  void StartOptionsNameTheDatabaseFolder() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    QFETCH(QString, dbDir);
    QString error;
    const auto options = ParseStartOptions(arguments, &error);
    QCOMPARE(options.has_value(), valid);
    if (valid) {
      QCOMPARE(options->dbDir, dbDir);
    } else {
      QVERIFY(!error.isEmpty());
    }
  }

  // Every action of the main window is in a menu or answers a shortcut the window holds; each
  // shortcut and each tool button triggers one action, and no two shortcuts are the same.
  void EveryActionIsReachableAndEachKeyOrButtonTriggersOne() {
    Shell s;
    QSet<QAction*> inMenus;
    QList<QAction*> pending = s.form->menuBar()->actions();
    while (!pending.isEmpty()) {
      QAction* a = pending.takeLast();
      inMenus.insert(a);
      if (a->menu() != nullptr) pending += a->menu()->actions();
    }
    const auto actions = s.form->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
    for (QAction* a : actions) {
      QVERIFY2(inMenus.contains(a) || (!a->shortcut().isEmpty() && s.form->actions().contains(a)),
               qPrintable(a->objectName()));
    }
    s.Action("CopyItem")->trigger();  // enables Paste
    QList<QAction*> triggered;
    for (QAction* a : actions) {
      QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
      QObject::connect(a, &QAction::triggered, [&triggered, a] { triggered << a; });
    }
    s.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.form.get()));
    QSet<QString> seen;
    for (QAction* a : actions) {
      if (a->shortcut().isEmpty()) continue;
      const QString keys = a->shortcut().toString();
      QVERIFY2(!seen.contains(keys), qPrintable(keys));
      seen.insert(keys);
      triggered.clear();
      QTest::keySequence(s.form.get(), a->shortcut());
      QCOMPARE(triggered, QList<QAction*>{a});
    }
    for (QToolButton* button : s.form->ToolBarPanel()->findChildren<QToolButton*>()) {
      triggered.clear();
      button->click();
      QVERIFY2(triggered.size() == 1, qPrintable(button->objectName()));
      QVERIFY(!button->icon().isNull());
    }
  }

  // The rules of the command states that the window tests do not reach: the advertising option
  // needs the lower panel, and with windows but none active the list commands stay while mail
  // goes and the hint option keeps its state.
  void CommandStateRules() {
    CommandStates previous;
    previous.itemChecked = false;
    previous.hintChecked = true;
    const ActiveListFlags lowerHidden{false, true, false, false};
    CommandStates s = ComputeCommandStates(2, 3, lowerHidden, previous);
    QVERIFY(s.listCommands && s.paste && !s.disableMail);
    QVERIFY(!s.reklamaEnabled && !s.reklamaChecked && !s.hintChecked);
    previous.itemChecked = true;
    s = ComputeCommandStates(2, 3, std::nullopt, previous);
    QVERIFY(s.listCommands && s.paste && s.reklamaEnabled && s.disableMail);
    QVERIFY(s.hintChecked);
  }

  // The commands on a list window follow the windows: enabled over one, disabled without.
  void CommandsFollowTheOpenWindows() {
    Shell s;
    const ToolPanel* t = s.form->ToolBarPanel();
    const char* windowCommands[] = {"FileCloseItem",      "FileSaveItem",   "FileSaveAsItem",
                                    "FileAppendItem",     "FileSubItem",    "FileExportItem",
                                    "FileSummaryItem",    "CutItem",        "CopyItem",
                                    "WindowCascadeItem",  "WindowTileItem", "WindowArrangeItem",
                                    "WindowMinimizeItem", "ParamHint",      "ParamInfo",
                                    "ParamItem",          "SendSingle",     "SendList"};
    for (const char* name : windowCommands) QVERIFY2(s.Action(name)->isEnabled(), name);
    QVERIFY(!s.Action("PasteItem")->isEnabled());
    QVERIFY(t->PasteBtn->isEnabled());
    s.Active()->parentWidget()->close();
    QTRY_COMPARE(s.form->ListWindows().size(), 0);
    for (const char* name : windowCommands) QVERIFY2(!s.Action(name)->isEnabled(), name);
    for (QToolButton* b : {t->SaveBtn, t->CutBtn, t->CopyBtn, t->PasteBtn})
      QVERIFY(!b->isEnabled());
    QCOMPARE(s.form->StatusText(1), QString());
    s.Action("FileNewItem")->trigger();
    QCOMPARE(s.form->ListWindows().size(), 1);
    QVERIFY(s.Action("CutItem")->isEnabled());
  }

  void StatusBarAndClipboardFollowTheCurrentRow() {
    Shell s;
    QCOMPARE(s.form->StatusText(1), QStringLiteral("1/3"));
    s.Active()->SetCurrentRow(2);
    QCOMPARE(s.form->StatusText(1), QStringLiteral("3/3"));
    s.Action("CopyItem")->trigger();
    QCOMPARE(s.form->RecordClipboard(), 2);
    QVERIFY(s.Action("PasteItem")->isEnabled());
    // An empty list still has a current row, with nothing to mail or copy.
    s.Active()->SetSearchResult({}, QStringLiteral("Поиск"));
    QCOMPARE(s.form->StatusText(1), QStringLiteral("1/0"));
    QVERIFY(!s.Action("SendSingle")->isEnabled());
    QVERIFY(!s.Action("SendList")->isEnabled());
    QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(s.form->StatusText(0)).hasMatch());
    s.Action("CopyItem")->trigger();
    QCOMPARE(s.form->RecordClipboard(), -1);
    QVERIFY(!s.Action("PasteItem")->isEnabled());
  }

  void StatusTextsReachTheThirdPanel() {
    Shell s;
    auto* orgForm = Find<QLineEdit>(s.Active(), "eOrgForm");
    QStatusTipEvent tip(orgForm->statusTip());
    QCoreApplication::sendEvent(orgForm, &tip);
    QCOMPARE(s.form->StatusText(2), QStringLiteral("Организационная форма"));
    QStatusTipEvent menuTip(s.Action("FileAppendItem")->statusTip());
    QCoreApplication::sendEvent(s.form->menuBar(), &menuTip);
    QCOMPARE(s.form->StatusText(2), QStringLiteral("Дополнить список из файла списка"));
    // A tool button's hint is a tool tip only: the status line goes blank over it.
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(s.form->ToolBarPanel()->NewBtn, &enter);
    QCOMPARE(s.form->StatusText(2), QString());
  }

  void OptionsToggleTheActiveWindowsPanels() {
    Shell s;
    TMDIChild* w = s.Active();
    // The panels shown and the options checked: requisites, products, advertising.
    const auto panels = [&] {
      return QList<bool>{w->InfoVisible(), s.Action("ParamInfo")->isChecked(), w->ItemVisible(),
                         w->ReklamaVisible(), s.Action("ParamReklama")->isChecked()};
    };
    s.Action("ParamInfo")->trigger();
    s.Action("ParamItem")->trigger();
    QCOMPARE(panels(), (QList<bool>{false, false, false, false, false}));
    s.Action("ParamItem")->trigger();
    QCOMPARE(panels(), (QList<bool>{false, false, true, true, true}));
    QVERIFY(!w->Modified());
    // The hidden "Полные имена" (its shortcut is the shortcut test's).
    s.Action("ParamHint")->trigger();
    QVERIFY(!w->FullNameHints());
    QVERIFY(!s.Action("ParamHint")->isChecked());
  }

  void IdleShowsTheDetailsOfTheActiveWindow() {
    Shell s;
    auto* orgForm = Find<QLineEdit>(s.Active(), "eOrgForm");
    // Waiting in an event loop lets the queue run empty, which is the idle moment.
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    QCOMPARE(orgForm->text(), QStringLiteral("оао"));
    QVERIFY(!s.Active()->DetailPending());
  }

  void ActionsAndExceptionsAreLoggedAndTheProgramGoesOn() {
    Shell s;
    TempDir dir;
    SetLogger(std::make_unique<TLogger>(dir / "zorel.log"));
    s.Action("CopyItem")->trigger();
    Thrower thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    SetLogger(std::make_unique<TDummyLogger>());
    QCOMPARE(ShownExceptions(), QStringList{"Не могу найти файл со списком x.lst"});
    const std::string log = ReadFile(dir / "zorel.log");
    for (const char* line :
         {"AE: Action information of CopyItem\r\nAE: - owner is MainForm\r\n",
          "EE:Sender exception information\r\n", "EE: - exception class is EChildError\r\n",
          "EE: - message is Не могу найти файл со списком x.lst\r\n"}) {
      QVERIFY2(log.find(line) != std::string::npos, line);
    }
  }

  void MinimizedWindowsStayOutOfTheWayAndComeBackRestored_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("tile") << "WindowTileItem";
    QTest::newRow("cascade") << "WindowCascadeItem";
  }
  void MinimizedWindowsStayOutOfTheWayAndComeBackRestored() {
    QFETCH(QString, command);
    Shell s;
    s.form->NewListWindow();
    s.form->NewListWindow();
    const QList<TMDIChild*> windows = s.form->ListWindows();
    QWidget* minimized = windows[0]->parentWidget();
    s.Action("WindowCascadeItem")->trigger();
    minimized->showMinimized();
    QVERIFY(minimized->isMinimized());
    s.Action(command.toLatin1().constData())->trigger();
    QVERIFY(minimized->isMinimized());
    for (TMDIChild* w : windows.mid(1)) {
      QVERIFY(!w->parentWidget()->isMinimized() && !w->parentWidget()->isMaximized());
      QVERIFY(!w->parentWidget()->geometry().intersects(minimized->geometry()));
    }
    // The window menu lists every window; picked there, the minimized one comes back restored
    // and active.
    QMenu* windowMenu = s.form->Actions().WindowMenu;
    emit windowMenu->aboutToShow();
    QList<QAction*> entries;
    for (QAction* a : windowMenu->actions()) {
      if (a->text().endsWith("Вся база")) entries << a;
    }
    QCOMPARE(entries.size(), 3);
    entries.first()->trigger();
    QVERIFY(!minimized->isMinimized());
    QCOMPARE(s.form->ActiveChild(), windows[0]);
    s.Action("WindowMinimizeItem")->trigger();
    for (TMDIChild* w : windows) QVERIFY(w->parentWidget()->isMinimized());
  }

  // Closing the program asks about each modified window with that window in front, minimized
  // ones too.
  void OnExitEachQuestionNamesTheWindowInFront() {
    Shell s;
    const QStringList captions{"Поиск (1)", "Поиск по продукции (2)", "Поиск по рубрикатору (3)"};
    for (const QString& caption : captions) s.form->NewListWindow()->SetSearchResult({0}, caption);
    s.form->ListWindows()[2]->parentWidget()->showMinimized();
    QStringList inFront;
    s.form->Prompts()->confirm = [&](QWidget*, const QString& question) {
      TMDIChild* active = s.form->ActiveChild();
      if (active != nullptr &&
          question.contains(QStringLiteral("\"%1\"").arg(active->windowTitle())) &&
          !active->parentWidget()->isMinimized()) {
        inFront << active->windowTitle();
      }
      return false;
    };
    s.CloseForm();
    inFront.sort();
    QCOMPARE(inFront, captions);
  }

  void AFailedOpenLeavesEveryWindowAsItWas_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong format") << QByteArray("not a list") << "Файл списка неверного формата";
    QTest::newRow("missing") << QByteArray() << "Не могу найти файл со списком ";
  }

  // With one normal window and one minimized, a failed open makes no window, not even while
  // its message is shown, and leaves each window in its state with the active one active.
  void AFailedOpenLeavesEveryWindowAsItWas() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    Shell s;
    s.form->NewListWindow();
    const QList<TMDIChild*> windows = s.form->ListWindows();
    TMDIChild* before = windows[1];
    windows[0]->parentWidget()->showMinimized();
    before->parentWidget()->showNormal();
    s.form->findChild<QMdiArea*>()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow*>(before->parentWidget()));
    QCOMPARE(s.form->ActiveChild(), before);
    const auto states = [&windows] {
      QList<int> result;
      for (TMDIChild* w : windows) result << w->parentWidget()->windowState().toInt();
      return result;
    };
    const QList<int> was = states();
    const QString path = s.base.ListPath("bad.lst");
    if (!content.isEmpty()) WriteBytes(path.toStdString(), content.toStdString());
    qsizetype windowsDuringMessage = -1;
    s.form->Prompts()->inform = [&](QWidget*, const QString& text) {
      windowsDuringMessage = s.form->ListWindows().size();
      ShownExceptions() << text;
    };
    s.log->fileToOpen = path;
    s.Action("FileOpenItem")->trigger();
    QCOMPARE(ShownExceptions().size(), 1);
    QVERIFY(ShownExceptions().first().startsWith(message));
    if (!content.isEmpty()) QCOMPARE(windowsDuringMessage, 2);
    QCOMPARE(s.form->ListWindows().size(), 2);
    QCOMPARE(states(), was);
    QCOMPARE(s.form->ActiveChild(), before);
  }

  void VersionAndDateLines() {
    const struct {
      const char *version, *line;
    } versions[] = {{"0.1.0", "Версия 0.1.0"},
                    {"2.3.4.567", "Версия 2.3.4"},
                    {"01.02.03", "Версия 1.2.3"},
                    {"", "Версия "},
                    {"x.y", "Версия "}};
    for (const auto& v : versions) QCOMPARE(VersionText(v.version), QString::fromUtf8(v.line));
    const struct {
      int day;
      const char* line;
    } dates[] = {{0, ""},
                 {1, ""},
                 {2, "Дата формирования данных : 01.01.1900"},
                 {45000, "Дата формирования данных : 15.03.2023"},
                 {-1, "Дата формирования данных : 29.12.1899"}};
    for (const auto& d : dates) QCOMPARE(BaseDateText(d.day), QString::fromUtf8(d.line));
  }

  // From the menu the box names the main window and shows the build's version.
  void FromTheMenuItNamesTheMainWindowAndTheBuild() {
    Shell s;
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      for (const char* label : {"ProductName", "lVersion"})
        shown << Find<QLabel>(box, label)->text();
      Find<QPushButton>(box, "OKButton")->click();
    });
    s.Action("HelpAboutItem")->trigger();
    QCOMPARE(shown, (QStringList{"Зорель 2003", VersionText(ZOREL_VERSION)}));
    QVERIFY(shown[1] != QStringLiteral("Версия "));
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::MainWindowTest)
#include "main_window_test.moc"
