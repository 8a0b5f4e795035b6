// Print fields: the text of each field for a record of the sample base.
#include <gtest/gtest.h>

#include "data/data_module.h"
#include "data/record_details.h"
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
  const struct {
    std::int32_t record;
    int field;
    std::string text;
  } cases[] = {
      {0, 0, W("Минский ЗАВОД")},
      {0, 1, W("оао")},
      {0, 2, "1995"},
      {0, 3, "220000"},
      {0, 4, W("Беларусь")},
      {0, 5, W("Минская обл.")},
      {0, 6, "1200"},
      {0, 7, "017    "},
      {0, 11, W("222-33-45")},
      {0, 13, W(" заметка\r\n")},
      {0, 15, "www.zavod.by"},
      {0, 16, W("пр-во - станок токарный; опт - болт м12.")},
      {0, 17, W("Строка пользователя")},
      {1, 5, ""},
      {1, 6, "0"},
      {1, 16, W("торг - гайка.")},
      {2, 2, ""},
      {2, 16, ""},
      {0, 18, ""},
      {0, -1, ""},
      {3, 0, ""},
      {-1, 17, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrintFieldText(dm, c.record, c.field), c.text) << c.record << ":" << c.field;
  }
}

}  // namespace
}  // namespace zorel
