// The message builder byte for byte: header order, boundary, parts, Base64 lines, addresses; and
// the fields of the recipient's record replaced in the subject and text.
#include "mail/mail_message.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "mail/mail_errors.h"
#include "mail/mail_fields.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

TEST(MailMessage, NormalizesAddressesAsWritten) {
  const std::pair<const char*, const char*> cases[] = {
      {"Name <a@b>", "a@b"}, {"<a@b", "a@b"}, {"mailto:a@b", "a@b"}, {"x:a@b:c", "a@b"},
      {" a@b ", " a@b "},    {"", ""},        {"a <b> <c>", "b"},    {"a:<b>", "b"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(NormalizeAddress(in), QByteArray(out)) << in;
}

TEST(MailMessage, ChecksAddressesAfterNormalising) {
  const struct {
    const char* field;
    CheckedAddress::Kind kind;
    const char* address;
  } cases[] = {
      {"Name <a@b>", CheckedAddress::Usable, "a@b"},
      {"", CheckedAddress::Empty, ""},
      {"Name <>", CheckedAddress::Empty, ""},
      {"ok@x.test> NOTIFY=SUCCESS ORCPT=rfc822;spy@x.test", CheckedAddress::Invalid, nullptr},
      {"evil@x.test\r\nRCPT TO:<other@x.test>", CheckedAddress::Invalid, nullptr},
      {"<a@b>\n", CheckedAddress::Invalid, nullptr},
      {"a b@c", CheckedAddress::Invalid, nullptr},
      {"a\tb@c", CheckedAddress::Invalid, nullptr},
      {"a\x7f@c", CheckedAddress::Invalid, nullptr},
      {"<a<b@c>", CheckedAddress::Invalid, nullptr},
      {"nobody", CheckedAddress::Invalid, nullptr},
  };
  for (const auto& c : cases) {
    const CheckedAddress checked = CheckAddress(c.field);
    EXPECT_EQ(checked.kind, c.kind) << c.field;
    if (c.address) {
      EXPECT_EQ(checked.address, QByteArray(c.address)) << c.field;
    }
  }
}

TEST(MailMessage, Base64InLinesOf60) {
  QByteArray out;
  const QByteArray in(46, '\xff');
  AppendBase64Lines(out, in.constData(), in.size());
  EXPECT_EQ(out, QByteArray(60, '/') + "\r\n" + "/w==\r\n");
  for (const int size : {0, 1, 2, 3, 44, 45, 90, 1000}) {
    QByteArray data;
    for (int i = 0; i < size; ++i) data += static_cast<char>(i * 37);
    QByteArray lines;
    AppendBase64Lines(lines, data.constData(), data.size());
    EXPECT_EQ(QByteArray::fromBase64(QByteArray(lines).replace("\r\n", "")), data) << size;
    EXPECT_EQ(lines.count("\r\n"), (size + 44) / 45) << size;
  }
}

TEST(MailMessage, BuildsHeaderAndParts) {
  test_support::TempDir dir;
  const QString path = QString::fromStdString(dir / "a.bin");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x00\x01\x02", 3);
  }
  TMailMessage m;
  m.FromAddress = "me@x";
  m.ToAddress = {"a@b", "c@d"};
  m.Subject = "S";
  m.LocalProgram = "M";
  m.Body = {".x"};
  m.Attachments = {path};
  const BuiltMessage built = BuildMessage(m, MailSubType::mtHtml, "koir-8", "B");
  EXPECT_EQ(built.header, (QList<QByteArray>{"From: <me@x>", "To: a@b,c@d", "Subject: S",
                                             "X-Mailer: M", "Mime-Version: 1.0",
                                             "Content-Type: multipart/mixed; boundary=\"B\""}));
  EXPECT_EQ(built.body,
            "--B\r\nContent-Type: text/plain; charset=koir-8\r\n\r\n..x\r\n"
            "--B\r\nContent-Type: application/octet-stream; name=\"a.bin\"\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "Content-Disposition: attachment; filename=\"a.bin\"\r\n\r\nAAEC\r\n--B--\r\n");
  m.Attachments.clear();
  EXPECT_EQ(BuildMessage(m, MailSubType::mtHtml, "us-ascii", "B").header.last(),
            "Content-Type: text/html; charset=us-ascii");
  m.Attachments = {path + "-missing"};
  EXPECT_THROW(BuildMessage(m, MailSubType::mtPlain, "us-ascii", "B"), EMailError);
  const QByteArray boundary = NewBoundary();
  EXPECT_TRUE(QRegularExpression("^={20}54535[a-y]{6}====$").match(QString(boundary)).hasMatch());
}

TEST(MailFields, ReplacedByTheRecordsTexts) {
  test_support::OpenBase base(test_support::SampleBase());
  const struct {
    const char* typed;
    std::int32_t record;
    const char* sent;
  } cases[] = {
      {"Уважаемый {Руководитель}!", 0, "Уважаемый Иванов И.И.!"},
      {"Уважаемый {Руководитель}!", 1, "Уважаемый !"},
      {"{Наименование предприятия}, {Адрес}", 0, "Минский ЗАВОД, ул. Ленина, 1"},
      {"{{Адрес}}", 0, "{ул. Ленина, 1}"},
      {"{Нет такого} {руководитель} {Адрес", 0, "{Нет такого} {руководитель} {Адрес"},
      {"{}", 0, "{}"},
  };
  for (const auto& c : cases) {
    const QString typed = QString::fromUtf8(c.typed);
    const MailText text = MailTexts(typed, {typed, typed}).For(base.dm(), c.record);
    EXPECT_EQ(text.subject, QString::fromUtf8(c.sent)) << c.typed;
    EXPECT_EQ(text.bodyLines, QStringList(2, QString::fromUtf8(c.sent))) << c.typed;
  }
  EXPECT_FALSE(MailTexts(QStringLiteral("{Нет такого}"), {}).HasFields());
}

TEST(MailFields, LineBreaksOfAFieldStayOutOfTheSubject) {
  BaseSource source = test_support::SampleBase();
  source.enterprises[0].address = test_support::W("ул. Ленина, 1\r\nкорпус 2");
  test_support::OpenBase base(source);
  const MailTexts texts(QStringLiteral("Адрес: {Адрес}"), {QStringLiteral("Адрес: {Адрес}.")});
  const MailText text = texts.For(base.dm(), 0);
  EXPECT_EQ(text.subject, QStringLiteral("Адрес: ул. Ленина, 1 корпус 2"));
  EXPECT_EQ(text.bodyLines, (QStringList{"Адрес: ул. Ленина, 1", "корпус 2."}));
  EXPECT_EQ(MailPreview(base.dm(), texts, 0),
            QStringLiteral("Кому: info@zavod.by\nТема: Адрес: ул. Ленина, 1 корпус 2\n\n"
                           "Адрес: ул. Ленина, 1\nкорпус 2.\n"));
}

}  // namespace
}  // namespace zorel
