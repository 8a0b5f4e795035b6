// Print fields: the text of each field for a record of the sample base.
#include <gtest/gtest.h>

#include "data/data_module.h"
#include "data/record_details.h"
#include "data/text1251.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::SampleBase;
using test_support::TempDir;
using test_support::W;

TEST(PrintFields, GiveTheDetailPanelsTextsOfARecord) {
  TempDir dir;
  WriteDatabase(dir / "db", SampleBase());
  Tdm dm(dir / "db");
  dm.SetRemark(0, W(" заметка\r\n"));
  // Every field of a record in UTF-8, each followed by "|".
  const auto fields = [&dm](std::int32_t record) {
    std::string text;
    for (int f = 0; f < kPrintFieldCount; ++f) text += ToUtf8(PrintFieldText(dm, record, f)) + "|";
    return text;
  };
  EXPECT_EQ(fields(0),
            "Минский ЗАВОД|оао|1995|220000|Беларусь|Минская обл.|1200|017    |ул. Ленина, 1|"
            "Иванов И.И.|222-33-44|222-33-45|Лучшие станки| заметка\r\n|info@zavod.by|www.zavod.by|"
            "пр-во - станок токарный; опт - болт м12.|Строка пользователя|");
  EXPECT_EQ(fields(1),
            "Брестский комбинат|ОАО Плюс|1990|      |Украина||0|       |||||||||"
            "торг - гайка.|Строка пользователя|");
  EXPECT_EQ(fields(2), "Станкостроитель|||      |||15|       ||||||||||Строка пользователя|");
  for (const auto& [record, field] : {std::pair{0, kPrintFieldCount}, {0, -1}, {3, 0}, {-1, 17}}) {
    EXPECT_EQ(PrintFieldText(dm, record, field), "") << record << ":" << field;
  }
}

}  // namespace
}  // namespace zorel
