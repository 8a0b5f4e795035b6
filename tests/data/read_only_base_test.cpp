// A base its user may read but not write: it opens, serves records, searches, lists and the
// remarks stored so far, builds its missing indexes in memory, and refuses remark changes and
// list saves with the reason. Run as an unprivileged user (root drops to "nobody").
#include <gtest/gtest.h>

#include <filesystem>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/matcher.h"
#include "dbwriter/db_writer.h"
#include "support/error_of.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::SampleBase;
using test_support::TempDir;
using test_support::W;
namespace fs = std::filesystem;

TEST(ReadOnlyBase, OpensForReadingAndRefusesChangesWithTheReason) {
  TempDir dir;
  BaseSource base = SampleBase();
  base.remarks = std::vector<std::pair<std::int32_t, std::string>>{{1, W("стоит позвонить")}};
  WriteDatabase(dir / "db", base);
  fs::create_directories(dir.path() / "lists");
  SaveListFile(dir / "lists/a.lst", {}, {0, 2});
  const std::string remarkBytes = ReadWholeFile(dir / "db/remark.dat").value_or("");
  const std::vector<ProductKey> keys{ProductKey{1, 1}};
  RecordList found;
  {
    TempDir writable;
    WriteDatabase(writable / "db", base);
    Tdm dm(writable / "db");
    dm.FillAllRecords(found);
    MatchProducts(dm, found, keys);
  }
  ASSERT_FALSE(found.empty());

  const auto failures = test_support::RunOnReadOnly(dir.path(), [&]() -> std::string {
    std::string failures;
    auto expect = [&](bool ok, const char* what) {
      if (!ok) failures += std::string(what) + "\n";
    };
    Tdm dm(dir / "db");
    expect(dm.RecordCount() == 3, "every record served");
    expect(dm.GetFirmName(2) == W("Станкостроитель"), "a record read");
    expect(dm.GetRemark(1) == W("стоит позвонить"), "a stored remark shown");
    expect(dm.Remarks().ReadOnly(), "the store says it is read-only");
    RecordList list;
    dm.FillAllRecords(list);
    MatchProducts(dm, list, keys);
    expect(list == found, "a search answered");
    expect(LoadListFile(dir / "lists/a.lst", 3).records == RecordList{0, 2}, "a list read");
    const std::string refusal = ErrorOf<DataError>([&] { dm.SetRemark(0, "x"); });
    expect(refusal.find("только для чтения") != std::string::npos, "a remark change refused");
    expect(refusal.find("remark.dat: ") != std::string::npos, "the refusal names the file");
    expect(ErrorOf<EChildError>([&] { SaveListFile(dir / "lists/a.lst", {}, {1}); }) != "no error",
           "a list save refused");
    return failures;
  });
  if (!failures) GTEST_SKIP() << "no unprivileged user to run as";
  EXPECT_EQ(*failures, "");
  EXPECT_FALSE(FileExists(dir / "db/factory.idx"));
  EXPECT_EQ(ReadWholeFile(dir / "db/remark.dat").value_or(""), remarkBytes);
}

}  // namespace
}  // namespace zorel
