// The program on a Linux desktop: Russian stock texts and locale, the icon, help and the guide.
#include <QDesktopServices>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include "shell/help_window.h"
#include "shell/program_icon.h"
#include "shell/qt_translations.h"
#include "shell/start_options.h"
#include "shell/user_guide.h"
#include "shell_test_support.h"

namespace zorel {

using namespace test_support;

// Receives what the desktop would be asked to open.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened.append(url); }
};

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void TheIconIsBuiltIn() {
    const QImage image = ProgramIcon().pixmap(64, 64).toImage();
    QCOMPARE(image.size(), QSize(64, 64));
    QVERIFY(qAlpha(image.pixel(32, 32)) == 255);
  }

  void TheGuideIsFoundInstalledAndInTheBuildTree_data() {
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("guideDir");
    QTest::newRow("installed") << "usr/bin"
                               << "usr/share/zorel/guide";
    QTest::newRow("build tree") << "build"
                                << "build/share/zorel/guide";
    QTest::newRow("missing") << "bin"
                             << "";
  }
  void TheGuideIsFoundInstalledAndInTheBuildTree() {
    QFETCH(QString, programDir);
    QFETCH(QString, guideDir);
    TempDir dir;
    const QDir root(QString::fromStdString(dir.path().string()));
    root.mkpath(programDir);
    if (!guideDir.isEmpty()) {
      root.mkpath(guideDir);
      WriteBytes(dir / (guideDir.toStdString() + "/index.html"), "<html></html>");
    }
    const QString expected =
        guideDir.isEmpty() ? QString()
                           : QFileInfo(root.filePath(guideDir + "/index.html")).canonicalFilePath();
    QCOMPARE(UserGuidePath(root.filePath(programDir)), expected);
  }

  void HelpOpensTheHelpFileElseTheGuide_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("opened");  // empty: the guide in the help window
    QTest::newRow("current help file")
        << QStringList{"zorel2003.hlp", "zorel99.hlp"} << "zorel2003.hlp";
    QTest::newRow("older help file") << QStringList{"zorel99.hlp"} << "zorel99.hlp";
    QTest::newRow("no help file") << QStringList{} << "";
  }
  void HelpOpensTheHelpFileElseTheGuide() {
    QFETCH(QStringList, present);
    QFETCH(QString, opened);
    Shell s;
    TempDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    for (const QString& name : present) WriteBytes(dir / name.toStdString(), "help");
    s.form->SetHelpFile(ChooseHelpFile());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    s.Action("N5")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDir::setCurrent(previous);
    QVERIFY(s.log->informations.isEmpty());
    auto* help = s.form->findChild<HelpWindow*>();
    if (!opened.isEmpty()) {
      QCOMPARE(catcher.opened.size(), 1);
      QVERIFY2(catcher.opened[0].toLocalFile().endsWith(QLatin1Char('/') + opened),
               qPrintable(catcher.opened[0].toString()));
      QVERIFY(help == nullptr);
      return;
    }
    // No browser is asked: the guide shows in the program's own window.
    QVERIFY(catcher.opened.isEmpty());
    QVERIFY(help != nullptr && help->isVisible());
    QVERIFY(help->Page()->source().toLocalFile().endsWith("share/zorel/guide/index.html"));
  }

  // The help window: the guide's sections as contents, links with back and forward, and a
  // search in the page that wraps around once.
  void TheHelpWindowLeadsThroughTheGuide() {
    HelpWindow help;
    help.Open(UserGuidePath(QCoreApplication::applicationDirPath()));
    help.show();
    QTreeWidget* contents = help.Contents();
    QVERIFY(contents->topLevelItemCount() >= 10);
    QCOMPARE(contents->topLevelItem(0)->text(0), QStringLiteral("1. Запуск программы"));
    QTextBrowser* page = help.Page();
    QCOMPARE(page->verticalScrollBar()->value(), 0);
    const int last = contents->topLevelItemCount() - 1;
    emit contents->itemClicked(contents->topLevelItem(last), 0);
    QVERIFY(page->verticalScrollBar()->value() > 0);
    QVERIFY(page->textCursor().block().text().contains(contents->topLevelItem(last)->text(0)));

    page->setSource(QUrl(QStringLiteral("#mail")));
    QVERIFY(page->isBackwardAvailable());
    page->backward();
    QVERIFY(page->isForwardAvailable());

    auto* find = help.findChild<QLineEdit*>("HelpFind");
    find->setText(QStringLiteral("Рассылка почты"));
    QVERIFY(help.FindInPage());
    QCOMPARE(page->textCursor().selectedText(), QStringLiteral("Рассылка почты"));
    find->setText(QStringLiteral("нет такого текста"));
    QVERIFY(!help.FindInPage());
  }

  // The stock buttons, and sizes and dates of the file dialogs, in Russian, though the tests run
  // under the C locale.
  void TheProgramSpeaksRussianWhateverTheEnvironmentSays() {
    QVERIFY(LoadQtTranslations(*QCoreApplication::instance()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QStringList buttons;
    for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
      buttons << box.button(b)->text().remove(QLatin1Char('&'));
    QCOMPARE(buttons, (QStringList{"Да", "Нет", "Отмена"}));
    QCOMPARE(QLocale::system().language(), QLocale::Russian);
    QCOMPARE(QLocale().language(), QLocale::Russian);
    TempDir dir;
    WriteBytes(dir / "list.lst", std::string(1100, 'x'));
    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(QString::fromStdString(dir.path().string()));
    QTRY_COMPARE(model.rowCount(root), 1);
    const QModelIndex file = model.index(0, 0, root);
    QTRY_VERIFY(model.index(0, 1, root).data().toString().contains(QStringLiteral("1,07")));
    const QDateTime modified = model.lastModified(file);
    QCOMPARE(model.index(0, 3, root).data().toString(),
             QLocale(QLocale::Russian, QLocale::Russia).toString(modified, QLocale::ShortFormat));
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::DesktopTest)
#include "desktop_test.moc"
