// "Почта по списку": the recipients the server refused come back as a new list window.
#include <QPushButton>
#include <QSettings>

#include "mail_test_support.h"
#include "mailui/send_form.h"
#include "shell_test_support.h"

namespace zorel {

using namespace test_support;

class MainMailTest : public QObject {
  Q_OBJECT

 private slots:
  void UnsentRecipientsOpenAsANewList() {
    TempDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settingsDir.path().string()));
    BaseSource source = NumberedBase(3);
    source.enterprises[0].email = "x@y";
    source.enterprises[2].email = "q@r";
    Shell shell(source);
    // The second address is refused.
    ScriptedServer server(SmtpGreeting() + SmtpMessage("x@y") +
                          QStringList{"C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok",
                                      "C:RCPT TO:<q@r>", "S:550 unknown", "C:DATA",
                                      "S:503 no recipients"} +
                          SmtpQuit());
    UserPrompts& prompts = *shell.form->Prompts();
    QStringList questions;
    prompts.titledBox = [](QWidget*, const QString&, const QString&) {};
    prompts.titledInform = [](QWidget*, const QString&, const QString&) {};
    prompts.ask = [&](QWidget*, const QString& q) {
      questions << q;
      return true;
    };
    prompts.runModal = [&](QDialog& form) {
      PointAt(form, server);
      form.findChild<QPushButton*>("btnSend")->click();
      return QDialog::Rejected;
    };
    shell.form->Actions().SendList->trigger();
    QVERIFY2(server.Mismatch().isEmpty(), qPrintable(server.Mismatch()));
    QCOMPARE(questions.size(), 1);
    QCOMPARE(shell.form->ListWindows().size(), 2);
    TMDIChild* unsent = shell.form->LastChild();
    QCOMPARE(unsent->Records(), (RecordList{2}));
    QVERIFY(unsent->windowTitle().startsWith("Не отправлено ("));
    shell.Action("FileSaveAsItem")->trigger();
    QCOMPARE(shell.log->saveNames, QStringList{unsent->windowTitle() + ".lst"});
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::MainMailTest)
#include "main_mail_test.moc"
