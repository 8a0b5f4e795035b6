// The mail dialog: its settings through the INI file, a run against a scripted server with the
// log lines and the sending state, test mode, cancel with the failed-recipients list, and the
// port and time-out checks. Boxes and questions are answered through the dialog's prompts.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "components/user_prompts.h"
#include "mail/scripted_server.h"
#include "mailer/send_form.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {

namespace {

QStringList Message(const QString& to) {
  return {"C:RSET",   "S:250 ok", "C:MAIL FROM:<me@x>", "S:250 ok", "C:RCPT TO:<" + to + ">",
          "S:250 ok", "C:DATA",   "S:354 go",           "C:<data>", "S:250 ok"};
}

}  // namespace

class MailDialogTest : public QObject {
  Q_OBJECT

 private:
  struct Answers {
    QStringList boxes, informs, questions;
    bool confirm = true;
    std::shared_ptr<UserPrompts> prompts = std::make_shared<UserPrompts>();
    Answers() {
      prompts->titledBox = [this](QWidget*, const QString&, const QString& t) { boxes << t; };
      prompts->titledInform = [this](QWidget*, const QString&, const QString& t) { informs << t; };
      prompts->ask = [this](QWidget*, const QString& q) {
        questions << q;
        return confirm;
      };
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
    test_support::TempDir dir;
    const QString ini = QString::fromStdString(dir / "zorel.ini");
    {
      QSettings s(ini, QSettings::IniFormat);
      s.setValue("Mail/Server", "mail.test");
      s.setValue("Mail/ServerPort", "2525");
      s.setValue("Mail/PlainText", "0");
      s.setValue("Mail/CharSet", "7");
      s.setValue("Mail/ViewDetails", "0");
      s.setValue("Mail/TestInProgress", "1");
      s.setValue("Mail/TestMailAddress", "t@t");
      s.setValue("Mail/LastDir", "/some/dir");
    }
    test_support::OpenBase base(test_support::BaseWithAddresses({"x@y"}));
    Answers answers;
    {
      QSettings s(ini, QSettings::IniFormat);
      TfrmSend form(base.dm(), s, answers.prompts, {});
      QCOMPARE(Find<QLineEdit>(form, "SMTPServer")->text(), QString("mail.test"));
      QCOMPARE(Find<QLineEdit>(form, "SMTPPort")->text(), QString("2525"));
      QVERIFY(Find<QRadioButton>(form, "rbHTML")->isChecked());
      QCOMPARE(Find<QComboBox>(form, "cbCharSet")->currentIndex(), 0);
      QCOMPARE(Find<QLineEdit>(form, "MailTimeOut")->text(), QString("60"));
      QVERIFY(!Find<QPushButton>(form, "btnDetails")->isChecked());
      QVERIFY(Find<QWidget>(form, "btnCancel")->isHidden());
      QVERIFY(!Find<QPushButton>(form, "btnClearAttachments")->isEnabled());
      Find<QComboBox>(form, "cbCharSet")->setCurrentIndex(1);
      Find<QLineEdit>(form, "MailFrom")->setText("me@x");
      Find<QRadioButton>(form, "rbText")->setChecked(true);
      Find<QPushButton>(form, "btnDetails")->setChecked(true);
    }
    QSettings s(ini, QSettings::IniFormat);
    QCOMPARE(s.value("Mail/CharSet").toString(), QString("1"));
    QCOMPARE(s.value("Mail/Sender").toString(), QString("me@x"));
    QCOMPARE(s.value("Mail/PlainText").toString(), QString("1"));
    QCOMPARE(s.value("Mail/ViewDetails").toString(), QString("1"));
    QCOMPARE(s.value("Mail/ServerPort").toString(), QString("2525"));
    QCOMPARE(s.value("Mail/TestMailAddress").toString(), QString("t@t"));
    QCOMPARE(s.value("Mail/LastDir").toString(), QString("/some/dir"));
  }

  void SendsLogsAndSkipsWithTheSendingStateShown() {
    test_support::TempDir dir;
    QSettings s(QString::fromStdString(dir / "zorel.ini"), QSettings::IniFormat);
    test_support::OpenBase base(test_support::BaseWithAddresses({"x@y", "", "q@r"}));
    test_support::ScriptedServer server(QStringList{"S:220 ready", "C:HELO me", "S:250 hi"} +
                                        Message("x@y") + QStringList{"S:<call>"} + Message("q@r") +
                                        QStringList{"C:QUIT", "S:221 bye"});
    Answers answers;
    TfrmSend form(base.dm(), s, answers.prompts, {});
    bool sendingShown = false;
    server.OnCall = [&] {
      sendingShown = !Find<QPushButton>(form, "btnSend")->isEnabled() &&
                     Find<QWidget>(form, "btnClose")->isHidden() &&
                     !Find<QWidget>(form, "btnCancel")->isHidden();
    };
    Find<QLineEdit>(form, "SMTPServer")->setText("127.0.0.1");
    Find<QLineEdit>(form, "SMTPPort")->setText(QString::number(server.Port()));
    Find<QLineEdit>(form, "MailFrom")->setText("me@x");
    form.SetRecipients("0\r\n1\r\n2\r\n");
    QTest::mouseClick(Find<QPushButton>(form, "btnSend"), Qt::LeftButton);
    QVERIFY(server.Mismatch().isEmpty());
    QVERIFY(sendingShown);
    QCOMPARE(LogLines(form),
             (QStringList{"Установление соединения с сервером: 127.0.0.1", "Firm 0:x@y", "OK",
                          "Firm 1: нет адреса - пропускается", "Firm 2:q@r", "OK", ""}));
    QCOMPARE(answers.informs, QStringList{"Рассылка закончена"});
    QVERIFY(answers.questions.isEmpty());  // nothing unsent, nothing offered
    QVERIFY(Find<QPushButton>(form, "btnSend")->isEnabled());
    QVERIFY(Find<QWidget>(form, "btnCancel")->isHidden());
  }

  void TestModeSendsEverythingToTheTestAddress() {
    test_support::TempDir dir;
    QSettings s(QString::fromStdString(dir / "zorel.ini"), QSettings::IniFormat);
    s.setValue("Mail/TestInProgress", true);
    s.setValue("Mail/TestMailAddress", "Tester <t@t>");
    test_support::OpenBase base(test_support::BaseWithAddresses({"x@y", ""}));
    test_support::ScriptedServer server(QStringList{"S:220 ready", "C:HELO me", "S:250 hi"} +
                                        Message("t@t") + Message("t@t") +
                                        QStringList{"C:QUIT", "S:221 bye"});
    Answers answers;
    TfrmSend form(base.dm(), s, answers.prompts, {});
    Find<QLineEdit>(form, "SMTPServer")->setText("127.0.0.1");
    Find<QLineEdit>(form, "SMTPPort")->setText(QString::number(server.Port()));
    Find<QLineEdit>(form, "MailFrom")->setText("me@x");
    form.SetRecipients("0\r\n1\r\n");
    QTest::mouseClick(Find<QPushButton>(form, "btnSend"), Qt::LeftButton);
    QVERIFY2(server.Mismatch().isEmpty(), qPrintable(server.Mismatch()));
    QCOMPARE(LogLines(form).mid(1, 4), (QStringList{"Firm 0:t@t", "OK", "Firm 1:t@t", "OK"}));
  }

  void CancelAsksStopsAndOffersTheUnsent() {
    test_support::TempDir dir;
    QSettings s(QString::fromStdString(dir / "zorel.ini"), QSettings::IniFormat);
    test_support::OpenBase base(test_support::BaseWithAddresses({"x@y", "", "q@r", "z@w"}));
    test_support::ScriptedServer server({"S:220 ready", "C:HELO me", "S:250 hi", "C:RSET",
                                         "S:250 ok", "C:MAIL FROM:<me@x>", "S:<call>",
                                         "S:<silent>"});
    Answers answers;
    RecordList opened;
    QString caption;
    TfrmSend form(base.dm(), s, answers.prompts, [&](RecordList r, const QString& c) {
      opened = std::move(r);
      caption = c;
    });
    server.OnCall = [&] {
      QTest::mouseClick(Find<QPushButton>(form, "btnCancel"), Qt::LeftButton);
    };
    Find<QLineEdit>(form, "SMTPServer")->setText("127.0.0.1");
    Find<QLineEdit>(form, "SMTPPort")->setText(QString::number(server.Port()));
    Find<QLineEdit>(form, "MailTimeOut")->setText("0");
    Find<QLineEdit>(form, "MailFrom")->setText("me@x");
    form.SetRecipients("0\r\n1\r\n2\r\n3\r\n");
    QTest::mouseClick(Find<QPushButton>(form, "btnSend"), Qt::LeftButton);
    QCOMPARE(LogLines(form),
             (QStringList{"Установление соединения с сервером: 127.0.0.1", "Firm 0:x@y",
                          "Операция прервана пользователем", "Socket readln aborted",
                          "Firm 1: нет адреса - пропускается", "Firm 2:q@r", ""}));
    QCOMPARE(answers.questions.first(), QString("Прервать рассылку почты ?"));
    QCOMPARE(answers.informs, QStringList{"Рассылка закончена"});
    QCOMPARE(opened, (RecordList{0, 2, 3}));
    QVERIFY(caption.startsWith("Не отправлено ("));
  }

  void PortAndTimeOutAreChecked() {
    test_support::TempDir dir;
    QSettings s(QString::fromStdString(dir / "zorel.ini"), QSettings::IniFormat);
    test_support::OpenBase base(test_support::BaseWithAddresses({"x@y"}));
    Answers answers;
    TfrmSend form(base.dm(), s, answers.prompts, {});
    auto* timeOut = Find<QLineEdit>(form, "MailTimeOut");
    timeOut->clear();
    QTest::keyClicks(timeOut, "1a-2");
    QCOMPARE(timeOut->text(), QString("12"));
    Find<QLineEdit>(form, "SMTPPort")->setText("25x");
    QTest::mouseClick(Find<QPushButton>(form, "btnSend"), Qt::LeftButton);
    QCOMPARE(answers.boxes, QStringList{"Порт должен состоять только из цифр !!!"});
    QCOMPARE(Find<QPlainTextEdit>(form, "reLog")->toPlainText(), QString());
    Find<QLineEdit>(form, "SMTPPort")->setText("25");
    timeOut->clear();
    QTest::mouseClick(Find<QPushButton>(form, "btnSend"), Qt::LeftButton);
    QCOMPARE(answers.boxes.last(), QString("Таймаут должен состоять только из цифр !!!"));
    QVERIFY(Find<QPushButton>(form, "btnSend")->isEnabled());
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::MailDialogTest)
#include "mail_dialog_test.moc"
