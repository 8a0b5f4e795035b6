// The program on a Linux desktop: Qt's Russian stock texts, the built-in icon, and "Справка"
// opening the help file or, without one, the bundled user guide.
#include <QAction>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

#include "shell/program_icon.h"
#include "shell/qt_translations.h"
#include "shell/start_options.h"
#include "shell/user_guide.h"
#include "shell_test_support.h"

namespace zorel {

using test_support::Find;
using test_support::Shell;

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
  void StockButtonsSpeakRussian() {
    QVERIFY(LoadQtTranslations(*QCoreApplication::instance()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Да"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Нет"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Отмена"));
  }

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
    test_support::TempDir dir;
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
    QTest::addColumn<QString>("opened");
    QTest::newRow("current help file")
        << QStringList{"zorel2003.hlp", "zorel99.hlp"} << "zorel2003.hlp";
    QTest::newRow("older help file") << QStringList{"zorel99.hlp"} << "zorel99.hlp";
    QTest::newRow("no help file") << QStringList{} << "share/zorel/guide/index.html";
  }
  void HelpOpensTheHelpFileElseTheGuide() {
    QFETCH(QStringList, present);
    QFETCH(QString, opened);
    Shell s;
    test_support::TempDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    for (const QString& name : present) WriteBytes(dir / name.toStdString(), "help");
    s.form->SetHelpFile(ChooseHelpFile());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Find<QAction>(s.form.get(), "N5")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDir::setCurrent(previous);
    QCOMPARE(catcher.opened.size(), 1);
    QVERIFY2(catcher.opened[0].toLocalFile().endsWith(QLatin1Char('/') + opened),
             qPrintable(catcher.opened[0].toString()));
    QVERIFY(QFileInfo(catcher.opened[0].toLocalFile()).isFile());
    QVERIFY(s.log->informations.isEmpty());
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::DesktopTest)
#include "desktop_test.moc"
