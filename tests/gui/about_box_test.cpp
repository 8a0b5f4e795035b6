// The about box: version and data date lines, product name, and its splash-screen use.
#include "shell/about_box.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "shell/program_start.h"
#include "shell/start_options.h"
#include "shell_test_support.h"

namespace zorel {

using test_support::Find;
using test_support::Shell;

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

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
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
    Find<QAction>(s.form.get(), "HelpAboutItem")->trigger();
    QCOMPARE(shown, (QStringList{"Зорель 2003", VersionText(ZOREL_VERSION)}));
    QVERIFY(shown[1] != QStringLiteral("Версия "));
  }

  // The splash is on the screen, painted with each loading message as it comes, before the
  // work the message announces starts; a base that fails to open still had its first message.
  void TheSplashPaintsEachLoadingMessage_data() {
    QTest::addColumn<bool>("baseOpens");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("base opens") << true
                                << QStringList{"Загрузка базовой библиотеки ...",
                                               "Загрузка программы ...",
                                               "Загрузка главной формы ...",
                                               "Загрузка дополнительных систем ..."};
    QTest::newRow("base missing") << false << QStringList{"Загрузка базовой библиотеки ..."};
  }
  void TheSplashPaintsEachLoadingMessage() {
    QFETCH(bool, baseOpens);
    QFETCH(QStringList, messages);
    test_support::GuiBase base;
    SplashWatch watch;
    qApp->installEventFilter(&watch);
    StartOptions options;
    options.dbDir = QString::fromStdString(baseOpens ? base.DbDir() : base.DbDir() + "/none");
    QString error;
    const std::unique_ptr<Program> program =
        StartProgram(*static_cast<Application*>(qApp), options, &error);
    qApp->removeEventFilter(&watch);
    QCOMPARE(program != nullptr, baseOpens);
    QCOMPARE(watch.painted, messages);
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::AboutBoxTest)
#include "about_box_test.moc"
