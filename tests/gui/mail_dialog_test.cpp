// The mail dialog: its settings, runs against a scripted server, the checks of its fields, the
// letter's fields and preview, the real boxes, and the refused recipients as a new list window.
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include "mail_test_support.h"
#include "mailui/send_form.h"
#include "shell_test_support.h"
#include "support/open_base.h"

namespace zorel {

using namespace test_support;

class MailDialogTest : public QObject {
  Q_OBJECT

 private:
  // The dialog over a base of these addresses, its INI file holding `values` first, its boxes
  // and questions answered and recorded.
  struct Dialog {
    TempDir dir;
    QSettings settings{QString::fromStdString(dir / "zorel.ini"), QSettings::IniFormat};
    OpenBase base;
    QStringList boxes, informs, questions;
    std::shared_ptr<UserPrompts> prompts = std::make_shared<UserPrompts>();
    std::unique_ptr<TfrmSend> form;
    explicit Dialog(const std::vector<std::string>& addresses,
                    const std::vector<std::pair<QString, QVariant>>& values = {},
                    OpenUnsentFn openUnsent = {})
        : base(BaseWithAddresses(addresses)) {
      prompts->titledBox = [this](QWidget*, const QString&, const QString& t) { boxes << t; };
      prompts->titledInform = [this](QWidget*, const QString&, const QString& t) { informs << t; };
      prompts->ask = [this](QWidget*, const QString& q) {
        questions << q;
        return true;
      };
      for (const auto& [key, value] : values) settings.setValue(key, value);
      form = std::make_unique<TfrmSend>(base.dm(), settings, prompts, openUnsent);
    }
    void Send() const { QTest::mouseClick(Find<QPushButton>(*form, "btnSend"), Qt::LeftButton); }
    // Sends to these records through the scripted server.
    void SendTo(const ScriptedServer& server, const QString& records) const {
      PointAt(*form, server);
      form->SetRecipients(records);
      Send();
    }
  };

  template <typename T>
  static T* Find(TfrmSend& form, const char* name) {
    T* w = form.findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }

  static QStringList LogLines(TfrmSend& form) {
    return Find<QPlainTextEdit>(form, "reLog")->toPlainText().split(u'\n');
  }

 private slots:
  void SettingsSurviveThroughTheIniFile() {
    Dialog d({"x@y"}, {{"Mail/Server", "mail.test"},
                       {"Mail/ServerPort", "2525"},
                       {"Mail/PlainText", "0"},
                       {"Mail/CharSet", "7"},
                       {"Mail/ViewDetails", "0"},
                       {"Mail/TestInProgress", "1"},
                       {"Mail/TestMailAddress", "t@t"},
                       {"Mail/LastDir", "/some/dir"}});
    TfrmSend& form = *d.form;
    QCOMPARE(Find<QLineEdit>(form, "SMTPServer")->text(), QString("mail.test"));
    QCOMPARE(Find<QLineEdit>(form, "SMTPPort")->text(), QString("2525"));
    QVERIFY(Find<QRadioButton>(form, "rbHTML")->isChecked());
    QCOMPARE(Find<QComboBox>(form, "cbCharSet")->currentIndex(), 0);
    QCOMPARE(Find<QLineEdit>(form, "MailTimeOut")->text(), QString("60"));
    QVERIFY(!Find<QPushButton>(form, "btnDetails")->isChecked());
    Find<QComboBox>(form, "cbCharSet")->setCurrentIndex(1);
    Find<QLineEdit>(form, "MailFrom")->setText("me@x");
    Find<QRadioButton>(form, "rbText")->setChecked(true);
    Find<QPushButton>(form, "btnDetails")->setChecked(true);
    d.form.reset();
    d.settings.sync();
    QSettings s(d.settings.fileName(), QSettings::IniFormat);
    QStringList saved;
    for (const char* key : {"CharSet", "Sender", "PlainText", "ViewDetails", "ServerPort",
                            "TestMailAddress", "LastDir"}) {
      saved << s.value(QStringLiteral("Mail/") + key).toString();
    }
    QCOMPARE(saved, (QStringList{"1", "me@x", "1", "1", "2525", "t@t", "/some/dir"}));
  }

  void SendsLogsAndSkipsWithTheSendingStateShown() {
    Dialog d({"x@y", "", "q@r"});
    TfrmSend& form = *d.form;
    ScriptedServer server(SmtpGreeting() + SmtpMessage("x@y") + QStringList{"S:<call>"} +
                          SmtpMessage("q@r") + SmtpQuit());
    bool sendingShown = false;
    server.OnCall = [&] {
      sendingShown = !Find<QPushButton>(form, "btnSend")->isEnabled() &&
                     Find<QWidget>(form, "btnClose")->isHidden() &&
                     !Find<QWidget>(form, "btnCancel")->isHidden();
    };
    d.SendTo(server, "0\r\n1\r\n2\r\n");
    QVERIFY(server.Mismatch().isEmpty());
    QVERIFY(sendingShown);
    QCOMPARE(LogLines(form),
             (QStringList{"Установление соединения с сервером: 127.0.0.1", "Firm 0:x@y", "OK",
                          "Firm 1: нет адреса - пропускается", "Firm 2:q@r", "OK", ""}));
    QCOMPARE(d.informs, QStringList{"Рассылка закончена"});
    QVERIFY(d.questions.isEmpty());  // nothing unsent, nothing offered
    QVERIFY(Find<QPushButton>(form, "btnSend")->isEnabled());
    QVERIFY(Find<QWidget>(form, "btnCancel")->isHidden());
  }

  void TestModeSendsEverythingToTheTestAddress() {
    Dialog d({"x@y", ""},
             {{"Mail/TestInProgress", true}, {"Mail/TestMailAddress", "Tester <t@t>"}});
    ScriptedServer server(SmtpGreeting() + SmtpMessage("t@t") + SmtpMessage("t@t") + SmtpQuit());
    d.SendTo(server, "0\r\n1\r\n");
    QVERIFY2(server.Mismatch().isEmpty(), qPrintable(server.Mismatch()));
    QCOMPARE(LogLines(*d.form).mid(1, 4), (QStringList{"Firm 0:t@t", "OK", "Firm 1:t@t", "OK"}));
  }

  void CancelAsksStopsAndOffersTheUnsent() {
    RecordList opened;
    QString caption;
    Dialog d({"x@y", "", "q@r", "z@w"}, {}, [&](RecordList r, const QString& c) {
      opened = std::move(r);
      caption = c;
    });
    TfrmSend& form = *d.form;
    ScriptedServer server(SmtpGreeting() + QStringList{"C:RSET", "S:250 ok", "C:MAIL FROM:<me@x>",
                                                       "S:<call>", "S:<silent>"});
    server.OnCall = [&] {
      QTest::mouseClick(Find<QPushButton>(form, "btnCancel"), Qt::LeftButton);
    };
    Find<QLineEdit>(form, "MailTimeOut")->setText("0");
    d.SendTo(server, "0\r\n1\r\n2\r\n3\r\n");
    QCOMPARE(LogLines(form),
             (QStringList{"Установление соединения с сервером: 127.0.0.1", "Firm 0:x@y",
                          "Операция прервана пользователем", "Socket readln aborted",
                          "Firm 1: нет адреса - пропускается", "Firm 2:q@r", ""}));
    QCOMPARE(d.questions.first(), QString("Прервать рассылку почты ?"));
    QCOMPARE(d.informs, QStringList{"Рассылка закончена"});
    QCOMPARE(opened, (RecordList{0, 2, 3}));
    QVERIFY(caption.startsWith("Не отправлено ("));
  }

  void PortTimeOutAndPauseAreChecked() {
    Dialog d({"x@y"});
    TfrmSend& form = *d.form;
    QStringList& boxes = d.boxes;
    auto* timeOut = Find<QLineEdit>(form, "MailTimeOut");
    timeOut->clear();
    QTest::keyClicks(timeOut, "1a-2");
    QCOMPARE(timeOut->text(), QString("12"));
    Find<QLineEdit>(form, "SMTPPort")->setText("25x");
    d.Send();
    QCOMPARE(boxes, QStringList{"Порт должен состоять только из цифр !!!"});
    QCOMPARE(Find<QPlainTextEdit>(form, "reLog")->toPlainText(), QString());
    Find<QLineEdit>(form, "SMTPPort")->setText("25");
    timeOut->clear();
    d.Send();
    QCOMPARE(boxes.last(), QString("Таймаут должен состоять только из цифр !!!"));
    QVERIFY(Find<QPushButton>(form, "btnSend")->isEnabled());
    // A pause whose milliseconds overflow the client's wait is refused like a wrong one.
    timeOut->setText("60");
    Find<QLineEdit>(form, "MailPause")->setText("3000000");
    d.Send();
    QCOMPARE(boxes.last(), QString("Пауза должна состоять только из цифр !!!"));
    QCOMPARE(Find<QPlainTextEdit>(form, "reLog")->toPlainText(), QString());
  }

  // A real box takes the window's activation: what was queued before it runs, then the focused
  // field loses the focus to it. Each field's mistake is one box, after Tab as after a click.
  void OneBoxPerMistake() {
    const struct {
      const char* field;
      const char* text;
      const char* box;
    } cases[] = {{"SMTPPort", "25x", "Порт должен состоять только из цифр !!!"},
                 {"MailTimeOut", "", "Таймаут должен состоять только из цифр !!!"}};
    for (const auto& c : cases) {
      Dialog d({"x@y"});
      TfrmSend& form = *d.form;
      bool inBox = false;
      d.prompts->titledBox = [&](QWidget*, const QString&, const QString& t) {
        d.boxes << t;
        if (inBox) return;
        inBox = true;
        QCoreApplication::processEvents();
        if (QWidget* focused = QApplication::focusWidget()) {
          QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
          QCoreApplication::sendEvent(focused, &out);
        }
        inBox = false;
      };
      form.show();
      QApplication::setActiveWindow(&form);
      QVERIFY(QTest::qWaitForWindowActive(&form));
      auto* field = Find<QLineEdit>(form, c.field);
      field->setFocus();
      field->setText(QString::fromUtf8(c.text));
      QTest::keyClick(field, Qt::Key_Tab);
      QCoreApplication::processEvents();
      QCOMPARE(d.boxes, QStringList{QString::fromUtf8(c.box)});
      QCOMPARE(QApplication::focusWidget(), field);
    }
  }

  void ShownDetailsGetTheirRoom() {
    Dialog d({"x@y"}, {{"Mail/ViewDetails", "0"}, {"Mail/ServerPort", "2525"}});
    TfrmSend& form = *d.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(Find<QPushButton>(form, "btnDetails"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(form.width() >= form.sizeHint().width());
    auto* port = Find<QLineEdit>(form, "SMTPPort");
    QVERIFY(port->width() >= port->fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 8);
  }

  void FieldsGoInAtTheCursorAndThePreviewShowsTheCurrentEnterprise() {
    Dialog d({"x@y", "Q <q@r>"});
    TfrmSend& form = *d.form;
    QString previewed;
    d.prompts->runModal = [&](QDialog& preview) {
      previewed = preview.findChild<QPlainTextEdit*>("mPreview")->toPlainText();
      return 0;
    };
    form.SetRecipients("0\r\n1\r\n", 1);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto insert = [&](const QString& mark) {
      for (QAction* a : Find<QToolButton>(form, "btnFields")->menu()->actions()) {
        if (a->text() == mark) a->trigger();
      }
    };
    auto* subject = Find<QLineEdit>(form, "MailSubject");
    subject->setFocus();
    subject->setText(QStringLiteral("Для "));
    insert(QStringLiteral("{Наименование предприятия}"));
    QCOMPARE(subject->text(), QStringLiteral("Для {Наименование предприятия}"));
    auto* body = Find<QPlainTextEdit>(form, "MailBody");
    body->setFocus();
    body->setPlainText(QStringLiteral("Уважаемый !"));
    QTextCursor cursor = body->textCursor();
    cursor.setPosition(10);
    body->setTextCursor(cursor);
    insert(QStringLiteral("{Руководитель}"));
    QCOMPARE(body->toPlainText(), QStringLiteral("Уважаемый {Руководитель}!"));
    QTest::mouseClick(Find<QPushButton>(form, "btnPreview"), Qt::LeftButton);
    QCOMPARE(previewed, QStringLiteral("Кому: q@r\nТема: Для Firm 1\n\nУважаемый Иванов И.И.!\n"));
  }

  // The real boxes: as wide as a title bar needs for their title, and a closing "?" bound to
  // the word before it.
  void BoxesFitTheirTitles() {
    const auto prompts = UserPrompts::Standard([] { return QStringLiteral("Зорель"); });
    int width = 0, title = 0;
    QString text;
    const auto inspect = [&] {
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        width = box->width();
        title = box->fontMetrics().horizontalAdvance(box->windowTitle());
        if (auto* m = qobject_cast<QMessageBox*>(box)) text = m->text();
        box->reject();
      });
    };
    inspect();
    prompts->titledInform(nullptr, QStringLiteral("Почтовая рассылка"),
                          QStringLiteral("Рассылка закончена"));
    QVERIFY2(width >= title + 150, qPrintable(QString("%1 %2").arg(width).arg(title)));
    inspect();
    prompts->password(nullptr, QStringLiteral("Вход на почтовый сервер"),
                      QStringLiteral("Пароль для u:"));
    QVERIFY2(width >= title + 150, qPrintable(QString("%1 %2").arg(width).arg(title)));
    inspect();
    prompts->titledInform(nullptr, QStringLiteral("Рассылка почты"),
                          QStringLiteral("Не отправлено писем: 3. Открыть этих адресатов новым "
                                         "списком ?"));
    QVERIFY(text.endsWith(QStringLiteral("списком\u00a0?")));
  }

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

ZOREL_GUI_TEST_MAIN(zorel::MailDialogTest)
#include "mail_dialog_test.moc"
