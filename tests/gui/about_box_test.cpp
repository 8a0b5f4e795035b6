// The about box: version and data date lines, the product name and the build's version.
#include "shell/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "shell_test_support.h"

namespace zorel {

using namespace test_support;

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
    s.Action("HelpAboutItem")->trigger();
    QCOMPARE(shown, (QStringList{"Зорель 2003", VersionText(ZOREL_VERSION)}));
    QVERIFY(shown[1] != QStringLiteral("Версия "));
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::AboutBoxTest)
#include "about_box_test.moc"
