// Fields of the recipient's record in the subject and text: known captions replaced, empty
// fields leaving nothing, anything else in braces kept as typed, line breaks kept out of the
// subject; and the preview of one record's message.
#include "mail/mail_fields.h"

#include <gtest/gtest.h>

#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {
namespace {

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
